#pragma once
// GUI test fixtures: a temporary "folder holding the application", and the program started
// as at launch (application object, menu bar, main window) without running the event loop.
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace testsupport {

// A temporary folder that stands for the folder holding the application while it lives.
class AppFolder {
 public:
  AppFolder();
  ~AppFolder();
  std::string Path() const;
  // Path of a file or folder inside it ("Data/smtp").
  std::string PathOf(const std::string& relative) const;
  // Writes bytes to a file inside it, making its folders.
  void Write(const std::string& relative, const std::string& bytes) const;
  void MakeFolder(const std::string& relative) const;
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  QTemporaryDir dir_;
};

// Lets queued work (deferred deletions, posted events) run.
void ProcessEvents();

// Starts the program as at launch, in a fresh application folder; ends it after each test.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Prepares files in folder() first, then starts.
  void Start();

  AppFolder& folder() { return *folder_; }

 private:
  std::unique_ptr<AppFolder> folder_;
  bool started_ = false;
};

}  // namespace testsupport

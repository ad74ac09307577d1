#include "tests/support/AppFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "platform/core/FolderItem.h"
#include "platform/ui/Application.h"
#include "shell/Startup.h"

namespace testsupport {

AppFolder::AppFolder() { fw::testing::SetApplicationFolder(Path()); }

AppFolder::~AppFolder() { fw::testing::SetApplicationFolder(""); }

std::string AppFolder::Path() const { return dir_.path().toStdString(); }

std::string AppFolder::PathOf(const std::string& relative) const { return Path() + "/" + relative; }

// Paths go to the file system as bytes, so that names in Shift_JIS can be made.
void AppFolder::Write(const std::string& relative, const std::string& bytes) const {
  const std::filesystem::path path = PathOf(relative);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream f(path, std::ios::binary);
  if (!f.write(bytes.data(), std::streamsize(bytes.size()))) throw std::runtime_error("cannot write " + relative);
}

void AppFolder::MakeFolder(const std::string& relative) const { std::filesystem::create_directories(PathOf(relative)); }

std::string AppFolder::Read(const std::string& relative) const {
  QFile f(QString::fromStdString(PathOf(relative)));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

bool AppFolder::Exists(const std::string& relative) const { return QFileInfo::exists(QString::fromStdString(PathOf(relative))); }

void ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// Closing the main window quits the application, which leaves Qt marked as quitting: every
// later event loop (modal dialogs included) would return at once. One turn of the main loop
// clears the mark.
static void ClearQuit() {
  QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

void ProgramTest::SetUp() {
  ClearQuit();
  folder_ = std::make_unique<AppFolder>();
  fw::InitializeFramework();
}

void ProgramTest::Start() {
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  _MakeDefaultView();
  started_ = true;
  ProcessEvents();
}

void ProgramTest::TearDown() {
  ProcessEvents();
  if (started_) _Finalize();
  ProcessEvents();
  ClearQuit();
  folder_.reset();
}

}  // namespace testsupport

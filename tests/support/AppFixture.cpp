#include "tests/support/AppFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "platform/core/FolderItem.h"
#include "platform/ui/Application.h"
#include "shell/Startup.h"

namespace testsupport {

AppFolder::AppFolder() { fw::testing::SetApplicationFolder(Path()); }

AppFolder::~AppFolder() { fw::testing::SetApplicationFolder(""); }

std::string AppFolder::Path() const { return dir_.path().toStdString(); }

std::string AppFolder::PathOf(const std::string& relative) const { return Path() + "/" + relative; }

void AppFolder::Write(const std::string& relative, const std::string& bytes) const {
  QString path = QString::fromStdString(PathOf(relative));
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write " + relative);
  f.write(bytes.data(), qint64(bytes.size()));
}

void AppFolder::MakeFolder(const std::string& relative) const { QDir().mkpath(QString::fromStdString(PathOf(relative))); }

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

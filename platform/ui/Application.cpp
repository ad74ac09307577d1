#include "platform/ui/Application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QInputMethod>
#include <QTimer>

#include "platform/core/StopSignals.h"
#include "platform/ui/Window.h"

namespace fw {
namespace {
Application* g_application = nullptr;
}

Application::Application() = default;

Application::~Application() {
  if (g_application == this) g_application = nullptr;
}

Application* Application::Instance() { return g_application; }

void Application::Register() { g_application = this; }

void Application::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
  menuHandlers_[itemName] = std::move(handler);
}

bool Application::HandleMenuItem(const std::string& itemName) {
  auto it = menuHandlers_.find(itemName);
  return it != menuHandlers_.end() && it->second && it->second();
}

int Application::Run() {
  // A logout, a shutdown or Ctrl+C in the terminal ends the program as its Quit item does, so
  // the windows' close handlers run (the main window saves the settings there).
  StopSignals stop([this] { Quit(0); });
  return QCoreApplication::exec();
}

void Application::Quit(int code) {
  if (!quitting_) {
    quitting_ = true;
    for (Window* w : OpenWindows()) {
      if (!w->CloseRequested(true)) {
        quitting_ = false;
        return;
      }
    }
    quitting_ = false;
  }
  QCoreApplication::exit(code);
}

// Qt's application name, which the window system also falls back on, is the executable's file
// name until it is set.
void SetApplicationName(const std::string& name) { QCoreApplication::setApplicationName(QString::fromStdString(name)); }

std::string ShownTitle(const std::string& title) {
  return title.empty() ? QCoreApplication::applicationName().toStdString() : title;
}

void InitializeFramework() { QApplication::setFont(DeclaredFont(FontDecl{})); }

void CloseAllWindows() {
  for (Window* w : OpenWindows()) delete w;
}

void CommitComposition() {
  // fcitx5's Qt module leaves commit() to Qt's empty default and commits on reset(); ibus commits
  // on commit() and drops the text on reset(), which then finds none.
  QGuiApplication::inputMethod()->commit();
  QGuiApplication::inputMethod()->reset();
}

void CallLater(std::function<void()> f) { QTimer::singleShot(0, QCoreApplication::instance(), std::move(f)); }

}  // namespace fw

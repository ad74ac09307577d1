#include "shell/Startup.h"

#include <exception>
#include <memory>

#include "mainwindow/Window1.h"
#include "platform/core/Log.h"
#include "platform/ui/Application.h"
#include "shell/App.h"
#include "mainwindow/MenuBar1.h"
#include "mainwindow/Pictures.h"

namespace {
std::unique_ptr<App> g_app;

int _UnhandledException(const char* what) {
  qCCritical(lcPostario, "Unhandled exception: %s", what);
  return 1;
}
}  // namespace

void _InitFileTypes() {}

void _NewAppInstance() {
  fw::SetApplicationName("ポスタリオ");
  g_app = std::make_unique<App>();
  g_app->SetMenuBar(MenuBar1::Get());
  g_app->Register();
}

void _ApplicationAddMenuHandlers() {
  App* app = g_app.get();
  app->AddMenuHandler("AppleAbout", [app] { return app->_AppleAbout_Action(); });
}

void _MakeDefaultView() { Window1::Get(); }

int _Main() {
  try {
    fw::InitializeFramework();
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
    _MakeDefaultView();
    return g_app->Run();
  } catch (const std::exception& e) {
    return _UnhandledException(e.what());
  } catch (...) {
    return _UnhandledException("unknown");
  }
}

void _Finalize() {
  fw::CloseAllWindows();
  MenuBar1::Release();
  ReleasePictures();
  g_app.reset();
}

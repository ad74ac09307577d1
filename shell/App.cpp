#include "shell/App.h"

#include <stdexcept>

#include "dialogs/AboutPanel.h"

App* App::Get() {
  auto* app = dynamic_cast<App*>(fw::Application::Instance());
  if (!app) throw std::logic_error("no application object");
  return app;
}

void App::Event_EnableMenuItems() {
  fw::AppleMenuItem* about = AppleAbout();
  if (!about) throw std::logic_error("no About item");
  about->Enable();
}

bool App::_AppleAbout_Action() {
  AboutPanel::Get()->Show();
  return true;
}

fw::AppleMenuItem* AppleAbout() {
  fw::MenuBar* bar = App::Get()->GetMenuBar();
  if (!bar) throw std::logic_error("no menu bar");
  return dynamic_cast<fw::AppleMenuItem*>(bar->Child("AppleAbout"));
}

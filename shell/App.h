#pragma once
// The application object: keeps the About item enabled and shows the About panel.
#include "platform/ui/Application.h"
#include "platform/ui/MenuBar.h"

class App : public fw::Application {
 public:
  // The registered application object.
  static App* Get();
  bool _AppleAbout_Action();

 protected:
  void Event_EnableMenuItems() override;
};

// The About item of the application's menu bar.
fw::AppleMenuItem* AppleAbout();

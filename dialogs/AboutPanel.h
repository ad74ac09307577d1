#pragma once
// The About panel: the program's name, version and credits; a click, Escape or Return hides it.
#include "platform/ui/BasicControls.h"
#include "platform/ui/Window.h"

class AboutPanel : public fw::Window {
 public:
  // The panel, made on first use.
  static AboutPanel* Get();

  fw::StaticText* StaticText1 = nullptr;
  fw::StaticText* StaticText2 = nullptr;
  fw::StaticText* StaticText3 = nullptr;

 protected:
  void Layout() override;
  void CreateControls() override;
  bool Event_MouseDown(int x, int y) override;
  bool Event_KeyDown(const std::string& key) override;

 private:
  void _CreateControls0();
};

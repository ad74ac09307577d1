#include "dialogs/AboutPanel.h"

AboutPanel* AboutPanel::Get() { return fw::Implicit<AboutPanel>(); }

void AboutPanel::Layout() {
  // Every property not named keeps the framework's default.
  ApplyDecl(fw::WindowDecl{.Width = 420, .Height = 260, .Frame = 1, .Title = "ポスタリオについて", .Resizeable = false, .MaximizeButton = false});
}

void AboutPanel::CreateControls() { _CreateControls0(); }

void AboutPanel::_CreateControls0() {
  using namespace fw;
  StaticText1 = AddControl<StaticText>(ControlDecl{"StaticText1", 120, 25, 180, 50, 0},
                                       StaticTextDecl{"ポスタリオ", 1, HexColor(0x0000FF), false, FontDecl{"System", 32, false, true}});
  StaticText2 = AddControl<StaticText>(
      ControlDecl{"StaticText2", 50, 110, 340, 130, 1},
      StaticTextDecl{"宛先ごとに一通ずつ、同じお知らせをお届けします。\n\n"
                     "Qt 6、Boost.Context、GoogleTest ほか\nオープンソースの成果を利用しています。",
                     1, HexColor(0x330000), true, FontDecl{"System", 10}});
  StaticText3 = AddControl<StaticText>(ControlDecl{"StaticText3", 160, 80, 100, 14, 2},
                                       StaticTextDecl{"Ver. 1.0a3", 1, HexColor(0x003366), true, FontDecl{"System", 11}});
}

bool AboutPanel::Event_MouseDown(int, int) {
  Hide();
  return false;
}

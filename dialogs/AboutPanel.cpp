#include "dialogs/AboutPanel.h"

AboutPanel* AboutPanel::Get() { return fw::Implicit<AboutPanel>(); }

void AboutPanel::Layout() {
  // Every property not named keeps the framework's default.
  ApplyDecl(fw::WindowDecl{.Width = 420,
                           .Height = 260,
                           .Frame = fw::WindowFrame::MovableModal,
                           .Title = "ポスタリオについて",
                           .Resizeable = false,
                           .MaximizeButton = false});
}

void AboutPanel::CreateControls() { _CreateControls0(); }

void AboutPanel::_CreateControls0() {
  using namespace fw;
  StaticText1 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText1", .Left = 120, .Top = 25, .Width = 180, .Height = 50, .TabIndex = 0},
      StaticTextDecl{.Text = "ポスタリオ",
                     .TextAlign = TextAlignment::Center,
                     .TextColor = HexColor(0x0000FF),
                     .Font = FontDecl{.TextSize = 32, .Italic = true}});
  StaticText2 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText2", .Left = 50, .Top = 110, .Width = 340, .Height = 130, .TabIndex = 1},
      StaticTextDecl{.Text = "宛先ごとに一通ずつ、同じお知らせをお届けします。\n\n"
                     "Qt 6、Boost.Context、GoogleTest ほか\nオープンソースの成果を利用しています。",
                     .TextAlign = TextAlignment::Center,
                     .TextColor = HexColor(0x330000),
                     .Multiline = true,
                     .Font = FontDecl{.TextSize = 10}});
  StaticText3 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText3", .Left = 160, .Top = 80, .Width = 100, .Height = 14, .TabIndex = 2},
      StaticTextDecl{.Text = "Ver. 1.0a3",
                     .TextAlign = TextAlignment::Center,
                     .TextColor = HexColor(0x003366),
                     .Multiline = true,
                     .Font = FontDecl{.TextSize = 11}});
}

bool AboutPanel::Event_MouseDown(int, int) {
  Hide();
  return false;
}

bool AboutPanel::Event_KeyDown(const std::string& key) {
  if (key != "\x1B" && key != "\r") return false;
  Hide();
  return true;
}

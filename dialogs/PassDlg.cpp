#include "dialogs/PassDlg.h"

PassDlg* PassDlg::Get() { return fw::Implicit<PassDlg>(); }

void PassDlg::Layout() {
  // Every property not named keeps the framework's default.
  ApplyDecl(fw::WindowDecl{.Width = 260,
                           .Height = 120,
                           .Frame = fw::WindowFrame::Sheet,
                           .Title = "Untitled",
                           .Resizeable = false,
                           .MaximizeButton = false});
}

void PassDlg::CreateControls() { _CreateControls0(); }

void PassDlg::_CreateControls0() {
  using namespace fw;
  EditField1 = AddControl<EditField>(
      ControlDecl{.Name = "EditField1", .Left = 30, .Top = 40, .Width = 200, .Height = 22, .TabIndex = 0,
                  .LabelledBy = "StaticText1"},
      EditFieldDecl{.Password = true, .BackColor = HexColor(0xFFFFFF)});
  PushButton1 = AddControl<PushButton>(
      ControlDecl{.Name = "PushButton1", .Left = 72, .Top = 80, .Width = 82, .Height = 20, .TabIndex = 1},
      PushButtonDecl{.Caption = "キャンセル", .Cancel = true});
  PushButton1->Action.Bind(this, &PassDlg::PushButton1_Action);
  PushButton2 = AddControl<PushButton>(
      ControlDecl{.Name = "PushButton2", .Left = 166, .Top = 80, .Width = 70, .Height = 20, .TabIndex = 2},
      PushButtonDecl{.Caption = "入力", .Default = true});
  PushButton2->Action.Bind(this, &PassDlg::PushButton2_Action);
  StaticText1 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText1", .Left = 30, .Top = 20, .Width = 200, .Height = 20, .TabIndex = 3},
      StaticTextDecl{.Text = "パスワードを入力して下さい。", .TextAlign = TextAlignment::Center});
}

void PassDlg::PushButton1_Action() {
  pReturn = false;
  Hide();
}

void PassDlg::PushButton2_Action() {
  pReturn = true;
  Hide();
}

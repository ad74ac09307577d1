#include "dialogs/PassDlg.h"

PassDlg* PassDlg::Get() { return fw::Implicit<PassDlg>(); }

void PassDlg::Layout() {
  // Every property not named keeps the framework's default.
  ApplyDecl(fw::WindowDecl{.Width = 260, .Height = 120, .Frame = 8, .Title = "Untitled", .Resizeable = false, .MaximizeButton = false});
}

void PassDlg::CreateControls() { _CreateControls0(); }

void PassDlg::_CreateControls0() {
  using namespace fw;
  EditFieldDecl field;
  field.Password = true;
  field.BackColor = HexColor(0xFFFFFF);
  EditField1 = AddControl<EditField>(ControlDecl{"EditField1", 30, 40, 200, 22, 0}, field);
  PushButton1 = AddControl<PushButton>(ControlDecl{"PushButton1", 72, 80, 82, 20, 1},
                                       PushButtonDecl{"キャンセル", false, true});
  PushButton1->Action.Bind(this, &PassDlg::PushButton1_Action);
  PushButton2 = AddControl<PushButton>(ControlDecl{"PushButton2", 166, 80, 70, 20, 2},
                                       PushButtonDecl{"入力", true, false});
  PushButton2->Action.Bind(this, &PassDlg::PushButton2_Action);
  StaticText1 = AddControl<StaticText>(ControlDecl{"StaticText1", 30, 20, 200, 20, 3},
                                       StaticTextDecl{"パスワードを入力して下さい。", 1});
}

void PassDlg::PushButton1_Action() {
  pReturn = false;
  Hide();
}

void PassDlg::PushButton2_Action() {
  pReturn = true;
  Hide();
}

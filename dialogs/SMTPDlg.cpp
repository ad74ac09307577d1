#include "dialogs/SMTPDlg.h"

SMTPDlg* SMTPDlg::Get() { return fw::Implicit<SMTPDlg>(); }

void SMTPDlg::Layout() {
  // Every property not named keeps the framework's default.
  ApplyDecl(fw::WindowDecl{.Width = 500, .Height = 300, .Frame = 8, .Title = "Untitled", .Resizeable = false, .MaximizeButton = false});
}

void SMTPDlg::CreateControls() { _CreateControls0(); }

void SMTPDlg::_CreateControls0() {
  using namespace fw;
  // The fields come first in the focus order, so the dialog opens with the server field ready for
  // typing, and Space does not cancel it.
  PushButton1 = AddControl<PushButton>(ControlDecl{"PushButton1", 312, 260, 82, 20, 6},
                                       PushButtonDecl{"キャンセル", false, true});
  PushButton1->Action.Bind(this, &SMTPDlg::PushButton1_Action);
  PushButton2 = AddControl<PushButton>(ControlDecl{"PushButton2", 406, 260, 70, 20, 7},
                                       PushButtonDecl{"保存", true, false});
  PushButton2->Action.Bind(this, &SMTPDlg::PushButton2_Action);

  // Each setting is stored behind a one-byte length, so a field holds at most 255 bytes.
  EditFieldDecl field;
  field.BackColor = HexColor(0xFFFFFF);
  field.TextColor = HexColor(0x000000);
  field.LimitText = 255;
  EditFieldDecl password = field;
  password.Password = true;
  EditField1 = AddControl<EditField>(ControlDecl{"EditField1", 150, 30, 230, 22, 0}, field);
  EditField2 = AddControl<EditField>(ControlDecl{"EditField2", 150, 65, 40, 22, 1}, field);
  EditField3 = AddControl<EditField>(ControlDecl{"EditField3", 150, 100, 100, 22, 2}, field);
  EditField4 = AddControl<EditField>(ControlDecl{"EditField4", 150, 135, 100, 22, 3}, password);
  EditField5 = AddControl<EditField>(ControlDecl{"EditField5", 150, 170, 230, 22, 4}, field);
  EditField6 = AddControl<EditField>(ControlDecl{"EditField6", 150, 205, 230, 22, 5}, field);

  auto label = [](const char* text) { return StaticTextDecl{text, 0, HexColor(0x000000), false}; };
  StaticText1 = AddControl<StaticText>(ControlDecl{"StaticText1", 40, 32, 100, 20, 8}, label("SMTPサーバ名"));
  StaticText2 = AddControl<StaticText>(ControlDecl{"StaticText2", 40, 67, 100, 20, 9}, label("ポート番号"));
  StaticText3 = AddControl<StaticText>(ControlDecl{"StaticText3", 40, 102, 100, 20, 10}, label("アカウント"));
  StaticText4 = AddControl<StaticText>(ControlDecl{"StaticText4", 40, 137, 100, 20, 11}, label("パスワード"));
  StaticText5 = AddControl<StaticText>(ControlDecl{"StaticText5", 40, 172, 100, 20, 12}, label("送信者アドレス"));
  StaticText6 = AddControl<StaticText>(ControlDecl{"StaticText6", 40, 207, 100, 20, 13}, label("メーラ名"));
}

void SMTPDlg::PushButton1_Action() {
  pReturn = false;
  Hide();
}

void SMTPDlg::PushButton2_Action() {
  pReturn = true;
  Hide();
}

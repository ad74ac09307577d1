#include "dialogs/SMTPDlg.h"

SMTPDlg* SMTPDlg::Get() { return fw::Implicit<SMTPDlg>(); }

void SMTPDlg::Layout() {
  // Every property not named keeps the framework's default.
  ApplyDecl(fw::WindowDecl{.Width = 500,
                           .Height = 300,
                           .Frame = fw::WindowFrame::Sheet,
                           .Title = "Untitled",
                           .Resizeable = false,
                           .MaximizeButton = false});
}

void SMTPDlg::CreateControls() { _CreateControls0(); }

void SMTPDlg::_CreateControls0() {
  using namespace fw;
  // The fields come first in the focus order, so the dialog opens with the server field ready for
  // typing, and Space does not cancel it.
  PushButton1 = AddControl<PushButton>(
      ControlDecl{.Name = "PushButton1", .Left = 312, .Top = 260, .Width = 82, .Height = 20, .TabIndex = 6},
      PushButtonDecl{.Caption = "キャンセル", .Cancel = true});
  PushButton1->Action.Bind(this, &SMTPDlg::PushButton1_Action);
  PushButton2 = AddControl<PushButton>(
      ControlDecl{.Name = "PushButton2", .Left = 406, .Top = 260, .Width = 70, .Height = 20, .TabIndex = 7},
      PushButtonDecl{.Caption = "保存", .Default = true});
  PushButton2->Action.Bind(this, &SMTPDlg::PushButton2_Action);

  // Each setting is stored behind a one-byte length, so a field holds at most 255 bytes.
  const EditFieldDecl field{.LimitText = 255, .BackColor = HexColor(0xFFFFFF), .TextColor = HexColor(0x000000)};
  EditFieldDecl password = field;
  password.Password = true;
  EditField1 = AddControl<EditField>(
      ControlDecl{.Name = "EditField1", .Left = 150, .Top = 30, .Width = 230, .Height = 22, .TabIndex = 0,
                  .LabelledBy = "StaticText1"}, field);
  EditField2 = AddControl<EditField>(
      ControlDecl{.Name = "EditField2", .Left = 150, .Top = 65, .Width = 40, .Height = 22, .TabIndex = 1,
                  .LabelledBy = "StaticText2"}, field);
  EditField3 = AddControl<EditField>(
      ControlDecl{.Name = "EditField3", .Left = 150, .Top = 100, .Width = 100, .Height = 22, .TabIndex = 2,
                  .LabelledBy = "StaticText3"}, field);
  EditField4 = AddControl<EditField>(
      ControlDecl{.Name = "EditField4", .Left = 150, .Top = 135, .Width = 100, .Height = 22, .TabIndex = 3,
                  .LabelledBy = "StaticText4"}, password);
  EditField5 = AddControl<EditField>(
      ControlDecl{.Name = "EditField5", .Left = 150, .Top = 170, .Width = 230, .Height = 22, .TabIndex = 4,
                  .LabelledBy = "StaticText5"}, field);
  EditField6 = AddControl<EditField>(
      ControlDecl{.Name = "EditField6", .Left = 150, .Top = 205, .Width = 230, .Height = 22, .TabIndex = 5,
                  .LabelledBy = "StaticText6"}, field);

  auto label = [](const char* text) {
    return StaticTextDecl{.Text = text, .TextAlign = TextAlignment::Left, .TextColor = HexColor(0x000000)};
  };
  StaticText1 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText1", .Left = 40, .Top = 32, .Width = 100, .Height = 20, .TabIndex = 8},
      label("SMTPサーバ名"));
  StaticText2 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText2", .Left = 40, .Top = 67, .Width = 100, .Height = 20, .TabIndex = 9},
      label("ポート番号"));
  StaticText3 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText3", .Left = 40, .Top = 102, .Width = 100, .Height = 20, .TabIndex = 10},
      label("アカウント"));
  StaticText4 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText4", .Left = 40, .Top = 137, .Width = 100, .Height = 20, .TabIndex = 11},
      label("パスワード"));
  StaticText5 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText5", .Left = 40, .Top = 172, .Width = 100, .Height = 20, .TabIndex = 12},
      label("送信者アドレス"));
  StaticText6 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText6", .Left = 40, .Top = 207, .Width = 100, .Height = 20, .TabIndex = 13},
      label("メーラ名"));
}

void SMTPDlg::PushButton1_Action() {
  pReturn = false;
  Hide();
}

void SMTPDlg::PushButton2_Action() {
  pReturn = true;
  Hide();
}

#pragma once
// The send-settings dialog: six fields for server, port, account, password, sender address and
// mailer name. It records which button dismissed it and hides itself; its caller reads it.
#include "platform/ui/BasicControls.h"
#include "platform/ui/EditField.h"
#include "platform/ui/Window.h"

class SMTPDlg : public fw::Window {
 public:
  // The dialog, made on first use.
  static SMTPDlg* Get();

  // True when 保存 dismissed the dialog, False for キャンセル or a fresh dialog.
  bool pReturn = false;

  fw::PushButton* PushButton1 = nullptr;
  fw::PushButton* PushButton2 = nullptr;
  fw::EditField* EditField1 = nullptr;
  fw::EditField* EditField2 = nullptr;
  fw::EditField* EditField3 = nullptr;
  fw::EditField* EditField4 = nullptr;
  fw::EditField* EditField5 = nullptr;
  fw::EditField* EditField6 = nullptr;
  fw::StaticText* StaticText1 = nullptr;
  fw::StaticText* StaticText2 = nullptr;
  fw::StaticText* StaticText3 = nullptr;
  fw::StaticText* StaticText4 = nullptr;
  fw::StaticText* StaticText5 = nullptr;
  fw::StaticText* StaticText6 = nullptr;

  void PushButton1_Action();
  void PushButton2_Action();

 protected:
  void Layout() override;
  void CreateControls() override;

 private:
  void _CreateControls0();
};

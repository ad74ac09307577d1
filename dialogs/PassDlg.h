#pragma once
// The password prompt shown at send time when no password is stored. Its caller closes it after
// every use; a prompt closed by its close box counts as キャンセル.
#include "platform/ui/BasicControls.h"
#include "platform/ui/EditField.h"
#include "platform/ui/Window.h"

class PassDlg : public fw::Window {
 public:
  // The prompt, made on first use.
  static PassDlg* Get();

  // True when 入力 hid the prompt, False after キャンセル.
  bool pReturn = false;

  fw::EditField* EditField1 = nullptr;
  fw::PushButton* PushButton1 = nullptr;
  fw::PushButton* PushButton2 = nullptr;
  fw::StaticText* StaticText1 = nullptr;

  void PushButton1_Action();
  void PushButton2_Action();

 protected:
  void Layout() override;
  void CreateControls() override;

 private:
  void _CreateControls0();
};

#include "alerts/Globals.h"

#include "platform/core/Strings.h"
#include "platform/ui/MessageDialog.h"

CautionResult gCautionDlg(int count, const std::string& alternateCaption, const std::string& cancelCaption,
                          const std::string& actionCaption, const std::string& message,
                          const std::string& explanation, fw::Window* parent) {
  fw::MessageDialog alert;
  alert.Icon = fw::MessageIcon::Caution;
  alert.ActionButton.Caption = actionCaption;
  if (count > 1) {
    alert.CancelButton.Visible = true;
    alert.CancelButton.Caption = cancelCaption;
  }
  if (count > 2) {
    alert.AlternateActionButton.Visible = true;
    alert.AlternateActionButton.Caption = alternateCaption;
  }
  alert.Message = message;
  alert.Explanation = explanation;
  fw::MessageDialogButton* pressed = alert.ShowModalWithin(parent);
  if (pressed == &alert.ActionButton) return CautionResult::Action;
  if (pressed == &alert.AlternateActionButton) return CautionResult::Alternate;
  return CautionResult::Cancel;
}

void gCautionDlg1(const std::string& message, const std::string& explanation, fw::Window* parent) {
  gCautionDlg(1, "", "", "OK", message, explanation, parent);
}

std::string gAlertText(const std::string& text) {
  if (fw::Len(text) <= kAlertTextChars) return text;
  return fw::Left(text, kAlertTextChars) + "…";
}

#pragma once
// What the sending thread uses of the main window: the recipient list, the template fields,
// the log, the progress bars, the SMTP client and the send handshake.
#include <memory>
#include <string>

#include "platform/ui/BasicControls.h"
#include "platform/ui/EditField.h"
#include "platform/ui/Listbox.h"
#include "platform/ui/Window.h"
#include "smtp/SMTPSocket.h"

class SendingWindow : public fw::Window {
 public:
  bool pSent = false;
  bool pError = false;

  std::unique_ptr<SMTPSocket> Socket1;
  fw::Listbox* ListBox2 = nullptr;
  fw::EditField* EditField1 = nullptr;
  fw::ProgressBar* ProgressBar1 = nullptr;
  fw::ProgressBar* ProgressBar2 = nullptr;
  fw::EditField* EditField2 = nullptr;
  fw::EditField* EditField3 = nullptr;
  fw::EditField* EditField4 = nullptr;

  // A recipient the program will not send to, the row's address: reported as a refusal, flags
  // included.
  virtual void RefuseRecipient(int row, const std::string& address) = 0;
  // Counts the ticked rows again into the count label and the overall maximum; runs whole.
  virtual void RecountTicks() = 0;
  // While a send runs, the set list and the three template fields keep what the send reads.
  virtual void LockForSend(bool locked) = 0;
};

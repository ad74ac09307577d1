#include "sending/Thread1.h"

#include <memory>
#include <optional>
#include <vector>

#include "mailtext/ProgramMessage.h"
#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "sending/SendingWindow.h"
#include "smtp/EmailMessage.h"
#include "smtp/MailAddress.h"

void Thread1::Event_Run() {
  GenMail();
  if (WindowOpen()) pWin->LockForSend(false);
}

bool Thread1::WindowOpen() const { return fw::IsOpen(pWin); }

void Thread1::GenMail() {
  std::vector<int> accepted;
  bool refused = false;
  for (int row = 0; row <= pMax - 1; ++row) {
    if (!WindowOpen()) return;
    // A row the list no longer has (another set was loaded meanwhile) reads as unticked.
    if (pWin->ListBox2->CellCheck(row, 0)) {
      refused = GenMail2(row);
      if (refused) break;
      if (!WindowOpen()) return;
      accepted.push_back(row);
      pWin->ProgressBar1->SetValue(int(accepted.size()));
    }
    fw::YieldToNextThread();
  }
  if (!WindowOpen()) return;
  if (refused) UntickAccepted(accepted);
  UpdateStatus("Send End.");
  pWin->ProgressBar1->SetValue(0);
}

void Thread1::UntickAccepted(const std::vector<int>& rows) {
  pWin->ProgressBar1->SetValue(0);  // before its maximum shrinks below the value
  for (int row : rows) pWin->ListBox2->SetCellCheck(row, 0, false);
  pWin->RecountTicks();
}

bool Thread1::GenMail2(int row) {
  ProgramMessageParts parts;
  parts.Name = pWin->ListBox2->Cell(row, 2);
  parts.Subject = pWin->EditField3->Text();
  parts.Honorific = pWin->EditField4->Text();
  parts.Body = pWin->EditField2->Text();
  return GenMail3(row, pWin->ListBox2->Cell(row, 1), parts);
}

bool Thread1::GenMail3(int row, const std::string& to, ProgramMessageParts parts) {
  pWin->pSent = false;
  pWin->pError = false;
  const std::optional<MailAddress> address = ParseMailAddress(to);
  if (!address) {
    // Never queued; it ends as a refusal does.
    pWin->RefuseRecipient(row, to);
  } else {
    parts.To = *address;
    parts.Sender = pSender;
    parts.Mailer = pMailer;
    std::shared_ptr<EmailMessage> m = ComposeMessage(parts);
    if (!WindowOpen()) return true;
    pWin->Socket1->Messages.push_back(m);
    pWin->ProgressBar2->SetMaximum(0);
    pWin->Socket1->SendMail();
  }

  // Sleeps until the client's handlers have set the flag (or the window has gone).
  fw::WaitUntil([this] { return !WindowOpen() || pWin->pSent; });
  // Lets the events that end the session (the reply to QUIT, the server's close) arrive while
  // the flags still belong to this message: sleeps until more than 30 ticks have passed.
  int64_t start = fw::Ticks();
  fw::SleepUntilTicks(start + 31);
  if (!WindowOpen()) return true;

  if (!pWin->pError) UpdateStatus(fw::TrimWide(to));
  return pWin->pError;
}

void Thread1::UpdateStatus(const std::string& text) {
  fw::EditField* log = pWin->EditField1;
  log->SetSelStart(fw::Len(log->Text()));
  log->SetSelText(text + fw::EndOfLineText());
}

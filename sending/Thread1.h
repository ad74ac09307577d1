#pragma once
// The worker of one send: walks the recipient rows, builds one message per ticked row,
// hands it to the main window's SMTP client and waits for its outcome.
#include <string>
#include <vector>

#include "mailtext/ProgramMessage.h"
#include "platform/core/Thread.h"
#include "smtp/MailAddress.h"

class SendingWindow;

class Thread1 : public fw::Thread {
 public:
  SendingWindow* pWin = nullptr;
  int pMax = 0;
  // As checked when the send started: settings saved during the run apply from the next one.
  MailAddress pSender;
  std::string pMailer;

 protected:
  void Event_Run() override;

 private:
  void GenMail();
  // True when the server refused the message.
  bool GenMail2(int row);
  // The row's address text is checked here; the run's sender and mailer name complete the parts.
  bool GenMail3(int row, const std::string& to, ProgramMessageParts parts);
  // A walk cut short by a refusal or a failure: the rows whose message the server accepted lose
  // their ticks, so that sending again mails only the people who have not had the letter.
  void UntickAccepted(const std::vector<int>& rows);
  void UpdateStatus(const std::string& text);
  // False once the window has gone: the walk then stops at once.
  bool WindowOpen() const;
};

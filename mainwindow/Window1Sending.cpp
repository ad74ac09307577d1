// Starting a send, and the SMTP client's events.
#include <memory>
#include <optional>
#include <string>

#include "alerts/Globals.h"
#include "dialogs/PassDlg.h"
#include "mailtext/ProgramMessage.h"
#include "mainwindow/AddressAlert.h"
#include "mainwindow/Window1.h"
#include "sending/Thread1.h"
#include "mainwindow/Toolbar1.h"
#include "platform/core/Strings.h"
#include "platform/ui/Application.h"
#include "smtp/MailAddress.h"

void Window1::Toolbar11_Action(fw::ToolItem* item) {
  const std::string& name = item->Name;
  if (name == "ToolItem1") {
    // The letter sent is the one the window shows, a word still being composed included.
    fw::CommitComposition();
    // One run at a time: the flags, the client and the progress bars serve one walk.
    if (SendInProgress()) return;
    if (ListBox1->ListIndex() < 0) {
      gCautionDlg1("セットが選択されていません。", "", this);
      return;
    }
    if (ProgressBar1->Maximum() == 0) {
      gCautionDlg1("送信対象がありませんので、処理を中止します。", "どれか１つは選んで下さい。", this);
      return;
    }
    // A set without its letter leaves the fields empty: nothing of another letter goes out.
    if (IsBlankLetter(EditField3->Text(), EditField2->Text())) {
      gCautionDlg1("題名と本文が空です。", "送信する文面を入力して下さい。", this);
      return;
    }
    const std::optional<MailAddress> sender = ParseMailAddress(pSMTP[4]);
    if (!sender) {
      gCautionDlg1(fw::TrimWide(pSMTP[4]).empty()
                       ? "送信者のメールアドレスが設定されていません。"
                       : gAlertText("送信者のメールアドレスが正しくありません: " + AddressInAlert(pSMTP[4])),
                   "送信設定を確かめて下さい。", this);
      return;
    }
    // Settings saved in the dialog during the last run reach the client now.
    ApplySMTP();
    if (Socket1->Port() < 0) {
      gCautionDlg1("ポート番号が正しくありませんので、処理を中止します。",
                   "送信設定で、1から65535までの番号を指定して下さい。", this);
      return;
    }
    // A bad row halfway would stop the run after the rows before it had gone, and sending again
    // once it is mended would mail those rows twice.
    if (!CheckRecipientAddresses()) return;
    // The client authenticates only when an account is set.
    if (!pSMTP[2].empty() && pSMTP[3].empty()) {
      PassDlg* prompt = PassDlg::Get();
      prompt->ShowModal();
      // Closed by its close box: the prompt is gone, which counts as キャンセル.
      const bool open = fw::IsOpen(prompt);
      const std::string typed = open && prompt->pReturn ? prompt->EditField1->Text() : "";
      // Closed after every use, so that the next send asks with an empty field.
      if (open) prompt->Close();
      if (typed.empty()) {
        gCautionDlg1("パスワードが入力されませんでしたので、処理を中止します。", "", this);
        return;
      }
      Socket1->Password = typed;
    }
    auto thread = std::make_shared<Thread1>();
    thread->pWin = this;
    thread->pMax = pMax;
    thread->pSender = *sender;
    thread->pMailer = pSMTP[5];
    LockForSend(true);
    thread->Run();
    pRun = thread;
  } else if (name == "ToolItem6") {
    CheckAllList(true);
  } else if (name == "ToolItem7") {
    CheckAllList(false);
  } else if (name == "ToolItem3") {
    ShowSMTPDlg();
  }
}

bool Window1::SendInProgress() const {
  auto running = pRun.lock();
  return running && running->IsRunning();
}

void Window1::Socket1_MailSent() {
  ProgressBar2->SetMaximum(100);
  pSent = true;
}

void Window1::Socket1_ServerError(int, std::string reply, std::shared_ptr<EmailMessage>) {
  gCautionDlg1("Error: " + gAlertText(reply), "", this);
  pSent = true;
  pError = true;
}

void Window1::Socket1_Error() {
  ProgressBar2->SetMaximum(100);
  // The close that follows QUIT comes with an empty queue and changes nothing. A message still
  // queued was neither accepted nor refused: that is a failure, and it must not go out later
  // by surprise.
  if (Socket1->Messages.empty()) return;
  Socket1->DeleteAllMessages();
  gCautionDlg1("Error: " + Socket1->LastErrorText(), "", this);
  pSent = true;
  pError = true;
}

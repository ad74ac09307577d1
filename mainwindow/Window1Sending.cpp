// Starting a send, and the SMTP client's events.
#include <memory>

#include "alerts/Globals.h"
#include "dialogs/PassDlg.h"
#include "mainwindow/Window1.h"
#include "sending/Thread1.h"
#include "shell/Toolbar1.h"
#include "smtp/MailAddress.h"

void Window1::Toolbar11_Action(fw::ToolItem* item) {
  const std::string& name = item->Name;
  if (name == "ToolItem1") {
    // One run at a time: the flags, the client and the progress bars serve one walk.
    if (auto running = pRun.lock(); running && running->IsRunning()) return;
    if (ListBox1->ListIndex() < 0) {
      gCautionDlg1("セットが選択されていません。", "", this);
      return;
    }
    if (ProgressBar1->Maximum() == 0) {
      gCautionDlg1("送信対象がありませんので、処理を中止します。", "どれか１つは選んで下さい。", this);
      return;
    }
    if (!IsMailAddress(pSMTP[4])) {
      gCautionDlg1(pSMTP[4].empty() ? "送信者のメールアドレスが設定されていません。"
                                    : "送信者のメールアドレスが正しくありません: " + gAlertText(pSMTP[4]),
                   "送信設定を確かめて下さい。", this);
      return;
    }
    if (pSMTP[3].empty()) {
      PassDlg* prompt = PassDlg::Get();
      prompt->ShowModal();
      if (!prompt->pReturn || prompt->EditField1->Text().empty()) {
        gCautionDlg1("パスワードが入力されませんでしたので、処理を中止します。", "", this);
        return;
      }
      Socket1->Password = prompt->EditField1->Text();
      prompt->Close();
    }
    auto thread = std::make_shared<Thread1>();
    thread->pWin = this;
    thread->pMax = pMax;
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

#pragma once
// The main window: the set list, the recipient list, the log, the progress display, the
// template fields and the toolbar.
#include <array>
#include <memory>
#include <string>

#include "platform/ui/BasicControls.h"
#include "platform/ui/EditField.h"
#include "platform/ui/Listbox.h"
#include "platform/ui/MenuBar.h"
#include "platform/ui/Window.h"
#include "platform/core/Thread.h"
#include "sending/SendingWindow.h"
#include "smtp/SMTPSocket.h"

namespace fw {
class Graphics;
class ToolItem;
}  // namespace fw
class Toolbar1;

class Window1 : public SendingWindow {
 public:
  // The main window, made on first use.
  static Window1* Get();

  // pSent, pError, Socket1, ListBox2, EditField1 to 4 and ProgressBar1 and 2 are declared by
  // SendingWindow, the part of the window the sending thread uses.
  // Send settings: 0 server, 1 port, 2 account, 3 password, 4 sender, 5 mailer name, 6-20 kept.
  std::array<std::string, 21> pSMTP;
  fw::Listbox* ListBox1 = nullptr;
  fw::Line* Line1 = nullptr;
  fw::StaticText* StaticText1 = nullptr;
  fw::GroupBox* GroupBox1 = nullptr;
  fw::StaticText* StaticText3 = nullptr;
  fw::StaticText* StaticText4 = nullptr;
  fw::StaticText* StaticText2 = nullptr;
  fw::StaticText* StaticText5 = nullptr;
  fw::StaticText* StaticText6 = nullptr;
  Toolbar1* Toolbar11 = nullptr;

  // Control event handlers.
  void Socket1_MailSent();
  void Socket1_ServerError(int code, std::string reply, std::shared_ptr<EmailMessage> message);
  void Socket1_Error();
  bool ListBox1_CellBackgroundPaint(fw::Graphics& g, int row, int column);
  void ListBox1_Change();
  bool ListBox2_CellBackgroundPaint(fw::Graphics& g, int row, int column);
  void ListBox2_CellAction(int row, int column);
  void EditField2_TextChange();
  void EditField3_TextChange();
  void EditField4_TextChange();
  void Toolbar11_Action(fw::ToolItem* item);
  void Toolbar11_Open();

  void RefuseRecipient(int row, const std::string& address) override;
  void LockForSend(bool locked) override;
  void RecountTicks() override;

  // The menu bar's items, looked up by name.
  fw::MenuItem* EditMenu() const;
  fw::MenuItem* AppleAbout() const;
  fw::MenuItem* ApplePref() const;
  fw::MenuItem* EditSelectAll() const;
  fw::MenuItem* UntitledMenu0() const;
  fw::MenuItem* EditClear() const;
  fw::MenuItem* EditPaste() const;
  fw::MenuItem* EditCopy() const;
  fw::MenuItem* EditCut() const;
  fw::MenuItem* UntitledMenu1() const;
  fw::MenuItem* EditUndo() const;
  fw::MenuItem* FileMenu() const;
  fw::MenuItem* FileQuit() const;

 protected:
  void Layout() override;
  void CreateControls() override;
  void Event_Open() override;
  bool Event_CancelClose(bool appQuitting) override;

 private:
  void _CreateControls0();
  fw::MenuItem* MenuItemNamed(const char* name) const;

  void InitApp();
  void LoadNameList();
  void LoadSetList();
  void SelectSet();
  void ShowSMTPDlg();
  void LoadTemplate();
  void SaveSMTP();
  void LoadSMTP();
  // Hands server, port, account and password from pSMTP to Socket1.
  void ApplySMTP();
  bool SendInProgress() const;
  void CheckAllList(bool b);

  // The ticked rows among the loaded ones, and their display in the count label and as the
  // overall progress maximum.
  int CheckedCount();
  void ShowCount(int count);
  // Every ticked row's address, before anything is sent: the first one that would be refused is
  // named in an alert, and the result is false.
  bool CheckRecipientAddresses();

  int pMax = 0;
  std::weak_ptr<fw::Thread> pRun;  // the send in progress, if any
  bool pChange = false;
  int pPrevIndex = 0;
  bool pEnbl = false;

  // Send settings: set when the settings file could not be read, or was damaged and no copy of
  // it could be kept, so that the close leaves it as it is instead of replacing it.
  bool pKeepSMTPFile = false;
  friend class SettingsTest;  // drives ShowSMTPDlg in the tests
};

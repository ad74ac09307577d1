// The send settings: read when the window opens, written when it closes, edited in SMTPDlg.
#include <algorithm>
#include <array>
#include <string>

#include "alerts/Globals.h"
#include "dialogs/SMTPDlg.h"
#include "mailtext/SettingsFile.h"
#include "mainwindow/SetFiles.h"
#include "mainwindow/Window1.h"
#include "platform/core/BinaryStream.h"
#include "platform/core/FolderItem.h"
#include "platform/ui/Application.h"

namespace {

// The settings file "smtp" in "Data", or nullptr when "Data" is not a folder.
fw::FolderItemRef SettingsFile() {
  fw::FolderItemRef data = DataFolder();
  return data ? data->Child("smtp") : nullptr;
}

// The dialog's fields, in the order of the settings slots 0 to 5.
std::array<fw::EditField*, 6> SettingFields(SMTPDlg& dlg) {
  return {dlg.EditField1, dlg.EditField2, dlg.EditField3, dlg.EditField4, dlg.EditField5, dlg.EditField6};
}

}  // namespace

void Window1::Event_Open() { InitApp(); }

void Window1::InitApp() {
  LoadSMTP();
  ApplySMTP();
  LoadSetList();
}

void Window1::ApplySMTP() {
  Socket1->SetAddress(pSMTP[0]);
  Socket1->SetPort(PortNumber(pSMTP[1]));
  Socket1->Username = pSMTP[2];
  Socket1->Password = pSMTP[3];
}

void Window1::LoadSMTP() {
  fw::FolderItemRef file = SettingsFile();
  if (!file || !file->Exists()) return;
  std::shared_ptr<fw::BinaryStream> stream = file->OpenAsBinaryFile(false);
  if (stream && ReadSettingsSlots(*stream, pSMTP)) return;
  const std::string damaged = "送信設定ファイル「smtp」の内容が正しくありません。";
  const std::string kept = "このファイルは終了時にも書き換えないため、今回入力した送信設定は保存されません。";
  // Not a regular file, or one that cannot be read: it is left as it is.
  if (!stream) {
    pKeepSMTPFile = true;
    gCautionDlg1("送信設定ファイル「smtp」を読み込めませんでした。", "送信設定を空にして起動します。" + kept, this);
    return;
  }
  if (stream->Length() == 0) {
    gCautionDlg1(damaged, "ファイルが空のため、送信設定を空にして起動します。", this);
    return;
  }
  // A damaged file is kept beside it, so that the close can write the settings without losing a
  // byte of it; without that copy it is left as it is.
  stream->SetPosition(0);
  const std::string copy = KeepDamagedCopy(*file, stream->Read(size_t(stream->Length())));
  pKeepSMTPFile = copy.empty();
  if (pKeepSMTPFile)
    gCautionDlg1(damaged, "読み取れた分の送信設定で起動します。" + kept, this);
  else
    gCautionDlg1(damaged, "ファイルの内容は「" + copy + "」として同じフォルダに残しました。読み取れた分の送信設定で起動します。",
                 this);
}

void Window1::SaveSMTP() {
  if (pKeepSMTPFile) return;
  fw::FolderItemRef data = DataFolder();
  if (!data) return;
  // A first start without "Data": it is made when there are settings to keep.
  if (!data->Directory() && std::all_of(pSMTP.begin(), pSMTP.end(), [](const std::string& s) { return s.empty(); }))
    return;
  std::string reason;
  const bool saved =
      (data->Directory() || data->CreateAsFolder(reason)) && WriteSettingsFile(*data->Child("smtp"), pSMTP, reason);
  if (!saved)
    gCautionDlg1("送信設定ファイル「smtp」を保存できませんでした。",
                 "「Data」フォルダに書き込めるか確かめてください。今回の送信設定の変更は失われます。（" +
                     reason + "）",
                 this);
}

bool Window1::Event_CancelClose(bool) {
  SaveSMTP();
  if (fw::Application* app = fw::Application::Instance()) app->Quit(0);
  return false;
}

void Window1::ShowSMTPDlg() {
  SMTPDlg* dlg = SMTPDlg::Get();
  std::array<fw::EditField*, 6> fields = SettingFields(*dlg);
  std::array<std::string, 6> shown;  // a field shows bytes that are not UTF-8 as U+FFFD
  for (size_t i = 0; i < fields.size(); ++i) {
    fields[i]->SetText(pSMTP[i]);
    shown[i] = fields[i]->Text();
  }
  dlg->ShowModal();
  // Closed without either button: the dialog is gone, which counts as キャンセル.
  if (!fw::IsOpen(dlg)) return;
  if (dlg->pReturn) {
    // A field left as it was shown keeps its slot's bytes.
    for (size_t i = 0; i < fields.size(); ++i)
      if (fields[i]->Text() != shown[i]) pSMTP[i] = fields[i]->Text();
    // A running send keeps the client's settings; the next one takes them when it starts.
    if (!SendInProgress()) ApplySMTP();
  }
  dlg->Close();
}

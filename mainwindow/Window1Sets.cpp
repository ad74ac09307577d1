// The set list and the template fields.
#include "alerts/Globals.h"
#include "mainwindow/SetFiles.h"
#include "mainwindow/Window1.h"
#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "platform/core/TextInputStream.h"
#include "platform/core/Thread.h"
#include "platform/ui/Picture.h"
#include "mainwindow/Toolbar1.h"

void Window1::LoadSetList() {
  fw::FolderItemRef data = DataFolder();
  if (!data || !data->Exists()) return;
  ListBox1->DeleteAllRows();
  // The count is read again on every pass: the folder may change while the loop yields.
  for (int i = 1; i <= data->Count(); ++i) {
    fw::FolderItemRef item = data->Item(i);
    if (item && item->Visible() && item->Directory()) {
      // The row shows the name and opens the folder it was listed from, by its native name.
      ListBox1->AddRow(item->Name());
      ListBox1->SetRowTag(ListBox1->ListCount() - 1, item->NativeName());
    }
    fw::YieldToNextThread();
  }
}

bool Window1::ListBox1_CellBackgroundPaint(fw::Graphics& g, int, int) {
  g.SetForeColor(fw::RGB(237, 243, 254));
  g.FillRect(0, 0, ListBox1->Width(), ListBox1->Height());
  return false;
}

void Window1::ListBox1_Change() {
  if (pEnbl) return;
  if (pChange) {
    CautionResult answer = gCautionDlg(2, "", "キャンセル", "実行", "メールの内容が編集されています。それでも変更しますか？",
                                       "実行を選択すると、編集内容は失われます。", this);
    if (answer == CautionResult::Cancel) {
      // Puts the previous selection back; the Change this raises returns at once.
      pEnbl = true;
      ListBox1->SetListIndex(pPrevIndex);
      pEnbl = false;
      return;
    }
  }
  if (ListBox1->ListIndex() < 0) {
    Toolbar11->ToolItem1.SetEnabled(false);
    Toolbar11->ToolItem6.SetEnabled(false);
    Toolbar11->ToolItem7.SetEnabled(false);
    return;
  }
  SelectSet();
  pPrevIndex = ListBox1->ListIndex();
}

void Window1::SelectSet() {
  LoadNameList();
  // The ticked rows, not pMax: a row without an address has no tick.
  int count = CheckedCount();
  StaticText1->SetText("総数：" + fw::Str(count));
  LoadTemplate();
  ProgressBar1->SetMaximum(count);
  ProgressBar1->SetValue(0);
  Toolbar11->ToolItem1.SetEnabled(true);
  Toolbar11->ToolItem6.SetEnabled(true);
  Toolbar11->ToolItem7.SetEnabled(true);
}

void Window1::LoadTemplate() {
  fw::FolderItemRef file = SetFile(ListBox1->RowTag(ListBox1->ListIndex()), "Template.txt");
  std::shared_ptr<fw::TextInputStream> stream = file && file->Exists() ? file->OpenAsTextFile() : nullptr;
  if (!stream) {
    // No letter is left over from the previous set, edited or not: its people must not get it.
    EditField3->SetText("");
    EditField4->SetText("");
    EditField2->SetText("");
    pChange = false;
    gCautionDlg1("File not found.", "", this);
    return;
  }
  EditField3->SetText(stream->ReadLine());
  EditField4->SetText(stream->ReadLine());
  // The body always joins at least lines 3 and 4, a line past the end counting as empty.
  std::string body = stream->ReadLine();
  do {
    body += fw::EndOfLineText() + stream->ReadLine();
    fw::YieldToNextThread();
  } while (!stream->IsEOF());
  stream->Close();
  EditField2->SetText(body);
  // Last, so that the TextChange events of the three assignments leave the flag clear.
  pChange = false;
}

void Window1::LockForSend(bool locked) {
  // The send reads the selected set's rows and the three fields as it goes. Ticks stay live.
  ListBox1->SetEnabled(!locked);
  EditField3->SetReadOnly(locked);
  EditField4->SetReadOnly(locked);
  EditField2->SetReadOnly(locked);
}

void Window1::EditField2_TextChange() { pChange = true; }

void Window1::EditField3_TextChange() { pChange = true; }

void Window1::EditField4_TextChange() { pChange = true; }

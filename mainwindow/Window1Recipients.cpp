// The recipient list and its checked count.
#include "alerts/Globals.h"
#include "mainwindow/AddressAlert.h"
#include "mainwindow/SetFiles.h"
#include "mainwindow/Window1.h"
#include "platform/core/Strings.h"
#include "platform/core/TextInputStream.h"
#include "platform/core/Thread.h"
#include "platform/ui/Application.h"
#include "platform/ui/Picture.h"
#include "smtp/MailAddress.h"

void Window1::LoadNameList() {
  fw::FolderItemRef file = SetFile(ListBox1->RowTag(ListBox1->ListIndex()), "NameList.txt");
  std::shared_ptr<fw::TextInputStream> stream = file && file->Exists() ? file->OpenAsTextFile() : nullptr;
  if (!stream) {
    // No rows are left over from the previous set: its people must not get this set's letter.
    ListBox2->DeleteAllRows();
    pMax = 0;
    gCautionDlg1("NameList not found.", "", this);
    return;
  }
  ListBox2->DeleteAllRows();
  int n = 0;
  // The first line is read before the end is tested: an empty file gives one empty row.
  do {
    std::string line = stream->ReadLine();
    // Two files joined into one bring a byte-order mark into the middle: it must not hide "//".
    while (line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    if (fw::LeftB(line, 2) != "//") {
      std::string address = fw::NthField(line, "\t", 1);
      ListBox2->AddRow("");
      // A row without an address (a blank line, say) gets no check box: it is never sent.
      if (!fw::TrimWide(address).empty()) {
        ListBox2->SetCellType(n, 0, fw::ListCellType::Checkbox);
        ListBox2->SetCellCheck(n, 0, true);
      }
      ListBox2->SetCell(n, 1, address);
      ListBox2->SetCell(n, 2, fw::NthField(line, "\t", 2));
      ++n;
    }
    fw::YieldToNextThread();
  } while (!stream->IsEOF());
  stream->Close();
  ListBox2->SetListIndex(0);
  ListBox2->SetListIndex(-1);
  pMax = n;
}

int Window1::CheckedCount() {
  // Runs whole, without yielding: the sending thread recounts too, and the window may go at a yield.
  int count = 0;
  for (int i = 0; i < pMax; ++i)
    if (ListBox2->CellCheck(i, 0)) ++count;
  return count;
}

void Window1::ShowCount(int count) {
  StaticText1->SetText("総数：" + fw::Str(count));
  ProgressBar1->SetMaximum(count);
}

// Every tick recounts all loaded rows from scratch.
void Window1::ListBox2_CellAction(int, int) { RecountTicks(); }

void Window1::RecountTicks() { ShowCount(CheckedCount()); }

void Window1::CheckAllList(bool b) {
  int count = 0;
  for (int i = 0; i < pMax; ++i) {
    if (ListBox2->CellType(i, 0) == fw::ListCellType::Checkbox) {
      ListBox2->SetCellCheck(i, 0, b);
      count += b ? 1 : 0;
    }
    fw::YieldToNextThread();
  }
  ShowCount(count);
}

namespace {
// Rows are numbered from 1, as the list shows them.
std::string RecipientRefusal(int row, const std::string& address) {
  return "宛先のメールアドレスが正しくありません（" + fw::Str(row + 1) + "行目）: " + AddressInAlert(address);
}
}  // namespace

bool Window1::CheckRecipientAddresses() {
  for (int i = 0; i < pMax; ++i) {
    if (ListBox2->CellCheck(i, 0) && !ParseMailAddress(ListBox2->Cell(i, 1))) {
      gCautionDlg1(gAlertText(RecipientRefusal(i, ListBox2->Cell(i, 1))), "", this);
      return false;
    }
    fw::YieldToNextThread();
  }
  return true;
}

void Window1::RefuseRecipient(int row, const std::string& address) {
  std::string reason = RecipientRefusal(row, address);
  // As the client's own refusals are reported (the handler cuts the text for the alert); later,
  // since the sending thread never opens an alert itself.
  fw::CallLater([this, reason] {
    if (fw::IsOpen(this)) Socket1_ServerError(SMTPSocket::kClientRefusal, reason, nullptr);
  });
}

bool Window1::ListBox2_CellBackgroundPaint(fw::Graphics& g, int row, int) {
  if (row % 2 == 0) {
    g.SetForeColor(fw::RGB(237, 243, 254));
    g.FillRect(0, 0, ListBox2->Width(), ListBox2->Height());
  }
  return false;
}

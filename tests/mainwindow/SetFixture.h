#pragma once
// The main window started over a "Data" folder of sets built by the test, with helpers to
// select a set and to read what the window shows.
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "mainwindow/Window1.h"
#include "mainwindow/Toolbar1.h"
#include "tests/support/DataFiles.h"
#include "tests/support/GuiTest.h"
#include "tests/support/LocalSmtpServer.h"

namespace settest {

class SetWindowTest : public testsupport::GuiTest {
 protected:
  // A set folder in "Data" with its files; a null file is left out.
  void WriteSet(const std::string& name, const char* nameList, const char* templateText) {
    folder().MakeFolder("Data/" + name);
    if (nameList) folder().Write("Data/" + name + "/NameList.txt", nameList);
    if (templateText) folder().Write("Data/" + name + "/Template.txt", templateText);
  }

  // Settings that send to the server, without an account, from info@example.jp.
  void WriteSettingsFor(const testsupport::LocalSmtpServer& server) {
    folder().Write("Data/smtp", testsupport::SettingsFile({"127.0.0.1", std::to_string(server.Port()), "", "",
                                                           "info@example.jp", "M"}));
  }

  void Open() {
    Start();
    w = Window1::Get();
  }

  int RowOf(const std::string& set) const {
    for (int i = 0; i < w->ListBox1->ListCount(); ++i)
      if (w->ListBox1->List(i) == set) return i;
    ADD_FAILURE() << "no set " << set;
    return -1;
  }

  // Selects a set (an alert that nobody answers fails the test).
  void Select(const std::string& set) { w->ListBox1->SetListIndex(RowOf(set)); }

  std::string CountLabel() const { return w->StaticText1->Text(); }
  // Waits for a run started meanwhile to log "Send End.".
  bool WaitForSendEnd() {
    return QTest::qWaitFor([&] { return w->EditField1->Text().find("Send End.") != std::string::npos; }, 60000);
  }
  int CheckedRows() const {
    int n = 0;
    for (int i = 0; i < w->ListBox2->ListCount(); ++i) n += w->ListBox2->CellCheck(i, 0) ? 1 : 0;
    return n;
  }
  bool SendButtonsEnabled() const {
    Toolbar1* t = w->Toolbar11;
    EXPECT_EQ(t->ToolItem1.Enabled(), t->ToolItem6.Enabled());
    EXPECT_EQ(t->ToolItem1.Enabled(), t->ToolItem7.Enabled());
    return t->ToolItem1.Enabled();
  }

  Window1* w = nullptr;
};

}  // namespace settest

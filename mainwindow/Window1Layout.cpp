// The main window's declared properties and controls.
#include "mainwindow/Window1.h"
#include "mainwindow/MenuBar1.h"
#include "mainwindow/Toolbar1.h"

Window1* Window1::Get() { return fw::Implicit<Window1>(); }

void Window1::Layout() {
  SetMenuBar(MenuBar1::Get());
  // Every property not named keeps the framework's default.
  ApplyDecl(fw::WindowDecl{.Width = 1000,
                           .Height = 640,
                           .Frame = 0,
                           .BackColor = fw::HexColor(0xA5A5A5),
                           .Title = "ポスタリオ",
                           .Resizeable = false,
                           .MaximizeButton = false});
}

void Window1::CreateControls() { _CreateControls0(); }

void Window1::_CreateControls0() {
  using namespace fw;
  const Color black = HexColor(0x000000);
  const FontDecl system{};
  const FontDecl monospaced{"Osaka−等幅", 12};

  Socket1 = std::make_unique<SMTPSocket>();
  Socket1->SetAddress("");
  Socket1->SetPort(0);
  Socket1->MailSent.Bind(this, &Window1::Socket1_MailSent);
  Socket1->ServerError.Bind(this, &Window1::Socket1_ServerError);
  Socket1->Error.Bind(this, &Window1::Socket1_Error);

  ListboxDecl setList;
  setList.ColumnCount = 1;
  ListBox1 = AddControl<Listbox>(ControlDecl{"ListBox1", 0, -1, 119, 424, 2}, setList);
  ListBox1->CellBackgroundPaint.Bind(this, &Window1::ListBox1_CellBackgroundPaint);
  ListBox1->Change.Bind(this, &Window1::ListBox1_Change);

  Line1 = AddControl<fw::Line>(ControlDecl{"Line1", 0, 620, 1000, 0}, LineDecl{0, 620, 1000, 620, 1, HexColor(0x595959)});

  ListboxDecl recipients;
  recipients.ColumnCount = 3;
  recipients.ColumnWidths = "6%,55%,*";
  recipients.HasHeading = true;
  recipients.InitialValue = "送\tメールアドレス\t宛先名";
  recipients.ColumnsResizable = true;
  ListBox2 = AddControl<Listbox>(ControlDecl{"ListBox2", 120, -1, 370, 424, 4}, recipients);
  ListBox2->CellBackgroundPaint.Bind(this, &Window1::ListBox2_CellBackgroundPaint);
  ListBox2->CellAction.Bind(this, &Window1::ListBox2_CellAction);

  EditFieldDecl log;
  log.Multiline = true;
  log.ReadOnly = true;
  log.BackColor = HexColor(0xFFFFE1);
  log.TextColor = black;
  EditField1 = AddControl<EditField>(ControlDecl{"EditField1", 120, 424, 369, 196, 5}, log);

  StaticText1 = AddControl<StaticText>(ControlDecl{"StaticText1", 15, 440, 100, 20, 6},
                                       StaticTextDecl{"総数：", 0, black, false, system});
  GroupBox1 = AddControl<GroupBox>(ControlDecl{"GroupBox1", 5, 470, 110, 129, 7}, GroupBoxDecl{"進捗状況", system});
  ProgressBar1 = AddControl<ProgressBar>(ControlDecl{"ProgressBar1", 10, 515, 100, 20, -1, true, true, "", "GroupBox1"},
                                         ProgressBarDecl{0, 100});
  ProgressBar2 = AddControl<ProgressBar>(ControlDecl{"ProgressBar2", 10, 559, 100, 20, -1, true, true, "", "GroupBox1"},
                                         ProgressBarDecl{0, 100});
  StaticText3 = AddControl<StaticText>(ControlDecl{"StaticText3", 12, 500, 50, 20, 2, true, true, "", "GroupBox1"},
                                       StaticTextDecl{"全体", 0, black, false, system});
  StaticText4 = AddControl<StaticText>(ControlDecl{"StaticText4", 12, 544, 70, 20, 3, true, true, "", "GroupBox1"},
                                       StaticTextDecl{"各メール", 0, black, false, system});

  EditFieldDecl body;
  body.Multiline = true;
  body.BackColor = HexColor(0xFFFFFF);
  body.TextColor = black;
  body.Font = monospaced;
  EditField2 = AddControl<EditField>(ControlDecl{"EditField2", 491, 80, 507, 540, 8}, body);
  EditField2->TextChange.Bind(this, &Window1::EditField2_TextChange);

  StaticText2 = AddControl<StaticText>(
      ControlDecl{"StaticText2", 495, 63, 514, 20, 9},
      StaticTextDecl{"----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8", 0, black, false,
                     monospaced});
  StaticText5 = AddControl<StaticText>(ControlDecl{"StaticText5", 490, 10, 50, 20, 10},
                                       StaticTextDecl{"題名：", 2, black, false, system});
  StaticText6 = AddControl<StaticText>(ControlDecl{"StaticText6", 490, 40, 50, 20, 11},
                                       StaticTextDecl{"敬称：", 2, black, false, system});

  EditFieldDecl line;
  line.BackColor = HexColor(0xFFFFFF);
  line.TextColor = black;
  EditField3 = AddControl<EditField>(ControlDecl{"EditField3", 540, 7, 430, 22, 12}, line);
  EditField3->TextChange.Bind(this, &Window1::EditField3_TextChange);
  EditField4 = AddControl<EditField>(ControlDecl{"EditField4", 540, 37, 60, 22, 13}, line);
  EditField4->TextChange.Bind(this, &Window1::EditField4_TextChange);

  Toolbar11 = AddControl<Toolbar1>(ControlDecl{"Toolbar11", 63, 424, 34, 32});
  Toolbar11->Action.Bind(this, &Window1::Toolbar11_Action);
  Toolbar11->Open.Bind(this, &Window1::Toolbar11_Open);
}

fw::MenuItem* Window1::MenuItemNamed(const char* name) const {
  return GetMenuBar() ? GetMenuBar()->Child(name) : nullptr;
}

fw::MenuItem* Window1::EditMenu() const { return MenuItemNamed("EditMenu"); }
fw::MenuItem* Window1::AppleAbout() const { return MenuItemNamed("AppleAbout"); }
fw::MenuItem* Window1::ApplePref() const { return MenuItemNamed("ApplePref"); }
fw::MenuItem* Window1::EditSelectAll() const { return MenuItemNamed("EditSelectAll"); }
fw::MenuItem* Window1::UntitledMenu0() const { return MenuItemNamed("UntitledMenu0"); }
fw::MenuItem* Window1::EditClear() const { return MenuItemNamed("EditClear"); }
fw::MenuItem* Window1::EditPaste() const { return MenuItemNamed("EditPaste"); }
fw::MenuItem* Window1::EditCopy() const { return MenuItemNamed("EditCopy"); }
fw::MenuItem* Window1::EditCut() const { return MenuItemNamed("EditCut"); }
fw::MenuItem* Window1::UntitledMenu1() const { return MenuItemNamed("UntitledMenu1"); }
fw::MenuItem* Window1::EditUndo() const { return MenuItemNamed("EditUndo"); }
fw::MenuItem* Window1::FileMenu() const { return MenuItemNamed("FileMenu"); }
fw::MenuItem* Window1::FileQuit() const { return MenuItemNamed("FileQuit"); }

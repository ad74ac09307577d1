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
                           .Frame = fw::WindowFrame::Document,
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
  const FontDecl monospaced{.TextFont = "Osaka−等幅", .TextSize = 12};

  Socket1 = std::make_unique<SMTPSocket>();
  Socket1->SetAddress("");
  Socket1->SetPort(0);
  Socket1->MailSent.Bind(this, &Window1::Socket1_MailSent);
  Socket1->ServerError.Bind(this, &Window1::Socket1_ServerError);
  Socket1->Error.Bind(this, &Window1::Socket1_Error);

  ListBox1 = AddControl<Listbox>(
      ControlDecl{.Name = "ListBox1", .Left = 0, .Top = -1, .Width = 119, .Height = 424, .TabIndex = 2,
                  .AccessibleName = "セット"},
      ListboxDecl{.ColumnCount = 1});
  ListBox1->CellBackgroundPaint.Bind(this, &Window1::ListBox1_CellBackgroundPaint);
  ListBox1->Change.Bind(this, &Window1::ListBox1_Change);

  Line1 = AddControl<fw::Line>(ControlDecl{.Name = "Line1", .Left = 0, .Top = 620, .Width = 1000, .Height = 0},
                               LineDecl{.X1 = 0, .Y1 = 620, .X2 = 1000, .Y2 = 620, .BorderWidth = 1,
                                        .LineColor = HexColor(0x595959)});

  ListBox2 = AddControl<Listbox>(
      ControlDecl{.Name = "ListBox2", .Left = 120, .Top = -1, .Width = 370, .Height = 424, .TabIndex = 4,
                  .AccessibleName = "宛先"},
      ListboxDecl{.ColumnCount = 3,
                  .ColumnWidths = "6%,55%,*",
                  .HasHeading = true,
                  .InitialValue = "送\tメールアドレス\t宛先名",
                  .ColumnsResizable = true});
  ListBox2->CellBackgroundPaint.Bind(this, &Window1::ListBox2_CellBackgroundPaint);
  ListBox2->CellAction.Bind(this, &Window1::ListBox2_CellAction);

  EditField1 = AddControl<EditField>(
      ControlDecl{.Name = "EditField1", .Left = 120, .Top = 424, .Width = 369, .Height = 196, .TabIndex = 5,
                  .AccessibleName = "ログ"},
      EditFieldDecl{.Multiline = true, .ReadOnly = true, .BackColor = HexColor(0xFFFFE1), .TextColor = black});

  StaticText1 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText1", .Left = 15, .Top = 440, .Width = 100, .Height = 20, .TabIndex = 6},
      StaticTextDecl{.Text = "総数：", .TextAlign = TextAlignment::Left, .TextColor = black, .Font = system});
  GroupBox1 = AddControl<GroupBox>(
      ControlDecl{.Name = "GroupBox1", .Left = 5, .Top = 470, .Width = 110, .Height = 129, .TabIndex = 7},
      GroupBoxDecl{.Caption = "進捗状況", .Font = system});
  ProgressBar1 = AddControl<ProgressBar>(ControlDecl{.Name = "ProgressBar1", .Left = 10, .Top = 515, .Width = 100,
                                                     .Height = 20, .InitialParent = "GroupBox1",
                                                     .LabelledBy = "StaticText3"},
                                         ProgressBarDecl{.Value = 0, .Maximum = 100});
  ProgressBar2 = AddControl<ProgressBar>(ControlDecl{.Name = "ProgressBar2", .Left = 10, .Top = 559, .Width = 100,
                                                     .Height = 20, .InitialParent = "GroupBox1",
                                                     .LabelledBy = "StaticText4"},
                                         ProgressBarDecl{.Value = 0, .Maximum = 100});
  StaticText3 = AddControl<StaticText>(ControlDecl{.Name = "StaticText3", .Left = 12, .Top = 500, .Width = 50,
                                                   .Height = 20, .TabIndex = 2, .InitialParent = "GroupBox1"},
                                       StaticTextDecl{.Text = "全体", .TextAlign = TextAlignment::Left,
                                                      .TextColor = black, .Font = system});
  StaticText4 = AddControl<StaticText>(ControlDecl{.Name = "StaticText4", .Left = 12, .Top = 544, .Width = 70,
                                                   .Height = 20, .TabIndex = 3, .InitialParent = "GroupBox1"},
                                       StaticTextDecl{.Text = "各メール", .TextAlign = TextAlignment::Left,
                                                      .TextColor = black, .Font = system});

  EditField2 = AddControl<EditField>(
      ControlDecl{.Name = "EditField2", .Left = 491, .Top = 80, .Width = 507, .Height = 540, .TabIndex = 8,
                  .AccessibleName = "本文"},
      EditFieldDecl{.Multiline = true, .BackColor = HexColor(0xFFFFFF), .TextColor = black, .Font = monospaced});
  EditField2->TextChange.Bind(this, &Window1::EditField2_TextChange);

  StaticText2 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText2", .Left = 495, .Top = 63, .Width = 514, .Height = 20, .TabIndex = 9},
      StaticTextDecl{.Text = "----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8",
                     .TextAlign = TextAlignment::Left,
                     .TextColor = black,
                     .Font = monospaced});
  StaticText5 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText5", .Left = 490, .Top = 10, .Width = 50, .Height = 20, .TabIndex = 10},
      StaticTextDecl{.Text = "題名：", .TextAlign = TextAlignment::Right, .TextColor = black, .Font = system});
  StaticText6 = AddControl<StaticText>(
      ControlDecl{.Name = "StaticText6", .Left = 490, .Top = 40, .Width = 50, .Height = 20, .TabIndex = 11},
      StaticTextDecl{.Text = "敬称：", .TextAlign = TextAlignment::Right, .TextColor = black, .Font = system});

  const EditFieldDecl line{.BackColor = HexColor(0xFFFFFF), .TextColor = black};
  EditField3 = AddControl<EditField>(
      ControlDecl{.Name = "EditField3", .Left = 540, .Top = 7, .Width = 430, .Height = 22, .TabIndex = 12,
                  .LabelledBy = "StaticText5"}, line);
  EditField3->TextChange.Bind(this, &Window1::EditField3_TextChange);
  EditField4 = AddControl<EditField>(
      ControlDecl{.Name = "EditField4", .Left = 540, .Top = 37, .Width = 60, .Height = 22, .TabIndex = 13,
                  .LabelledBy = "StaticText6"}, line);
  EditField4->TextChange.Bind(this, &Window1::EditField4_TextChange);

  Toolbar11 = AddControl<Toolbar1>(ControlDecl{.Name = "Toolbar11", .Left = 63, .Top = 424, .Width = 34, .Height = 32});
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

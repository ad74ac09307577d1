#include "mainwindow/MenuBar1.h"

#include <memory>

namespace {
std::unique_ptr<MenuBar1> g_menuBar;

struct ItemDecl {
  const char* Name = "";
  bool AutoEnable = true;
  const char* Text = "";
  const char* KeyboardShortcut = "";
};

template <class Item>
std::unique_ptr<fw::MenuItem> NewItem(const ItemDecl& decl) {
  auto item = std::make_unique<Item>();
  item->Name = decl.Name;
  item->AutoEnable = decl.AutoEnable;
  item->Text = decl.Text;
  item->KeyboardShortcut = decl.KeyboardShortcut;
  return item;
}
}  // namespace

MenuBar1* MenuBar1::Get() {
  if (!g_menuBar) g_menuBar.reset(new MenuBar1());
  return g_menuBar.get();
}

void MenuBar1::Release() { g_menuBar.reset(); }

MenuBar1::MenuBar1() {
  Untitled0();
  Untitled1();
}

void MenuBar1::Untitled0() {
  Append(NewItem<fw::MenuItem>({.Name = "FileMenu", .Text = "&File"}));
  Child("FileMenu")->Append(
      NewItem<fw::QuitMenuItem>({.Name = "FileQuit", .Text = "&Quit", .KeyboardShortcut = "Cmd+Q"}));
}

void MenuBar1::Untitled1() {
  Append(NewItem<fw::MenuItem>({.Name = "EditMenu", .Text = "&Edit"}));
  fw::MenuItem* edit = Child("EditMenu");
  edit->Append(NewItem<fw::MenuItem>({.Name = "EditUndo", .Text = "&Undo", .KeyboardShortcut = "Cmd+Z"}));
  edit->Append(NewItem<fw::MenuItem>({.Name = "UntitledMenu1", .Text = "-"}));
  edit->Append(NewItem<fw::MenuItem>({.Name = "EditCut", .Text = "Cu&t", .KeyboardShortcut = "Cmd+X"}));
  edit->Append(NewItem<fw::MenuItem>({.Name = "EditCopy", .Text = "&Copy", .KeyboardShortcut = "Cmd+C"}));
  edit->Append(NewItem<fw::MenuItem>({.Name = "EditPaste", .Text = "&Paste", .KeyboardShortcut = "Cmd+V"}));
  edit->Append(NewItem<fw::MenuItem>({.Name = "EditClear", .Text = "&Delete"}));
  edit->Append(NewItem<fw::MenuItem>({.Name = "UntitledMenu0", .Text = "-"}));
  edit->Append(NewItem<fw::MenuItem>({.Name = "EditSelectAll", .Text = "Select &All", .KeyboardShortcut = "Cmd+A"}));
  edit->Append(NewItem<fw::PrefsMenuItem>({.Name = "ApplePref", .AutoEnable = false, .Text = "環境設定"}));
  edit->Append(NewItem<fw::AppleMenuItem>({.Name = "AppleAbout", .Text = "ポスタリオについて..."}));
}

#include "mainwindow/MenuBar1.h"

#include <memory>

namespace {
std::unique_ptr<MenuBar1> g_menuBar;

template <class Item>
std::unique_ptr<fw::MenuItem> NewItem(const char* name, bool autoEnable, const char* text, const char* shortcut) {
  auto item = std::make_unique<Item>();
  item->Name = name;
  item->AutoEnable = autoEnable;
  item->Text = text;
  if (shortcut) item->KeyboardShortcut = shortcut;
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
  Append(NewItem<fw::MenuItem>("FileMenu", true, "&File", ""));
  Child("FileMenu")->Append(NewItem<fw::QuitMenuItem>("FileQuit", true, "&Quit", "Cmd+Q"));
}

void MenuBar1::Untitled1() {
  Append(NewItem<fw::MenuItem>("EditMenu", true, "&Edit", ""));
  fw::MenuItem* edit = Child("EditMenu");
  edit->Append(NewItem<fw::MenuItem>("EditUndo", true, "&Undo", "Cmd+Z"));
  edit->Append(NewItem<fw::MenuItem>("UntitledMenu1", true, "-", nullptr));
  edit->Append(NewItem<fw::MenuItem>("EditCut", true, "Cu&t", "Cmd+X"));
  edit->Append(NewItem<fw::MenuItem>("EditCopy", true, "&Copy", "Cmd+C"));
  edit->Append(NewItem<fw::MenuItem>("EditPaste", true, "&Paste", "Cmd+V"));
  edit->Append(NewItem<fw::MenuItem>("EditClear", true, "&Delete", ""));
  edit->Append(NewItem<fw::MenuItem>("UntitledMenu0", true, "-", nullptr));
  edit->Append(NewItem<fw::MenuItem>("EditSelectAll", true, "Select &All", "Cmd+A"));
  edit->Append(NewItem<fw::PrefsMenuItem>("ApplePref", false, "環境設定", ""));
  edit->Append(NewItem<fw::AppleMenuItem>("AppleAbout", true, "ポスタリオについて...", ""));
}

#include "mainwindow/Toolbar1.h"

Toolbar1::Toolbar1(fw::Window& window, const fw::ControlDecl& decl) : fw::Toolbar(window, decl) {
  struct ItemDecl {
    fw::ToolButton* item;
    const char* name;
    int style;
    const char* caption;
  };
  const ItemDecl items[] = {
      {&ToolItem1, "ToolItem1", fw::ToolItem::StyleButton, "送信"},
      {&ToolItem4, "ToolItem4", fw::ToolItem::StyleSeparator, "Untitled"},
      {&ToolItem5, "ToolItem5", fw::ToolItem::StyleFixedSpace, "Untitled"},
      {&ToolItem6, "ToolItem6", fw::ToolItem::StyleButton, "全チェック"},
      {&ToolItem7, "ToolItem7", fw::ToolItem::StyleButton, "全クリア"},
      {&ToolItem2, "ToolItem2", fw::ToolItem::StyleFlexibleSpace, "Untitled"},
      {&ToolItem3, "ToolItem3", fw::ToolItem::StyleButton, "送信設定"},
  };
  for (const ItemDecl& d : items) {
    d.item->Name = d.name;
    d.item->Style = d.style;
    d.item->SetEnabled(true);
    d.item->Caption = d.caption;
    d.item->HelpTag = "";
    Append(d.item);
  }
}

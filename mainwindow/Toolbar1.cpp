#include "mainwindow/Toolbar1.h"

Toolbar1::Toolbar1(fw::Window& window, const fw::ControlDecl& decl) : fw::Toolbar(window, decl) {
  struct ItemDecl {
    fw::ToolButton* item;
    const char* name;
    fw::ToolItemStyle style;
    const char* caption;
  };
  const ItemDecl items[] = {
      {.item = &ToolItem1, .name = "ToolItem1", .style = fw::ToolItemStyle::Button, .caption = "送信"},
      {.item = &ToolItem4, .name = "ToolItem4", .style = fw::ToolItemStyle::Separator, .caption = "Untitled"},
      {.item = &ToolItem5, .name = "ToolItem5", .style = fw::ToolItemStyle::FixedSpace, .caption = "Untitled"},
      {.item = &ToolItem6, .name = "ToolItem6", .style = fw::ToolItemStyle::Button, .caption = "全チェック"},
      {.item = &ToolItem7, .name = "ToolItem7", .style = fw::ToolItemStyle::Button, .caption = "全クリア"},
      {.item = &ToolItem2, .name = "ToolItem2", .style = fw::ToolItemStyle::FlexibleSpace, .caption = "Untitled"},
      {.item = &ToolItem3, .name = "ToolItem3", .style = fw::ToolItemStyle::Button, .caption = "送信設定"},
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

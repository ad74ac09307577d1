#pragma once
// The main window's toolbar: send, tick all, clear all and send settings, with three plain
// items between them.
#include "platform/ui/Toolbar.h"

class Toolbar1 : public fw::Toolbar {
 public:
  Toolbar1(fw::Window& window, const fw::ControlDecl& decl);

  fw::ToolButton ToolItem1;
  fw::ToolButton ToolItem4;
  fw::ToolButton ToolItem5;
  fw::ToolButton ToolItem6;
  fw::ToolButton ToolItem7;
  fw::ToolButton ToolItem2;
  fw::ToolButton ToolItem3;
};

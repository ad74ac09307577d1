#pragma once
// The program's menu bar: File with Quit; Edit with the editing items, Preferences and About.
#include "platform/ui/MenuBar.h"

class MenuBar1 : public fw::MenuBar {
 public:
  // The single menu bar, made on first use.
  static MenuBar1* Get();
  // Releases the single menu bar (at program end).
  static void Release();

 private:
  MenuBar1();
  void Untitled0();
  void Untitled1();
};

// The toolbar's icons and starting state.
#include "mainwindow/Window1.h"
#include "platform/ui/Picture.h"
#include "mainwindow/Pictures.h"
#include "mainwindow/Toolbar1.h"

void Window1::Toolbar11_Open() {
  struct IconDecl {
    fw::ToolButton* item;
    std::shared_ptr<fw::Picture> (*picture)();
  };
  const IconDecl icons[] = {
      {&Toolbar11->ToolItem1, button1},
      {&Toolbar11->ToolItem6, button2},
      {&Toolbar11->ToolItem7, button3},
      {&Toolbar11->ToolItem3, button6},
  };
  for (const IconDecl& d : icons) {
    std::shared_ptr<fw::Picture> icon = fw::NewPicture(41, 38, 32);
    // A missing picture leaves that layer blank rather than failing.
    if (std::shared_ptr<fw::Picture> picture = d.picture()) icon->Graphics()->DrawPicture(*picture, 0, 0);
    if (std::shared_ptr<fw::Picture> mask = anyMask()) icon->Mask(true)->Graphics()->DrawPicture(*mask, 0, 0);
    d.item->SetIcon(icon);
  }
  // These need a loaded set.
  Toolbar11->ToolItem1.SetEnabled(false);
  Toolbar11->ToolItem6.SetEnabled(false);
  Toolbar11->ToolItem7.SetEnabled(false);
}

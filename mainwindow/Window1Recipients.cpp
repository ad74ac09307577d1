// The recipient list and its checked count.
#include "mainwindow/Window1.h"

void Window1::LoadNameList() {}

void Window1::ListBox2_CellAction(int, int) {}

void Window1::CheckAllList(bool) {}

bool Window1::ListBox2_CellBackgroundPaint(fw::Graphics&, int, int) { return false; }

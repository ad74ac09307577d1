// The set list and the template fields.
#include "mainwindow/Window1.h"

void Window1::LoadSetList() {}

bool Window1::ListBox1_CellBackgroundPaint(fw::Graphics&, int, int) { return false; }

void Window1::ListBox1_Change() {}

void Window1::SelectSet() {}

void Window1::LoadTemplate() {}

void Window1::EditField2_TextChange() {}

void Window1::EditField3_TextChange() {}

void Window1::EditField4_TextChange() {}

// The toolbar's icons and starting state.
#include "mainwindow/Window1.h"

void Window1::Toolbar11_Open() {}

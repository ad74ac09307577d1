#include <QApplication>

#include "shell/Startup.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  int status = _Main();
  _Finalize();
  return status;
}

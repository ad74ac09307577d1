// Test programs of the widget-free layers run with a QCoreApplication: event loop, sockets and
// the cooperative threads work, and no widget library is linked.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

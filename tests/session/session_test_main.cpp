#include <gtest/gtest.h>

#include <QCoreApplication>

// The session needs an event loop for its worker's results, and no window.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

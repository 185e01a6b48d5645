// Painting text needs the font database of a GUI application; the tests
// run on the offscreen platform.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests at build time runs this too, without the test's
  // environment: no display is ever needed.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

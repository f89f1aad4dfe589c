#include <gtest/gtest.h>

#include <QApplication>

// Every test program's entry: an application object (the SQL drivers are
// plugins, and windows need one), offscreen unless told otherwise.
int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include <gtest/gtest.h>

#include <QCoreApplication>

// The SQL drivers are plugins, which Qt loads only with an application object.
int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

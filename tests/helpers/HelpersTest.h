#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "host/platform/ScriptedUser.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {

// A scripted user that also records every pause of the lock wait and the
// mouse pointer shown during it, and can act after each pause (another
// writer freeing the lock).
class RecordingUser : public ScriptedUser {
 public:
  void sleep(std::chrono::milliseconds duration) override;
  void onSleep(std::function<void()> action) { onSleep_ = std::move(action); }

  const std::vector<std::chrono::milliseconds>& sleeps() const { return sleeps_; }
  const std::vector<MousePointer>& pointersWhileSleeping() const { return pointers_; }

 private:
  std::vector<std::chrono::milliseconds> sleeps_;
  std::vector<MousePointer> pointers_;
  std::function<void()> onSleep_;
};

// Every helper test: a version-2 database without demo rows opened as
// MainConnection, settings in a temporary folder and a recording user.
class HelpersTest : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override;
  void TearDown() override;

  RecordingUser& user() { return *user_; }
  const TestDatabase& database() const { return *database_; }
  // fLocked of one lock, read without the helpers under test.
  static bool lockHeld(const QString& name);
  static int count(const QString& sql);

 private:
  QTemporaryDir folder_;
  std::unique_ptr<TestDatabase> database_;
  RecordingUser* user_ = nullptr;
  std::unique_ptr<ScopedPlatform> platform_;
};

}  // namespace qalvoro::test

#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "host/Globals.h"
#include "host/db/Recordset.h"
#include "host/platform/Platform.h"
#include "host/platform/ScriptedUser.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {

// A scripted user that also records every pause of the lock wait and the pointer shown during
// it, and can act after each pause (another writer freeing the lock).
class RecordingUser : public ScriptedUser {
 public:
  void sleep(std::chrono::milliseconds duration) override {
    sleeps_.push_back(duration);
    pointers_.push_back(mousePointer());
    ScriptedUser::sleep(duration);
    if (onSleep_) onSleep_();
  }
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
  void SetUp() override {
    Platform::useSettingsFolder(folder_.filePath("config"));
    globals().INI_Path = QStringLiteral("HelpersTest");
    database_ = std::make_unique<TestDatabase>(GetParam(), TestDatabase::Content::Version2);
    globals().MainConnection = std::make_unique<Connection>();
    MainConnection().open(database_->connectionString(), QStringLiteral("sa"), DbPassword);
    auto recording = std::make_unique<RecordingUser>();
    user_ = recording.get();
    platform_ = std::make_unique<ScopedPlatform>(std::move(recording));
  }
  void TearDown() override {
    platform_.reset();
    globals().MainConnection.reset();
    database_.reset();
  }

  RecordingUser& user() { return *user_; }
  const TestDatabase& database() const { return *database_; }
  // fLocked of one lock, read without the helpers under test.
  static bool lockHeld(const QString& name) {
    return count("SELECT fLocked FROM LockTables WHERE TableName = ?", {name}) != 0;
  }
  static int count(const QString& sql, const QVariantList& params = {}) {
    Recordset rows;
    rows.open(sql, MainConnection(), LockType::ReadOnly, params);
    return rows.value(rows.fieldNames().constFirst()).toInt();
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<TestDatabase> database_;
  RecordingUser* user_ = nullptr;
  std::unique_ptr<ScopedPlatform> platform_;
};

}  // namespace qalvoro::test

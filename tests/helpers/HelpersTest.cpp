#include "tests/helpers/HelpersTest.h"

#include <algorithm>

#include "host/Globals.h"
#include "host/Version2Database.h"
#include "host/db/Recordset.h"
#include "host/platform/Platform.h"

namespace qalvoro::test {

Version2Target::Version2Target(Engine engine) {
  if (engine == Engine::SQLite) {
    connectionString_ = folder_.filePath(QStringLiteral("v2.db"));
  } else {
    database_ = std::make_unique<TestDatabase>(engine);
    connectionString_ = database_->connectionString();
  }
  createVersion2Database(connectionString_, false);
}

void RecordingUser::sleep(std::chrono::milliseconds duration) {
  sleeps_.push_back(duration);
  pointers_.push_back(mousePointer());
  ScriptedUser::sleep(duration);
  if (onSleep_) onSleep_();
}

std::chrono::milliseconds RecordingUser::longestSleep() const {
  return sleeps_.empty() ? std::chrono::milliseconds{0}
                         : *std::max_element(sleeps_.begin(), sleeps_.end());
}

void HelpersTest::SetUp() {
  ASSERT_TRUE(folder_.isValid());
  Platform::useSettingsFolder(folder_.filePath("config"));
  globals().INI_Path = QStringLiteral("HelpersTest");
  target_ = std::make_unique<Version2Target>(GetParam());
  globals().MainConnection = std::make_unique<Connection>();
  MainConnection().open(target_->connectionString(), QStringLiteral("sa"), DbPassword);
  auto recording = std::make_unique<RecordingUser>();
  user_ = recording.get();
  platform_ = std::make_unique<ScopedPlatform>(std::move(recording));
}

void HelpersTest::TearDown() {
  platform_.reset();
  globals().MainConnection.reset();
  target_.reset();
}

void HelpersTest::setLanguage(const QString& letter) {
  SaveSetting(QStringLiteral("Language"), letter);
}

bool HelpersTest::lockHeld(const QString& name) {
  Recordset row;
  row.open(QStringLiteral("SELECT fLocked FROM LockTables WHERE TableName = ?"), MainConnection(),
           LockType::ReadOnly, {name});
  return row.value(QStringLiteral("fLocked")).toBool();
}

int HelpersTest::count(const QString& sql) {
  Recordset rows;
  rows.open(sql, MainConnection());
  return rows.value(rows.fieldNames().constFirst()).toInt();
}

}  // namespace qalvoro::test

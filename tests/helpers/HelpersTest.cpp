#include "tests/helpers/HelpersTest.h"

#include "host/Globals.h"
#include "host/db/Recordset.h"
#include "host/platform/Platform.h"

namespace qalvoro::test {

void RecordingUser::sleep(std::chrono::milliseconds duration) {
  sleeps_.push_back(duration);
  pointers_.push_back(mousePointer());
  ScriptedUser::sleep(duration);
  if (onSleep_) onSleep_();
}

void HelpersTest::SetUp() {
  Platform::useSettingsFolder(folder_.filePath("config"));
  globals().INI_Path = QStringLiteral("HelpersTest");
  database_ = std::make_unique<TestDatabase>(GetParam(), TestDatabase::Content::Version2);
  globals().MainConnection = std::make_unique<Connection>();
  MainConnection().open(database_->connectionString(), QStringLiteral("sa"), DbPassword);
  auto recording = std::make_unique<RecordingUser>();
  user_ = recording.get();
  platform_ = std::make_unique<ScopedPlatform>(std::move(recording));
}

void HelpersTest::TearDown() {
  platform_.reset();
  globals().MainConnection.reset();
  database_.reset();
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

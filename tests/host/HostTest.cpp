#include "tests/host/HostTest.h"

#include <QFile>
#include <QSettings>

#include "host/platform/Platform.h"
#include "host/Version2Database.h"
#include "host/forms/Windows.h"

namespace qalvoro::test {

void HostTest::SetUp() {
  ASSERT_TRUE(folder_.isValid());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.filePath("config"));
  iniName_ = QStringLiteral("QalvoroTest");
  ASSERT_TRUE(QFile::copy(QStringLiteral(QALVORO_BIN_DIR "/LTR.DRV"), folder_.filePath("LTR.DRV")));
  QFile::setPermissions(folder_.filePath("LTR.DRV"), QFile::ReadOwner | QFile::WriteOwner);
  createVersion2Database(databasePath(), true);
  auto scripted = std::make_unique<ScriptedUser>();
  user_ = scripted.get();
  platform_ = std::make_unique<ScopedPlatform>(std::move(scripted));
  globals().INI_Path = iniName_;
}

void HostTest::TearDown() {
  globals().LangRecordset.reset();
  globals().LangConnection.reset();
  globals().MainConnection.reset();
  globals().MsgBoxRtlFlags = 0;
  windows().clear();
  platform_.reset();
}

void HostTest::setSetting(const QString& key, const QString& value) {
  platform().saveSetting(iniName_, QStringLiteral("Setting"), key, value);
}

void HostTest::openLanguage() {
  globals().LangConnection = std::make_unique<Connection>();
  globals().LangConnection->open(appPath() + "LTR.DRV");
  globals().LangRecordset = std::make_unique<Recordset>();
  globals().LangRecordset->open(QStringLiteral("Lang"), *globals().LangConnection,
                                LockType::Pessimistic);
}

}  // namespace qalvoro::test

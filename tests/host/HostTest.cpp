#include "tests/host/HostTest.h"

#include <QFile>
#include <QProcess>

#include "host/Version2Database.h"
#include "host/db/Recordset.h"
#include "host/forms/Windows.h"
#include "host/platform/Platform.h"

namespace qalvoro::test {

void HostTest::SetUp() {
  ASSERT_TRUE(folder_.isValid());
  Platform::useSettingsFolder(folder_.filePath("config"));
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

QVariant HostTest::scalar(const QString& sql, const QVariantList& params) {
  Recordset rows;
  rows.open(sql, MainConnection(), LockType::ReadOnly, params);
  return rows.eof() ? QVariant() : rows.value(rows.fieldNames().constFirst());
}

int HostTest::count(const QString& sql, const QVariantList& params) {
  return scalar(sql, params).toInt();
}

std::pair<int, QString> HostTest::runHost(const QStringList& arguments) {
  QProcess host;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", appPath() + "config");
  host.setProcessEnvironment(environment);
  host.setProcessChannelMode(QProcess::MergedChannels);
  host.start(QStringLiteral(QALVORO_BIN_DIR "/qalvoro-host"), arguments);
  EXPECT_TRUE(host.waitForFinished(120000));
  return {host.exitCode(), QString::fromUtf8(host.readAll())};
}

}  // namespace qalvoro::test

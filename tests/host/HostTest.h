#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <utility>

#include "host/Globals.h"
#include "host/platform/ScriptedUser.h"

namespace qalvoro::test {

// A folder with a copy of LTR.DRV, a fresh demo version-2 database, settings of its own and a
// scripted user at the keyboard (user()).
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScriptedUser& user() { return *user_; }
  QString appPath() const { return folder_.path() + '/'; }
  QString databasePath() const { return folder_.filePath(QStringLiteral("v2.db")); }
  QString iniName() const { return iniName_; }
  void setSetting(const QString& key, const QString& value);
  // Opens the language table as StartUpdate does, without the rest.
  void openLanguage();

  // Single values and row counts of the version-2 database.
  QVariant scalar(const QString& sql, const QVariantList& params = {});
  int count(const QString& sql, const QVariantList& params = {});
  // Runs qalvoro-host with the arguments and settings of this folder;
  // returns its exit code and output.
  std::pair<int, QString> runHost(const QStringList& arguments);

 private:
  QTemporaryDir folder_;
  QString iniName_;
  ScriptedUser* user_ = nullptr;
  std::unique_ptr<ScopedPlatform> platform_;
};

}  // namespace qalvoro::test

#pragma once

#include <QVariant>
#include <functional>
#include <memory>

#include "browser/FrmBrowseAcc.h"
#include "tests/host/HostTest.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {

// The account browser on a demo version-2 database (the chart of accounts of
// the demo branches 1 and 2) on the engine version2Engine() names.
class BrowserTest : public HostTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  virtual Engine version2Engine() const { return Engine::SQLite; }

  // Opens the browser on the branch through BrowseAccount and hands it to
  // the script; returns what BrowseAccount returned.
  QString browse(int branch, const std::function<void(FrmBrowseAcc&)>& script);

  // Adds a branch and returns its ID.
  static int addBranch(const QString& name);
  // Adds an account under father ("_": top level) and raises the father's
  // Haves; returns the new ID.
  static qint64 addAccount(int branch, const QString& number, const QString& name,
                           const QString& father = QStringLiteral("_"), int type = 0);
  // Adds a journal line posted to the account.
  static void addJournalLine(qint64 accountId);

  static QVariant scalar(const QString& sql, const QVariantList& params = {});
  static int count(const QString& sql, const QVariantList& params = {});
  // ID of an account of a branch (0 when there is none).
  static qint64 idOf(const QString& number, int branch = 1);

  // Selects the node of the account as a click would.
  static void select(FrmBrowseAcc& window, const QString& number);
  static QString selectedKey(const FrmBrowseAcc& window);
  static QString setting(const QString& key);

 private:
  std::unique_ptr<TestDatabase> server_;
};

// BrowserTest once per engine.
class BrowserEngineTest : public BrowserTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
};

}  // namespace qalvoro::test

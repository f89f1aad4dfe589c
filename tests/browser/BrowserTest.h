#pragma once

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

  static int addBranch(const QString& name);
  // Adds an account under father ("_": top level), raises the father's
  // Haves and returns the new ID; nameE defaults to the Arabic name.
  static qint64 addAccount(int branch, const QString& number, const QString& name,
                           const QString& father = QStringLiteral("_"),
                           const QString& nameE = QStringLiteral("="));
  // ID of an account of a branch (0 when there is none).
  qint64 idOf(const QString& number, int branch = 1);

  // Selects the node of the account as a click would.
  static void select(FrmBrowseAcc& window, const QString& number);
  static QString selectedKey(const FrmBrowseAcc& window);

 private:
  std::unique_ptr<TestDatabase> server_;
};

// BrowserTest once per engine.
class BrowserEngineTest : public BrowserTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
};

}  // namespace qalvoro::test

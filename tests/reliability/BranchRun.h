#pragma once

// A small generated branch migrated by the unattended runs into version-2 databases on either
// engine, a canonical dump of version 2 and the checks that no record was left in part.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "host/db/Connection.h"
#include "tests/support/RowTexts.h"
#include "tools/mdbwriter/V1Generator.h"

namespace qalvoro::test {

struct RunResult {
  int code = -1;
  QString output;
};

// Done, or stopped by a rule (the branch has an account without its parent),
// without an error.
bool Completed(const RunResult& result);

// One unattended command: "accounts" (kind "" or "journal") or "catalogue"
// with its kind ("all" for every kind).
struct Step {
  QString command;
  QString kind;
};

// Accounts and journal, then every catalogue kind.
std::vector<Step> WholeBranch();
mdbwriter::v1::V1Options SmallBranch();

class Workspace {
 public:
  // The version-1 folders accounts/ and stock/, LTR.DRV, settings, a working
  // copy and the demo version-2 database "v2" on the engine.
  explicit Workspace(Engine engine, const mdbwriter::v1::V1Options& options = SmallBranch());
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  QString path() const { return folder_.path(); }
  // The connection string of a database by name; a name with a slash is one.
  QString target(const QString& name = QStringLiteral("v2")) const;
  void copyDatabase(const QString& from, const QString& to);
  void createDatabase(const QString& name);

  // Runs the step in this process on branch 1; failWrite > 0 fails that write.
  RunResult run(const Step& step, const QString& database = QStringLiteral("v2"),
                const QStringList& extra = {}, int failWrite = 0) const;
  // The steps up to the first that fails; the code is the last that was not 0.
  RunResult runAll(const std::vector<Step>& steps, const QString& database = QStringLiteral("v2"),
                   const QStringList& extra = {}) const;
  // A child qalvoro-host for the step (not started), with its own working copy.
  std::unique_ptr<QProcess> child(const Step& step, const QString& database, int branch,
                                  const QStringList& extra, const QString& workingCopy) const;

 private:
  QStringList arguments(const Step& step, const QString& database, int branch,
                        const QStringList& extra) const;

  Engine engine_;
  QTemporaryDir folder_;
  std::vector<QString> serverDatabases_;  // PostgreSQL databases to drop
};

// One line per row, sorted within each table: autonumber keys left out, every
// link to another row written as the content of that row.
QStringList CanonicalDump(const QString& database);
// One line per record left in part or lock left held (see the README).
QStringList PartialRecords(const QString& database);
// SQLite's own integrity check; "ok" on PostgreSQL.
QString IntegrityCheck(const QString& database);
// The lines only one of the dumps has, for a failure message.
std::string DumpDifference(const QStringList& expected, const QStringList& actual);

}  // namespace qalvoro::test

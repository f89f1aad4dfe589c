#pragma once

// What the reliability tests share: a folder with the version-1 files of a
// small branch, version-2 databases on either engine that can be copied, the
// unattended runs of the branch (in this process or as a child process), a
// canonical dump of version 2 and the checks that no record was left in
// part.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <ostream>
#include <vector>

#include "host/db/Connection.h"
#include "tools/mdbwriter/V1Generator.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace qalvoro::test {

struct RunResult {
  int code = -1;
  QString output;
};

// Whether a run went through its records without an error: done, or
// stopped by a rule of the migration (the sample branch has an account
// without its parent).
bool Completed(const RunResult& result);

// One unattended command of a branch migration: the accounts run (with or
// without the journal) or one kind of the catalogue run ("all" for every
// kind).
struct Step {
  QString command;  // "accounts" or "catalogue"
  QString kind;     // "journal" or "" for accounts; the catalogue kind
};

// The steps of a whole branch: accounts and journal, then every catalogue
// kind.
std::vector<Step> WholeBranch();

// The sizes of the small branch the tests migrate: a few accounts and
// entries, two items, one customer and one provider, one invoice of each
// side with a return, and seven vouchers.
mdbwriter::v1::V1Options SmallBranch();

class Workspace {
 public:
  // Writes accounts/ and stock/ from options into a temporary folder with
  // LTR.DRV, settings and a working copy of its own, and creates the demo
  // version-2 database "v2" on the engine.
  explicit Workspace(Engine engine, const mdbwriter::v1::V1Options& options = SmallBranch());
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Engine engine() const { return engine_; }
  QString path() const { return folder_.path(); }
  // The connection string of version-2 database name ("v2" is the first);
  // a name with a slash is a connection string already.
  QString target(const QString& name = QStringLiteral("v2")) const;
  // A copy of database from named to (replacing an older to).
  void copyDatabase(const QString& from, const QString& to);
  // A fresh demo database named name.
  void createDatabase(const QString& name);

  // The options of step on version-1 branch and version-2 branch of the
  // same number, into database, with the extra options.
  QStringList arguments(const Step& step, const QString& database, int branch = 1,
                        const QStringList& extra = {}) const;
  // Runs the step in this process; failWrite > 0 fails that write statement
  // of the run.
  RunResult run(const Step& step, const QString& database = QStringLiteral("v2"),
                const QStringList& extra = {}, int failWrite = 0) const;
  // Runs the steps one after the other, up to the first that fails; the
  // code is the last that was not 0 (3 when a rule stopped a step).
  RunResult runAll(const std::vector<Step>& steps, const QString& database = QStringLiteral("v2"),
                   const QStringList& extra = {}) const;
  // A child qalvoro-host running step (not started); workingCopy names its
  // own working copy.
  std::unique_ptr<QProcess> child(const Step& step, const QString& database, int branch,
                                  const QStringList& extra, const QString& workingCopy) const;

 private:
  Engine engine_;
  QTemporaryDir folder_;
  std::vector<QString> serverDatabases_;  // PostgreSQL databases to drop
};

// The content of a version-2 database, one line per row, sorted within each
// table: autonumber keys are left out and every link to another row is
// written as the content of that row.
QStringList CanonicalDump(const QString& database);

// What no run may leave, whatever stopped it: document headers without
// lines and lines without headers, customer balances that their credit
// invoices do not explain, parents whose Haves do not count their children,
// parties pointing at missing accounts, and table locks still held. One
// line per fault.
QStringList PartialRecords(const QString& database);

// SQLite's own integrity check; "ok" on PostgreSQL.
QString IntegrityCheck(const QString& database);

// The lines only one of the dumps has, for a failure message.
std::string DumpDifference(const QStringList& expected, const QStringList& actual);

}  // namespace qalvoro::test

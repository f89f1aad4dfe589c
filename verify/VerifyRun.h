#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

#include "verify/Reconciliation.h"

namespace qalvoro::verify {

// What a verification compares: the version-1 files (either product's may
// be left out) and the version-2 branch.
struct VerifySources {
  QString db;              // connection string of the version-2 database
  QString settings;        // settings name: the code page of version-1 text
  QString accountsFolder;  // with accountsFile: the accounts data file
  QString accountsFile;
  QString stockFolder;  // the folder of Stock001.mdb
  int oldBranch = 0;
  int branch = 0;
};

// Converts the chosen version-1 files afresh into a temporary folder (never
// the working copy), reads both sides once and compares them. Raises DbError
// when a file cannot be converted or a database read.
Reconciliation Verify(const VerifySources& sources);

// Verify, then prints the table and the seconds it took ("verify seconds:
// 0.42"); the findings, or nothing after printing why it failed.
std::optional<Reconciliation> VerifyAndPrint(const VerifySources& sources, QTextStream& out);

// qalvoro-host --verify: the options of the whole-branch run (--app-path,
// --settings, --db, --accounts-folder, --accounts-file, --stock-folder,
// --old-branch, --branch, --report FILE.json; the import options are
// accepted and ignored). Prints the table; writes the report file. Exit code
// 0 when nothing is missing or different, 4 when something is, 1 when the
// verification failed, 2 for wrong options.
int RunVerify(const QStringList& arguments, QTextStream& out);

// Writes {"verification": ...} into a JSON file, atomically; false when it
// cannot.
bool WriteVerificationReport(const QString& path, const Reconciliation& result);

}  // namespace qalvoro::verify

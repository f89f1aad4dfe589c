#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace qalvoro {

class Connection;

// The version-1 files of the two products and their one working copy.
// Nothing here touches a window.

// The single working copy of a version-1 file on this machine, shared by both
// restore windows: QALVORO_WORKING_COPY, or tmp_44d2.tmp in the user's data
// folder.
QString WorkingCopyPath();

// The accounts product's system files, refused as accounts data files
// (compared in upper case).
bool IsSystemFileName(const QString& fileName);

// Converts a version-1 file into the working copy (a child process reads the
// file; the file itself is never written). Raises DbError.
void MakeWorkingCopy(const QString& source);
// Converts what can be read safely of a damaged version-1 file into the
// working copy: damaged tables and rows are left out. Returns what was left
// out, one line per part. Raises DbError when nothing can be read.
QStringList MakeReadableWorkingCopy(const QString& source);
// Deletes the working copy when it exists. Raises DbError when it cannot.
void DeleteWorkingCopy();
// Opens the working copy. Raises DbError.
void OpenWorkingCopy(Connection& connection);
// Indexes the working copy of an accounts file for the lookups of the
// accounts window and the journal import: Card by branch and by account, and
// Gaid by entry when the file has a journal. Raises DbError.
void IndexAccountsFile(Connection& workingCopy);

// A version-1 branch: its name and number.
struct Version1Branch {
  QString name;
  int number = 0;
};

// Branches of table Branch of an accounts folder's General.MDB (read through
// a converted copy of its own).
std::vector<Version1Branch> BranchesOfGeneralFile(const QString& generalFile);
// Distinct branch numbers of table Card, each number also its name.
std::vector<Version1Branch> BranchesOfCard(Connection& workingCopy);
// Branches of the catalogue file's branch table.
std::vector<Version1Branch> BranchesOfStock(Connection& workingCopy);

// A version-1 date as "yyyy/mm/dd" (empty for Null or no date).
QString Version1DateText(const QVariant& value);

}  // namespace qalvoro

#pragma once

#include <QString>
#include <vector>

namespace qalvoro {

// One account of the chart as the account tree shows it (a row of CardAcc);
// Null texts are empty, Null numbers 0.
struct ChartAccount {
  QString number;  // AccNo
  QString nameA;   // AccNameA
  QString nameE;   // AccNameE
  QString father;  // ffather: the parent's AccNo, "_" for a top-level account
  int type = 0;    // ftype: 0 balance sheet, 1 profit and loss, 2 trading
  int haves = 0;   // Haves: the number of direct sub-accounts
};

// How the account tree reads and shows the chart of accounts of a branch.
// No windows.
namespace AccountChart {

// The accounts of the branch ordered by their parent's number, top-level
// accounts ("_") first, then by number: a parent comes before its children
// as long as account numbers extend their parent's number. Raises DbError.
std::vector<ChartAccount> Read(int branch);

// The name of the branch in the language ("E" English, otherwise Arabic);
// empty when there is no such branch. Raises DbError.
QString BranchName(int branch, const QString& language);

// The account's name in the language ("E" English, otherwise Arabic); in
// English the Arabic name stands in for a blank English one.
QString NameIn(const QString& nameA, const QString& nameE, const QString& language);

// "name==number", the name as NameIn gives it.
QString NodeText(const ChartAccount& account, const QString& language);

// "Close" for an account with sub-accounts, "Page" otherwise, followed by
// "Y", "R" or "G" for the types 0, 1 and 2 (no letter for other types).
QString ImageKey(const ChartAccount& account);

// Whether a node text matches the search text: by name, the text begins
// with it (mode 0) or contains it (mode 1); by number, the part after the
// first "==" begins with it (mode 0) or the whole text contains it (mode 1).
// Exact comparisons: case and diacritics matter.
bool NodeMatches(QStringView nodeText, QStringView search, bool byName, int mode);

}  // namespace AccountChart
}  // namespace qalvoro

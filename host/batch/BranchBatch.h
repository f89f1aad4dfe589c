#pragma once

#include <QStringList>
#include <QTextStream>

namespace qalvoro {

// Migrates one branch without a person, in one process: the accounts and
// the journal of --accounts-file in --accounts-folder through the accounts
// window, then every kind of the stock file in --stock-folder through the
// catalogue window, as the accounts and catalogue runs do; either folder
// may be left out. Prints the progress, a summary line per kind and ends
// with the worst exit code of the kinds. arguments are the options of
// qalvoro-host --batch branch (see its --help).
int RunBranchBatch(const QStringList& arguments, QTextStream& out);

}  // namespace qalvoro

#pragma once

#include <QStringList>
#include <QTextStream>

namespace qalvoro {

// Exit codes of an unattended run.
enum BatchExit {
  kBatchDone = 0,     // every row was processed
  kBatchFailed = 1,   // a file or database failed, or an error ended the run
  kBatchUsage = 2,    // the options are wrong
  kBatchStopped = 3,  // a rule stopped the run early (the row and reason are printed)
};

// Runs the accounts migration without a person: loads the accounts window
// offscreen, opens the version-1 file, chooses the branches, presses
// import-all and, when asked, the journal import; prints messages, a
// progress line now and then, and a summary. arguments are the options of
// qalvoro-host --batch accounts (see its --help).
int RunAccountsBatch(const QStringList& arguments, QTextStream& out);

}  // namespace qalvoro

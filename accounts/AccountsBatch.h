#pragma once

#include <QStringList>
#include <QTextStream>

#include "host/batch/BatchRun.h"

namespace qalvoro {

// Runs the accounts migration without a person: loads the accounts window
// offscreen, opens the version-1 file, chooses the branches, presses
// import-all and, when asked, the journal import; prints messages, the
// progress and a summary. arguments are the options of
// qalvoro-host --batch accounts (see its --help).
int RunAccountsBatch(const QStringList& arguments, QTextStream& out);

// The accounts window in a run: the accounts of file in folder as the kind
// "accounts" of session, then, with journal, the journal as the kind
// "journal" (also after a rule stopped the accounts; not after a failure).
// Returns why the window could not start, or nothing.
QString RunAccountsKinds(BatchSession& session, const BatchOptions& options, const QString& folder,
                         const QString& file, bool journal);

}  // namespace qalvoro

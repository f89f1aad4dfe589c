#pragma once

#include <QStringList>
#include <QTextStream>

#include "host/batch/BatchRun.h"

namespace qalvoro {

// Runs the accounts migration without a person: loads the accounts window
// offscreen, opens the version-1 file, chooses the branches, presses
// import-all and, when asked, the journal import; prints messages, a
// progress line now and then, and a summary. arguments are the options of
// qalvoro-host --batch accounts (see its --help).
int RunAccountsBatch(const QStringList& arguments, QTextStream& out);

}  // namespace qalvoro

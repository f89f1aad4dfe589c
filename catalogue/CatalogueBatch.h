#pragma once

#include <QStringList>
#include <QTextStream>

#include "host/batch/BatchRun.h"

namespace qalvoro {

// Runs the catalogue migration of one kind of record without a person:
// loads the catalogue window offscreen, opens the stock file, chooses the
// branches, filters the documents by date when asked, sets the controls the
// options name and presses import-all; prints messages, a progress line now
// and then, and a summary. arguments are the options of
// qalvoro-host --batch catalogue (see its --help).
int RunCatalogueBatch(const QStringList& arguments, QTextStream& out);

}  // namespace qalvoro

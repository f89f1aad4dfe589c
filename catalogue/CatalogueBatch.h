#pragma once

#include <QDate>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <vector>

#include "host/batch/BatchRun.h"

namespace qalvoro {

// Runs the catalogue migration without a person: loads the catalogue window
// offscreen, opens the stock file, chooses the branches, filters the
// documents by date when asked, sets the controls the options name and
// presses import-all for one kind of record, or for every kind in order;
// prints messages, the progress and a summary. arguments are the options
// of qalvoro-host --batch catalogue (see its --help).
int RunCatalogueBatch(const QStringList& arguments, QTextStream& out);

// A kind of record a run imports: its name in --kind, its tab and what one
// record is called.
struct CatalogueKind {
  QString name;
  int tab = 0;
  QString noun;
};

// The kinds, in the order --kind all runs them.
const std::vector<CatalogueKind>& CatalogueKinds();

// The options of a catalogue run, read and checked.
struct CatalogueOptions {
  std::vector<CatalogueKind> kinds;  // one, or every kind for "all"
  QDate from;
  QDate to;
  QString classification;
  std::optional<int> unit;
  std::optional<int> renumberFrom;
};

// The catalogue window's own options: those that take a value and the
// switches.
const QStringList& CatalogueValueOptions();
const QStringList& CatalogueSwitches();

// Reads the catalogue options of a run of the kind named (a kind or
// "all"); false when one is wrong.
bool ReadCatalogueOptions(const BatchOptions& options, const QString& kind,
                          CatalogueOptions& catalogue);

// Answers the prompts of a run: the filter with the dates of the run, the
// overwrite prompt as --overwrite says.
BatchUser::WindowScript CatalogueAnswers(const CatalogueOptions& catalogue,
                                         const QString& overwrite);

// The catalogue window in a run: the stock file of folder, each kind of
// catalogue in order as a kind of session; a kind that does not process
// every row ends the run. Returns why the window could not start, or
// nothing.
QString RunCatalogueKinds(BatchSession& session, const BatchOptions& options, const QString& folder,
                          const CatalogueOptions& catalogue);

}  // namespace qalvoro

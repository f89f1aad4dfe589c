#pragma once

#include <QString>

namespace qalvoro {

// What became of each record of an import run, for those who watch a run
// without looking at the window: the window's own summary and the
// unattended batch run.
class ImportReport {
 public:
  enum class Outcome { Imported, Overwritten, Skipped, Refused };

  virtual ~ImportReport() = default;
  // A run starts that will handle total version-1 records (entries for the
  // journal).
  virtual void begin(int total) = 0;
  // A version-1 record was handled and removed from the working copy.
  virtual void record(const QString& key, Outcome outcome, const QString& reason) = 0;
  // The run stopped at a record, which stays in the working copy.
  virtual void stopped(const QString& key, const QString& reason) = 0;
  // A journal entry was written with its lines; skippedLines had no account
  // in version 2, and without them the entry may no longer balance.
  virtual void entry(int number, int lines, int skippedLines, bool balanced) = 0;
};

}  // namespace qalvoro

#pragma once

#include <QString>

namespace qalvoro {

// What became of each record of an import run, for those who watch a run
// without looking at the window (the unattended batch run).
class ImportReport {
 public:
  enum class Outcome { Imported, Overwritten, Skipped, Refused };

  virtual ~ImportReport() = default;
  // A version-1 record was handled and removed from the working copy.
  virtual void record(const QString& key, Outcome outcome, const QString& reason) = 0;
  // The run stopped at a record, which stays in the working copy.
  virtual void stopped(const QString& key, const QString& reason) = 0;
  // A journal entry was written with its lines.
  virtual void entry(int number, int lines, int skippedLines) = 0;
};

}  // namespace qalvoro

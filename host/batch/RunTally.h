#pragma once

#include <QString>
#include <vector>

#include "host/batch/ImportReport.h"

namespace qalvoro {

// Counts what one run of a restore window did: the records imported,
// overwritten, skipped and refused (with their numbers and reasons), where
// it stopped, and for the journal the entries written and the lines left
// out because their account is missing. It passes everything on to another
// report when one is attached (the batch run's). The windows show its
// summary at the end of every run; the batch runs print it too.
class RunTally : public ImportReport {
 public:
  struct Refusal {
    QString key;
    QString reason;
  };
  // An entry written without some of its lines.
  struct LeftOut {
    int entry = 0;
    int lines = 0;
    bool balanced = true;
  };

  // Everything is passed on to next too (nothing when null).
  void forwardTo(ImportReport* next) { next_ = next; }

  void begin(int total) override;
  void record(const QString& key, Outcome outcome, const QString& reason) override;
  void stopped(const QString& key, const QString& reason) override;
  void entry(int number, int lines, int skippedLines, bool balanced) override;

  int total() const { return total_; }
  int imported() const { return imported_; }
  int overwritten() const { return overwritten_; }
  int skipped() const { return skipped_; }
  const std::vector<Refusal>& refused() const { return refused_; }
  int handled() const { return imported_ + overwritten_ + skipped_ + int(refused_.size()); }
  bool wasStopped() const { return stopped_; }
  const QString& stoppedKey() const { return stoppedKey_; }
  const QString& stoppedReason() const { return stoppedReason_; }
  int entries() const { return entries_; }
  int lines() const { return lines_; }
  const std::vector<LeftOut>& leftOut() const { return leftOut_; }
  int linesLeftOut() const;

  // "imported 2, overwritten 1, skipped 0, refused 0"
  QString counts() const;
  // The summary of a run of records, or of the journal, in the language of
  // the windows (through Translate), one fact a line.
  QString recordsSummary() const;
  QString journalSummary() const;

 private:
  ImportReport* next_ = nullptr;
  int total_ = 0;
  int imported_ = 0;
  int overwritten_ = 0;
  int skipped_ = 0;
  std::vector<Refusal> refused_;
  bool stopped_ = false;
  QString stoppedKey_;
  QString stoppedReason_;
  int entries_ = 0;
  int lines_ = 0;
  std::vector<LeftOut> leftOut_;
};

// Shows a window's summary of its run as an information message.
void ShowRunSummary(const QString& summary);

}  // namespace qalvoro

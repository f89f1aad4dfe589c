#pragma once

#include <QComboBox>
#include <QCommandLineParser>
#include <QPushButton>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <vector>

#include "host/batch/ImportReport.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/platform/BatchUser.h"

namespace qalvoro {

// Exit codes of an unattended run.
enum BatchExit {
  kBatchDone = 0,     // every row was processed
  kBatchFailed = 1,   // a file or database failed, or an error ended the run
  kBatchUsage = 2,    // the options are wrong
  kBatchStopped = 3,  // a rule stopped the run early (the row and reason are printed)
};

// The options of an unattended restore run: those every run takes
// (--app-path, --settings, --db, --v1-folder, --old-branch, --branch,
// --overwrite) and those its kind adds.
class BatchOptions {
 public:
  // The kind's own options: those that take a value and plain switches.
  BatchOptions(const QStringList& valueOptions, const QStringList& switches);

  // Reads the arguments. False, after printing "batch: " and the reason (or
  // usage), when an option is unknown, a shared one is missing or wrong, or
  // one of required (the kind's own) is missing.
  bool parse(const QStringList& arguments, const QStringList& required, const QString& usage,
             QTextStream& out);

  QString appPath() const { return appPath_; }  // ends with "/"
  QString settings() const { return value(QStringLiteral("settings")); }
  QString db() const { return value(QStringLiteral("db")); }
  QString folder() const { return value(QStringLiteral("v1-folder")); }
  int oldBranch() const { return oldBranch_; }
  int branch() const { return branch_; }
  QString overwrite() const { return overwrite_; }  // yes-all, no-all (default) or cancel

  QString value(const QString& name) const { return parser_.value(name); }
  bool isSet(const QString& name) const { return parser_.isSet(name); }

 private:
  QCommandLineParser parser_;
  QString appPath_;
  int oldBranch_ = 0;
  int branch_ = 0;
  QString overwrite_;
};

// Counts what became of every record of a run, prints a progress line now
// and then, and the summary at the end. noun names one record ("account").
class BatchSummary : public ImportReport {
 public:
  BatchSummary(QTextStream& out, QString noun, bool withEntries);

  void record(const QString& key, Outcome outcome, const QString& reason) override;
  void stopped(const QString& key, const QString& reason) override;
  void entry(int number, int lines, int skippedLines) override;

  bool wasStopped() const { return !stoppedAt_.isEmpty(); }
  const QString& stoppedAt() const { return stoppedAt_; }
  // The counts, the refusals and "ended: " + ending.
  void print(const QString& ending) const;
  // One line of a run of several kinds: "summary " + kind, the counts and
  // the kind's ending; then the refusals.
  void printKind(const QString& kind, const QString& ending) const;

 private:
  QString counts() const;

  QTextStream& out_;
  QString noun_;
  bool withEntries_;
  int records_ = 0;
  int imported_ = 0;
  int overwritten_ = 0;
  int skipped_ = 0;
  std::vector<QString> refused_;
  QString stoppedAt_;
  int entries_ = 0;
  int lines_ = 0;
  int skippedLines_ = 0;
};

// How a run, or one kind of records in it, ended: the exit code and the
// text after "ended: ".
struct BatchEnding {
  int code = kBatchDone;
  QString text;
};

// The ending of a summary: failed when errors were shown (the last is
// named), else stopped by a rule, else done.
BatchEnding EndingOf(const BatchSummary& summary, const QStringList& errors);

// Answers the overwrite prompt as --overwrite says; does nothing with other
// windows.
void AnswerOverwritePrompt(QWidget& window, const QString& answer);

// The body of a run: drives the window with the summary as its report;
// returns why the run could not start, or nothing.
using BatchBody = std::function<QString(BatchUser& user, BatchSummary& summary)>;

// Chooses the version-2 and the version-1 branch of the options in a
// restore window whose version-1 file is open; why it could not, or
// nothing.
template <class Window>
QString ChooseBranches(Window& window, const BatchOptions& options) {
  SelectComboByData(*window.CboBranch, options.branch());
  if (window.CboBranch->currentIndex() < 0) {
    return QStringLiteral("no version-2 branch %1").arg(options.branch());
  }
  SelectComboByData(*window.CboOldBranch, options.oldBranch());
  if (window.CboOldBranch->currentIndex() < 0) {
    return QStringLiteral("no version-1 branch %1 in the file").arg(options.oldBranch());
  }
  return {};
}

// A restore window in a run: loaded offscreen; prepare opens the version-1
// file and sets the controls the options name (returning why it could
// not); then run presses the window's buttons, and the exit button ends it.
// Returns why the run could not start, or nothing.
template <class Window>
QString DriveRestoreWindow(const std::function<QString(Window&)>& prepare,
                           const std::function<void(Window&)>& run) {
  auto& window = windows().get<Window>();
  window.load();
  const QString failure = prepare(window);
  if (failure.isEmpty()) {
    run(window);
    window.Cmd_Exit->click();
  }
  window.setReport(nullptr);
  windows().unload<Window>();
  return failure;
}

// What the two restore windows do in a run of one kind of records: the
// window with the summary as its report, prepared; then import-all and
// whatever follows it (the journal).
template <class Window>
QString RunRestoreWindow(BatchSummary& summary, const std::function<QString(Window&)>& prepare,
                         const std::function<void(Window&)>& afterImport = {}) {
  return DriveRestoreWindow<Window>(
      [&](Window& window) {
        window.setReport(&summary);
        return prepare(window);
      },
      [&](Window& window) {
        window.CmdImportAll->click();
        if (afterImport) afterImport(window);
      });
}

// The frame of an unattended run: a batch user whose modal windows go to
// script and the session of the options' databases around body, which
// prints its summary and returns the exit code; then closes the session and
// releases the windows.
int RunSession(const BatchOptions& options, BatchUser::WindowScript script,
               const std::function<int(BatchUser& user)>& body, QTextStream& out);

// Runs an unattended run of one kind of records: the body within a
// session, the summary and the exit code (done, stopped by a rule, or
// failed when an error was shown).
int RunBatch(const BatchOptions& options, const QString& noun, bool withEntries,
             BatchUser::WindowScript script, const BatchBody& body, QTextStream& out);

}  // namespace qalvoro

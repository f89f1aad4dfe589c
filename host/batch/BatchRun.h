#pragma once

#include <QComboBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QPushButton>
#include <QStringList>
#include <QTextStream>
#include <deque>
#include <functional>
#include <optional>

#include "host/batch/ProgressLine.h"
#include "host/batch/RunReport.h"
#include "host/batch/RunTally.h"
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
// --overwrite, --report) and those its kind adds.
class BatchOptions {
 public:
  // The kind's own options: those that take a value and plain switches.
  BatchOptions(const QStringList& valueOptions, const QStringList& switches);

  // Reads the arguments. False, after printing "batch: " and the reason (or
  // usage), when an option is unknown, a shared one is missing or wrong, or
  // one of required is missing.
  bool parse(const QStringList& arguments, const QStringList& required, const QString& usage,
             QTextStream& out);

  QString appPath() const { return appPath_; }  // ends with "/"
  QString settings() const { return value(QStringLiteral("settings")); }
  QString db() const { return value(QStringLiteral("db")); }
  QString folder() const { return value(QStringLiteral("v1-folder")); }
  int oldBranch() const { return oldBranch_; }
  int branch() const { return branch_; }
  QString overwrite() const { return overwrite_; }  // yes-all, no-all (default) or cancel
  QString reportPath() const { return value(QStringLiteral("report")); }

  QString value(const QString& name) const { return parser_.value(name); }
  bool isSet(const QString& name) const { return parser_.isSet(name); }

 private:
  QCommandLineParser parser_;
  QString appPath_;
  int oldBranch_ = 0;
  int branch_ = 0;
  QString overwrite_;
};

// How a run, or one kind of records in it, ended: the exit code and the
// text after "ended: ".
struct BatchEnding {
  int code = kBatchDone;
  QString text;
};

// One kind of records of a run ("accounts", "journal", "items", ...): what
// became of every record (a RunTally), the progress line, the time it took
// and how it ended. The restore window reports to it.
class BatchSummary : public ImportReport {
 public:
  // noun names one record ("account") in the ending; journal: the kind
  // counts entries and lines.
  BatchSummary(QString kind, QString noun, bool journal, ProgressLine& progress);

  void begin(int total) override;
  void record(const QString& key, Outcome outcome, const QString& reason) override;
  void stopped(const QString& key, const QString& reason) override;
  void entry(int number, int lines, int skippedLines, bool balanced) override;

  const QString& kind() const { return kind_; }
  const RunTally& tally() const { return tally_; }
  bool wasStopped() const { return tally_.wasStopped(); }
  // "account 9901: parent account 99 does not exist", or the reason alone
  // when the run stopped at no record.
  QString stoppedAt() const;
  // The kind starts (its time is counted from here) and is over.
  void start();
  void finish(BatchEnding ending);
  // None when the kind did not run.
  const std::optional<BatchEnding>& ending() const { return ending_; }

  // "summary: " and the counts (or the entries), then the refusals and the
  // entries with lines left out.
  void print(QTextStream& out) const;
  // One line of a run of several kinds: "summary " + kind, the counts and
  // the ending (or "not run"); then the refusals and lines left out.
  void printKind(QTextStream& out) const;
  // The kind in the report file.
  QJsonObject toJson() const;

 private:
  QString counts() const;
  void printDetails(QTextStream& out) const;

  QString kind_;
  QString noun_;
  bool journal_;
  ProgressLine& progress_;
  RunTally tally_;
  bool begun_ = false;
  QElapsedTimer timer_;
  double seconds_ = 0;
  std::optional<BatchEnding> ending_;
};

// The ending of a kind: failed when errors were shown (the last is named),
// else stopped by a rule, else done.
BatchEnding EndingOf(const BatchSummary& summary, const QStringList& errors);

// The worst ending of the kinds that ran: failed over stopped over done.
BatchEnding WorstEnding(const std::deque<BatchSummary>& kinds);

// Answers the overwrite prompt as --overwrite says; does nothing with other
// windows.
void AnswerOverwritePrompt(QWidget& window, const QString& answer);

// What the body of a run works with: the batch user, the progress line,
// the kinds of records in the order they run and the report file.
class BatchSession {
 public:
  BatchSession(BatchUser& user, ProgressLine& progress, RunReport& report)
      : user_(user), progress_(progress), report_(report) {}

  BatchUser& user() { return user_; }
  RunReport& report() { return report_; }
  const std::deque<BatchSummary>& kinds() const { return kinds_; }
  // A kind of records of the run, not yet run.
  BatchSummary& addKind(const QString& kind, const QString& noun, bool journal = false);
  // Runs a kind: action presses the window's buttons with the kind as the
  // window's report; the kind ends as the records and the errors shown
  // meanwhile say.
  const BatchEnding& runKind(BatchSummary& kind, const std::function<void()>& action);

 private:
  BatchUser& user_;
  ProgressLine& progress_;
  RunReport& report_;
  std::deque<BatchSummary> kinds_;
};

// The body of a run: drives the windows and prints its summary; returns
// how the run ended ("ended: " and the text are printed after it).
using SessionBody = std::function<BatchEnding(BatchSession& session)>;

// The frame of an unattended run (run names it in the report): a batch
// user whose modal windows go to script and whose messages name the kind
// and row in hand, the session of the options' databases around body, the
// ending, the report file (also after a failure); then closes the session
// and releases the windows. Returns the exit code.
int RunSession(const BatchOptions& options, const QString& run, BatchUser::WindowScript script,
               const SessionBody& body, QTextStream& out);

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

}  // namespace qalvoro

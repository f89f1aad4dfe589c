#include "host/batch/BatchRun.h"

#include <unistd.h>

#include <QJsonArray>
#include <QPushButton>

#include "host/Globals.h"
#include "host/ImportData.h"
#include "host/db/DbError.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/Windows.h"

namespace qalvoro {
namespace {

const QStringList kSharedValues = {"app-path", "settings",  "db",    "v1-folder", "old-branch",
                                   "branch",   "overwrite", "batch", "report"};

const QString kEveryRow = QStringLiteral("every row was processed");

// The rank of an exit code: failed over stopped over done.
int severity(int code) { return code == kBatchFailed ? 2 : code == kBatchStopped ? 1 : 0; }

// The batch user of a session: its messages name the kind and the row in
// hand, and end a progress line shown in place.
class SessionUser : public BatchUser {
 public:
  SessionUser(QTextStream& out, ProgressLine& progress) : BatchUser(out), progress_(progress) {}

 protected:
  void printMessage(QTextStream& out, const QString& text) override {
    progress_.interrupt();
    const QString where = progress_.where();
    out << "message" << (where.isEmpty() ? QString() : " [" + where + ']') << ": " << text
        << Qt::endl;
  }

 private:
  ProgressLine& progress_;
};

}  // namespace

BatchOptions::BatchOptions(const QStringList& valueOptions, const QStringList& switches) {
  for (const QString& name : kSharedValues + valueOptions) {
    parser_.addOption({name, QString(), QStringLiteral("value")});
  }
  for (const QString& name : switches) parser_.addOption({name, QString()});
}

bool BatchOptions::parse(const QStringList& arguments, const QStringList& required,
                         const QString& usage, QTextStream& out) {
  if (!parser_.parse(QStringList{QStringLiteral("batch")} + arguments)) {
    out << "batch: " << parser_.errorText() << Qt::endl;
    return false;
  }
  appPath_ = value(QStringLiteral("app-path"));
  if (!appPath_.isEmpty() && !appPath_.endsWith('/')) appPath_ += '/';
  bool oldOk = false;
  bool newOk = false;
  oldBranch_ = value(QStringLiteral("old-branch")).toInt(&oldOk);
  branch_ = value(QStringLiteral("branch")).toInt(&newOk);
  overwrite_ = value(QStringLiteral("overwrite"));
  if (overwrite_.isEmpty()) overwrite_ = QStringLiteral("no-all");
  bool complete = !appPath_.isEmpty() && !db().isEmpty() && oldOk && newOk;
  for (const QString& name : required) complete = complete && !value(name).isEmpty();
  const bool knownAnswer = QStringList{"yes-all", "no-all", "cancel"}.contains(overwrite_);
  if (!complete || !knownAnswer) {
    out << "batch: " << usage << Qt::endl;
    return false;
  }
  return true;
}

BatchSummary::BatchSummary(QString kind, QString noun, bool journal, ProgressLine& progress)
    : kind_(std::move(kind)), noun_(std::move(noun)), journal_(journal), progress_(progress) {}

void BatchSummary::start() { timer_.start(); }

void BatchSummary::begin(int total) {
  if (begun_) return;
  begun_ = true;
  tally_.begin(total);
  progress_.begin(kind_, total);
}

void BatchSummary::record(const QString& key, Outcome outcome, const QString& reason) {
  tally_.record(key, outcome, reason);
  progress_.advance();
}

void BatchSummary::stopped(const QString& key, const QString& reason) {
  tally_.stopped(key, reason);
}

void BatchSummary::entry(int number, int lines, int skippedLines, bool balanced) {
  tally_.entry(number, lines, skippedLines, balanced);
  progress_.advance();
}

QString BatchSummary::stoppedAt() const {
  if (tally_.stoppedKey().isEmpty()) return tally_.stoppedReason();
  return QStringLiteral("%1 %2: %3").arg(noun_, tally_.stoppedKey(), tally_.stoppedReason());
}

void BatchSummary::finish(BatchEnding ending) {
  progress_.end();
  seconds_ = timer_.isValid() ? timer_.elapsed() / 1000.0 : 0;
  ending_ = std::move(ending);
}

QString BatchSummary::counts() const {
  if (!journal_) return tally_.counts();
  return QStringLiteral("entries %1, lines %2, lines without account %3")
      .arg(tally_.entries())
      .arg(tally_.lines())
      .arg(tally_.linesLeftOut());
}

void BatchSummary::printDetails(QTextStream& out) const {
  for (const RunTally::Refusal& refusal : tally_.refused()) {
    out << "refused: " << refusal.key << ": " << refusal.reason << Qt::endl;
  }
  for (const RunTally::LeftOut& entry : tally_.leftOut()) {
    out << "left out: entry " << entry.entry << ": " << entry.lines << " lines without account"
        << (entry.balanced ? "" : "; the entry no longer balances") << Qt::endl;
  }
}

void BatchSummary::print(QTextStream& out) const {
  out << "summary: " << counts() << Qt::endl;
  printDetails(out);
}

void BatchSummary::printKind(QTextStream& out) const {
  if (!ending_) {
    out << "summary " << kind_ << ": not run" << Qt::endl;
    return;
  }
  out << "summary " << kind_ << ": " << counts() << "; " << ending_->text << Qt::endl;
  printDetails(out);
}

QJsonObject BatchSummary::toJson() const {
  QJsonArray refused;
  for (const RunTally::Refusal& refusal : tally_.refused()) {
    refused.append(QJsonObject{{"number", refusal.key}, {"reason", refusal.reason}});
  }
  QJsonObject kind{{"kind", kind_},
                   {"version1Rows", tally_.total()},
                   {"imported", tally_.imported()},
                   {"overwritten", tally_.overwritten()},
                   {"skipped", tally_.skipped()},
                   {"refused", refused},
                   {"seconds", seconds_},
                   {"ended", ending_ ? ending_->text : QStringLiteral("not run")},
                   {"exitCode", ending_ ? QJsonValue(ending_->code) : QJsonValue()}};
  if (journal_) {
    QJsonArray leftOut;
    for (const RunTally::LeftOut& entry : tally_.leftOut()) {
      leftOut.append(QJsonObject{
          {"entry", entry.entry}, {"lines", entry.lines}, {"balanced", entry.balanced}});
    }
    kind.insert("entries", tally_.entries());
    kind.insert("lines", tally_.lines());
    kind.insert("linesWithoutAccount", leftOut);
  }
  return kind;
}

BatchEnding EndingOf(const BatchSummary& summary, const QStringList& errors) {
  if (!errors.isEmpty()) return {kBatchFailed, "failed: " + errors.constLast()};
  if (summary.wasStopped()) return {kBatchStopped, "stopped at " + summary.stoppedAt()};
  return {kBatchDone, kEveryRow};
}

BatchEnding WorstEnding(const std::deque<BatchSummary>& kinds) {
  BatchEnding worst{kBatchDone, kEveryRow};
  for (const BatchSummary& kind : kinds) {
    if (kind.ending() && severity(kind.ending()->code) > severity(worst.code)) {
      worst = *kind.ending();
    }
  }
  return worst;
}

void AnswerOverwritePrompt(QWidget& window, const QString& answer) {
  auto* prompt = qobject_cast<FrmOverWrite*>(&window);
  if (!prompt) return;
  if (answer == QLatin1String("yes-all")) prompt->CmdYesAll->click();
  if (answer == QLatin1String("no-all")) prompt->CmdNoAll->click();
  if (answer == QLatin1String("cancel")) prompt->CmdCancel->click();
}

BatchSummary& BatchSession::addKind(const QString& kind, const QString& noun, bool journal) {
  return kinds_.emplace_back(kind, noun, journal, progress_);
}

const BatchEnding& BatchSession::runKind(BatchSummary& kind, const std::function<void()>& action) {
  const qsizetype errorsBefore = user_.errors().size();
  kind.start();
  action();
  kind.finish(EndingOf(kind, user_.errors().mid(errorsBefore)));
  return *kind.ending();
}

int RunSession(const BatchOptions& options, const QString& run, BatchUser::WindowScript script,
               const SessionBody& body, QTextStream& out) {
  ProgressLine progress(out, isatty(STDOUT_FILENO) == 1);
  auto installedUser = std::make_unique<SessionUser>(out, progress);
  BatchUser& user = *installedUser;
  user.setWindowScript(std::move(script));
  const ScopedPlatform installed(std::move(installedUser));
  RunReport report(options.reportPath(), run);
  BatchSession session(user, progress, report);
  BatchEnding ending{kBatchFailed, QString()};
  try {
    if (!ImportData::OpenSession(options.appPath(), options.settings(), options.db())) {
      ending.text = QStringLiteral("failed: the databases could not be opened");
    } else {
      ending = body(session);
    }
  } catch (const DbError& error) {
    ending.text = QStringLiteral("failed: Err:%1 %2").arg(error.number()).arg(error.description());
  }
  progress.interrupt();
  out << "ended: " << ending.text << Qt::endl;
  ImportData::CloseSession();
  windows().clear();
  ReleaseGlobals();
  for (const BatchSummary& kind : session.kinds()) report.addKind(kind.toJson());
  report.setEnding(ending.code, ending.text);
  if (QString error; !report.write(error)) {
    out << "report: " << options.reportPath() << " could not be written: " << error << Qt::endl;
    if (ending.code == kBatchDone) ending.code = kBatchFailed;
  }
  return ending.code;
}

}  // namespace qalvoro

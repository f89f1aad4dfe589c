#include "host/batch/RunTally.h"

#include <QStringList>

#include "host/Globals.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

// At most this many numbers are listed in a window's summary.
constexpr int kListed = 20;

QString line(const char* arabicLabel, const QString& value) {
  return Translate(QString::fromUtf8(arabicLabel)) + ' ' + value;
}

QString listed(const QStringList& numbers) {
  QString text = numbers.mid(0, kListed).join(QStringLiteral(", "));
  if (numbers.size() > kListed) text += QStringLiteral(", …");
  return text;
}

}  // namespace

void RunTally::begin(int total) {
  ImportReport* const next = next_;
  *this = RunTally();
  next_ = next;
  total_ = total;
  if (next_) next_->begin(total);
}

void RunTally::record(const QString& key, Outcome outcome, const QString& reason) {
  switch (outcome) {
    case Outcome::Imported:
      ++imported_;
      break;
    case Outcome::Overwritten:
      ++overwritten_;
      break;
    case Outcome::Skipped:
      ++skipped_;
      break;
    case Outcome::Refused:
      refused_.push_back({key, reason});
      break;
  }
  if (next_) next_->record(key, outcome, reason);
}

void RunTally::stopped(const QString& key, const QString& reason) {
  stopped_ = true;
  stoppedKey_ = key;
  stoppedReason_ = reason;
  if (next_) next_->stopped(key, reason);
}

void RunTally::entry(int number, int lines, int skippedLines, bool balanced) {
  ++entries_;
  lines_ += lines;
  if (skippedLines > 0) leftOut_.push_back({number, skippedLines, balanced});
  if (next_) next_->entry(number, lines, skippedLines, balanced);
}

int RunTally::linesLeftOut() const {
  int lines = 0;
  for (const LeftOut& entry : leftOut_) lines += entry.lines;
  return lines;
}

QString RunTally::counts() const {
  return QStringLiteral("imported %1, overwritten %2, skipped %3, refused %4")
      .arg(imported_)
      .arg(overwritten_)
      .arg(skipped_)
      .arg(refused_.size());
}

QString RunTally::recordsSummary() const {
  QStringList text = {
      Translate(QStringLiteral("انتهى الاستيراد.")), line("المستورد:", QString::number(imported_)),
      line("المستبدل:", QString::number(overwritten_)), line("المتروك:", QString::number(skipped_)),
      line("المرفوض:", QString::number(refused_.size()))};
  if (!refused_.empty()) {
    QStringList keys;
    for (const Refusal& refusal : refused_) keys << refusal.key;
    text << listed(keys);
  }
  if (stopped_) text << line("توقف عند:", stoppedKey_);
  return text.join('\n');
}

QString RunTally::journalSummary() const {
  QStringList text = {Translate(QStringLiteral("انتهى استيراد القيود.")),
                      line("القيود:", QString::number(entries_)),
                      line("السطور:", QString::number(lines_)),
                      line("سطور تركت لأن حسابها غير موجود:", QString::number(linesLeftOut()))};
  QStringList entries;
  QStringList unbalanced;
  for (const LeftOut& entry : leftOut_) {
    entries << QString::number(entry.entry);
    if (!entry.balanced) unbalanced << QString::number(entry.entry);
  }
  if (!entries.isEmpty()) text << line("في القيود:", listed(entries));
  if (!unbalanced.isEmpty()) text << line("قيود لم تعد متوازنة:", listed(unbalanced));
  if (stopped_) text << Translate(QStringLiteral("توقف استيراد القيود."));
  return text.join('\n');
}

void ShowRunSummary(const QString& summary) {
  platform().msgBox(summary, mb::kInformation | globals().MsgBoxRtlFlags, QString());
}

}  // namespace qalvoro

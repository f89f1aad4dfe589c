#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

namespace qalvoro {

// The progress of an unattended run as a person follows it. On a terminal
// each kind of record gets one line that is rewritten in place (records
// done, total, rate, time left); otherwise a plain line is printed every
// few seconds. Other lines (messages, summaries) first end the line in
// place.
class ProgressLine {
 public:
  ProgressLine(QTextStream& out, bool terminal);

  // A kind starts with total records.
  void begin(const QString& kind, int total);
  // One more record of the kind is done.
  void advance();
  // The kind is over: its line shows the final count.
  void end();
  // Where the run is: the kind and the row in hand ("items, row 12"), the
  // kind alone after its last row, nothing outside a kind.
  QString where() const;
  // Before another line is printed: a line shown in place is ended.
  void interrupt();

 private:
  QString text() const;
  void show();

  QTextStream& out_;
  bool terminal_;
  QString kind_;
  int total_ = 0;
  int done_ = 0;
  bool active_ = false;
  bool lineOpen_ = false;
  QElapsedTimer started_;
  QElapsedTimer shown_;
};

}  // namespace qalvoro

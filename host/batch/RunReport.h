#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace qalvoro {

// The report file of an unattended run (--report FILE.json): a JSON object
// with the kind of run, its exit code and ending, the kinds of records it
// ran ("kinds", one object each) and any further sections that parts of the
// run add by name (addSection). Written atomically: the file appears whole
// or not at all, also when the run stops early.
class RunReport {
 public:
  // path empty: no report is wanted and write does nothing.
  RunReport(QString path, QString run);

  bool wanted() const { return !path_.isEmpty(); }
  // A kind of records, in the order they ran.
  void addKind(const QJsonObject& kind);
  // A section of its own under name (replacing one of the same name).
  void addSection(const QString& name, const QJsonValue& value);
  void setEnding(int code, const QString& text);
  // Writes the file; false, with the reason in error, when it could not.
  bool write(QString& error) const;

 private:
  QString path_;
  QJsonObject root_;
};

}  // namespace qalvoro

#include "host/batch/RunReport.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace qalvoro {

RunReport::RunReport(QString path, QString run) : path_(std::move(path)) {
  root_.insert(QStringLiteral("run"), run);
  root_.insert(QStringLiteral("started"),
               QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
  root_.insert(QStringLiteral("kinds"), QJsonArray());
}

void RunReport::addKind(const QJsonObject& kind) {
  QJsonArray kinds = root_.value(QStringLiteral("kinds")).toArray();
  kinds.append(kind);
  root_.insert(QStringLiteral("kinds"), kinds);
}

void RunReport::addSection(const QString& name, const QJsonValue& value) {
  root_.insert(name, value);
}

void RunReport::setEnding(int code, const QString& text) {
  root_.insert(QStringLiteral("exitCode"), code);
  root_.insert(QStringLiteral("ended"), text);
}

bool RunReport::write(QString& error) const {
  if (!wanted()) return true;
  QJsonObject root = root_;
  root.insert(QStringLiteral("finished"),
              QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) < 0 || !file.commit()) {
    error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace qalvoro

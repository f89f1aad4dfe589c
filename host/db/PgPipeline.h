#pragma once

#include <QByteArray>
#include <QHash>
#include <QSqlDatabase>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace qalvoro::pg {

// A statement for runPipeline(): its text with $1, $2, ... and the values
// as text (nothing for NULL), whose types the server infers as it would for
// a prepared statement.
struct PipelineStatement {
  QByteArray sql;
  std::vector<std::optional<QByteArray>> values;
};

// What a statement did: the rows it changed and the rows it returned, each
// value as text (a null QByteArray for NULL).
struct PipelineResult {
  int rowsAffected = 0;
  std::vector<std::vector<QByteArray>> rows;
};

// The statements one connection has prepared for its pipelines, by text: a
// statement met again is neither parsed nor analysed again. Forget them all
// when the connection closes.
class PreparedStatements {
 public:
  // The name the text is prepared under; empty when it is not.
  QByteArray nameOf(const QByteArray& sql) const { return names_.value(sql); }
  // A name for the text, once there is room for another; empty when not.
  QByteArray newName();
  void add(const QByteArray& sql, const QByteArray& name) { names_.insert(sql, name); }
  void forget() { names_.clear(); }

 private:
  QHash<QByteArray, QByteArray> names_;
  int made_ = 0;
};

// PostgreSQL: sends the statements together and reads their results in one
// round trip. They run in one transaction (the open one when there is one):
// when one fails the server skips the rest and keeps none of them, and the
// failure is raised as a DbError with its SQLSTATE as the number when it is
// one. Nothing when the connection cannot take a pipeline now (another
// driver, a result still being read).
std::optional<std::vector<PipelineResult>> runPipeline(
    const QSqlDatabase& database, const std::vector<PipelineStatement>& statements,
    PreparedStatements& prepared);

}  // namespace qalvoro::pg

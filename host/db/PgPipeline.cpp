#include "host/db/PgPipeline.h"

#include <libpq-fe.h>

#include <QSqlDriver>
#include <QVariant>
#include <memory>

#include "host/db/DbError.h"

namespace qalvoro::pg {
namespace {

struct ResultFree {
  void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

// The driver's own connection, when the database is a PostgreSQL one.
PGconn* handleOf(const QSqlDatabase& database) {
  const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
  if (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0) {
    return nullptr;
  }
  return *static_cast<PGconn* const*>(handle.constData());
}

// Pipeline mode for the lifetime of the object; the results must all have
// been read before it ends.
class PipelineMode {
 public:
  explicit PipelineMode(PGconn* connection)
      : connection_(PQenterPipelineMode(connection) == 1 ? connection : nullptr) {}
  ~PipelineMode() {
    if (connection_) PQexitPipelineMode(connection_);
  }
  PipelineMode(const PipelineMode&) = delete;
  PipelineMode& operator=(const PipelineMode&) = delete;
  bool entered() const { return connection_ != nullptr; }

 private:
  PGconn* connection_;
};

// The rest of a query whose reader has finished with it: the driver reads
// rows one at a time and leaves the end of the result on the connection.
void discardFinishedResults(PGconn* connection) {
  while (PGresult* rest = PQgetResult(connection)) PQclear(rest);
}

DbError connectionError(PGconn* connection) {
  return DbError(dberr::kUnspecified, QString::fromUtf8(PQerrorMessage(connection)).trimmed());
}

DbError statementError(const PGresult* result) {
  bool numeric = false;
  const long code =
      QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE)).toLong(&numeric);
  QString text = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY)).trimmed();
  if (text.isEmpty()) text = QString::fromUtf8(PQresultErrorMessage(result)).trimmed();
  return DbError(numeric ? code : dberr::kUnspecified, text);
}

// What was sent, in order: a statement, or the preparing of its text.
struct Command {
  std::size_t statement = 0;
  QByteArray preparedName;  // set for the preparing
};

// Sends a statement, prepared under a name of its own the first time its text
// is met (while there is room), and notes what was sent.
void send(PGconn* connection, std::size_t index, const PipelineStatement& statement,
          PreparedStatements& prepared, std::vector<Command>& sent) {
  const int count = static_cast<int>(statement.values.size());
  QByteArray name = prepared.nameOf(statement.sql);
  if (name.isEmpty() && !(name = prepared.newName()).isEmpty()) {
    if (PQsendPrepare(connection, name.constData(), statement.sql.constData(), count, nullptr) !=
        1) {
      throw connectionError(connection);
    }
    sent.push_back({index, name});
  }
  std::vector<const char*> values;
  values.reserve(statement.values.size());
  for (const auto& value : statement.values) values.push_back(value ? value->constData() : nullptr);
  const int queued = name.isEmpty()
                         ? PQsendQueryParams(connection, statement.sql.constData(), count, nullptr,
                                             values.data(), nullptr, nullptr, 0)
                         : PQsendQueryPrepared(connection, name.constData(), count, values.data(),
                                               nullptr, nullptr, 0);
  if (queued != 1) throw connectionError(connection);
  sent.push_back({index, {}});
}

// Adds what a result of a statement holds: its rows, one at a time when the
// driver left the connection reading single rows, and the rows changed.
void addResult(const PGresult* result, PipelineResult& read) {
  const QByteArray changed(PQcmdTuples(const_cast<PGresult*>(result)));
  if (!changed.isEmpty()) read.rowsAffected = changed.toInt();
  if (PQnfields(result) == 0) return;
  const int columns = PQnfields(result);
  for (int row = 0; row < PQntuples(result); ++row) {
    std::vector<QByteArray>& values = read.rows.emplace_back();
    for (int column = 0; column < columns; ++column) {
      if (PQgetisnull(result, row, column)) {
        values.emplace_back();
      } else {
        values.emplace_back(PQgetvalue(result, row, column), PQgetlength(result, row, column));
      }
    }
  }
}

}  // namespace

std::optional<std::vector<PipelineResult>> runPipeline(
    const QSqlDatabase& database, const std::vector<PipelineStatement>& statements,
    PreparedStatements& prepared) {
  PGconn* connection = handleOf(database);
  if (!connection || PQstatus(connection) != CONNECTION_OK) return std::nullopt;
  if (PQtransactionStatus(connection) == PQTRANS_ACTIVE) discardFinishedResults(connection);
  const PGTransactionStatusType status = PQtransactionStatus(connection);
  if (status != PQTRANS_IDLE && status != PQTRANS_INTRANS) return std::nullopt;
  const PipelineMode mode(connection);
  if (!mode.entered()) return std::nullopt;
  std::vector<Command> sent;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    send(connection, i, statements[i], prepared, sent);
  }
  if (PQpipelineSync(connection) != 1) throw connectionError(connection);

  // Each command gives its result and then nothing; the sync ends the lot.
  std::vector<PipelineResult> results(statements.size());
  std::optional<DbError> failure;
  std::size_t command = 0;
  for (std::size_t ends = 0; ends <= sent.size();) {
    const Result result(PQgetResult(connection));
    if (!result) {
      ++ends;
      ++command;
      continue;
    }
    const ExecStatusType status = PQresultStatus(result.get());
    if (status == PGRES_PIPELINE_SYNC) {
      if (failure) throw *failure;
      return results;
    }
    if (command >= sent.size() || status == PGRES_PIPELINE_ABORTED) continue;
    const Command& what = sent[command];
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_SINGLE_TUPLE) {
      if (!failure) failure = statementError(result.get());
    } else if (!what.preparedName.isEmpty()) {
      prepared.add(statements[what.statement].sql, what.preparedName);
    } else {
      addResult(result.get(), results[what.statement]);
    }
  }
  throw failure ? *failure : connectionError(connection);
}

QByteArray PreparedStatements::newName() {
  constexpr int kMostStatements = 256;
  if (names_.size() >= kMostStatements) return {};
  return QByteArrayLiteral("qalvoro_pipeline_") + QByteArray::number(++made_);
}

}  // namespace qalvoro::pg

#include "host/db/ConnectionString.h"

#include <QUrl>

#include "host/db/DbError.h"

namespace qalvoro {
namespace {

[[noreturn]] void fail(const QString& connectionString, const QString& reason) {
  throw DbError(
      dberr::kUnspecified,
      QStringLiteral("Invalid connection string \"%1\": %2.").arg(connectionString, reason));
}

QString decoded(const QString& text) { return QUrl::fromPercentEncoding(text.toUtf8()); }

bool isPostgresUrl(const QString& text) {
  return text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
         text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// "user:password@host:port/dbname"
ConnectionTarget parsePostgres(const QString& original, const QString& rest,
                               const QString& defaultUser, const QString& defaultPassword) {
  ConnectionTarget target;
  target.engine = Engine::PostgreSQL;
  target.user = defaultUser;
  target.password = defaultPassword;
  if (rest.contains('?')) fail(original, QStringLiteral("query parameters are not supported"));
  const qsizetype slash = rest.indexOf('/');
  if (slash < 0 || slash == rest.size() - 1) fail(original, QStringLiteral("no database name"));
  target.databaseName = decoded(rest.mid(slash + 1));
  if (target.databaseName.contains('/')) fail(original, QStringLiteral("bad database name"));

  QString authority = rest.left(slash);
  const qsizetype at = authority.lastIndexOf('@');
  if (at >= 0) {
    const QString userInfo = authority.left(at);
    authority = authority.mid(at + 1);
    const qsizetype colon = userInfo.indexOf(':');
    const QString user = decoded(colon < 0 ? userInfo : userInfo.left(colon));
    if (!user.isEmpty()) target.user = user;
    if (colon >= 0) target.password = decoded(userInfo.mid(colon + 1));
  }

  QString portText;
  if (authority.startsWith('[')) {  // [IPv6 address]:port
    const qsizetype close = authority.indexOf(']');
    if (close < 0) fail(original, QStringLiteral("unclosed '[' in the host"));
    target.host = authority.mid(1, close - 1);
    const QString after = authority.mid(close + 1);
    if (!after.isEmpty() && !after.startsWith(':')) fail(original, QStringLiteral("bad host"));
    portText = after.mid(1);
  } else {
    const qsizetype colon = authority.indexOf(':');
    target.host = decoded(colon < 0 ? authority : authority.left(colon));
    if (colon >= 0) portText = authority.mid(colon + 1);
  }
  if (target.host.isEmpty()) fail(original, QStringLiteral("no host"));
  if (!portText.isEmpty()) {
    bool ok = false;
    target.port = portText.toInt(&ok);
    if (!ok || target.port < 1 || target.port > 65535) {
      fail(original, QStringLiteral("bad port \"%1\"").arg(portText));
    }
  }
  return target;
}

QString unquoted(const QString& value) {
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
    return value.mid(1, value.size() - 2);
  }
  return value;
}

// "Key=Value;Key=Value": only Data Source matters.
QString dataSourceOf(const QString& original) {
  QString dataSource;
  for (const QString& part : original.split(';', Qt::SkipEmptyParts)) {
    if (part.trimmed().isEmpty()) continue;
    const qsizetype equals = part.indexOf('=');
    if (equals < 0) fail(original, QStringLiteral("\"%1\" is not Key=Value").arg(part.trimmed()));
    if (part.left(equals).trimmed().compare(QLatin1String("Data Source"), Qt::CaseInsensitive) ==
        0) {
      dataSource = unquoted(part.mid(equals + 1).trimmed());
    }
  }
  if (dataSource.isEmpty()) fail(original, QStringLiteral("no Data Source"));
  return dataSource;
}

}  // namespace

ConnectionTarget ConnectionTarget::parse(const QString& connectionString,
                                         const QString& defaultUser,
                                         const QString& defaultPassword) {
  const QString text = connectionString.trimmed();
  if (text.isEmpty()) fail(connectionString, QStringLiteral("it is empty"));
  if (isPostgresUrl(text)) {
    const QString rest = text.mid(text.indexOf(QLatin1String("://")) + 3);
    return parsePostgres(text, rest, defaultUser, defaultPassword);
  }
  ConnectionTarget target;
  target.engine = Engine::SQLite;
  target.user = defaultUser;
  target.password = defaultPassword;
  target.path = text.contains('=') ? dataSourceOf(text) : text;
  return target;
}

}  // namespace qalvoro

#pragma once

// The saves of the posting windows write a document's lines for the first
// header of its number among the headers the window holds.

#include <QString>
#include <algorithm>
#include <optional>
#include <vector>

#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "host/helpers/Numbers.h"

namespace qalvoro {

// The ID of the first header (in the rows' order) whose numberColumn holds
// number, leaving out the headers of leaving; nothing when there is none.
inline std::optional<qint64> FirstHeaderOfNumber(Recordset& headers, const QString& numberColumn,
                                                 const QString& number,
                                                 const std::vector<qint64>& leaving = {}) {
  const QString criterion = numberColumn + QStringLiteral("=") + GeneralNumber(Val(number));
  for (bool found = headers.findFirst(criterion); found; found = headers.find(criterion)) {
    const qint64 id = headers.value(QStringLiteral("ID")).toLongLong();
    if (std::find(leaving.begin(), leaving.end(), id) == leaving.end()) return id;
    headers.moveNext();
    if (headers.eof()) break;
  }
  return std::nullopt;
}

// FirstHeaderOfNumber, raising "no current record" when there is none.
inline qint64 HeaderIdByNumber(Recordset& headers, const QString& numberColumn,
                               const QString& number) {
  const std::optional<qint64> id = FirstHeaderOfNumber(headers, numberColumn, number);
  if (!id) {
    throw DbError(dberr::kNoCurrentRecord,
                  QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                 "deleted. Requested operation requires a current record."));
  }
  return *id;
}

}  // namespace qalvoro

#pragma once

// The saves of the posting windows find the header they have just written
// among the requeried headers by its number.

#include <QString>

#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "host/helpers/Numbers.h"

namespace qalvoro {

// The ID of the first header whose numberColumn holds number; raises "no
// current record" when there is none.
inline qint64 HeaderIdByNumber(Recordset& headers, const QString& numberColumn,
                               const QString& number) {
  if (!headers.findFirst(numberColumn + QStringLiteral("=") + GeneralNumber(Val(number)))) {
    throw DbError(dberr::kNoCurrentRecord,
                  QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                 "deleted. Requested operation requires a current record."));
  }
  return headers.value(QStringLiteral("ID")).toLongLong();
}

}  // namespace qalvoro

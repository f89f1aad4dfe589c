#pragma once

#include <QByteArray>
#include <QDateTime>

#include "tools/mdbwriter/JetFormat.h"

namespace qalvoro::mdbwriter {

struct HeaderFields {
  quint16 sortOrder;
  quint16 codePage;
  QDateTime created;
};

// Page 0: the "Standard Jet DB" signature, the format version and, in the part
// Jet keeps RC4-masked, the sort order, code page, an empty database key (no
// page encryption) and an empty password.
QByteArray headerPage(const JetFormat& format, const HeaderFields& fields);

}  // namespace qalvoro::mdbwriter

#include "posting/HeldLock.h"

#include "host/db/DbError.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro {

HeldLock::HeldLock(QString name) : name_(std::move(name)) {
  SetTableLock(QStringLiteral("Lock"), name_);
}

HeldLock::~HeldLock() {
  if (released_) return;
  try {
    SetTableLock(QStringLiteral("UnLock"), name_);
  } catch (const DbError&) {
    // The row stays set; the next writer takes it over after its wait.
  }
}

void HeldLock::releaseInTransaction() { SetTableLock(QStringLiteral("UnLock"), name_); }

void HeldLock::release() {
  SetTableLock(QStringLiteral("UnLock"), name_);
  released_ = true;  // after a failed unlock the destructor tries once more
}

}  // namespace qalvoro

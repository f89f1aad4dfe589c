#include "host/helpers/RecordBrowsing.h"

#include "host/db/Recordset.h"
#include "host/platform/Platform.h"

namespace qalvoro {

void CompleteRowCount(Recordset& rows) {
  if (rows.recordCount() == 0) return;
  rows.moveLast();
  rows.moveFirst();
}

bool MoveToNextRecord(Recordset& rows) {
  if (rows.eof()) {
    rows.moveLast();
    platform().beep();
    return false;
  }
  rows.moveNext();
  if (rows.eof()) rows.moveLast();
  return true;
}

bool MoveToPreviousRecord(Recordset& rows, bool beepAtStart) {
  if (rows.bof()) {
    rows.moveFirst();
    platform().beep();
    return false;
  }
  rows.movePrevious();
  if (rows.bof()) {
    rows.moveFirst();
    if (beepAtStart) platform().beep();
  }
  return true;
}

void RemoveProcessedRow(Recordset& rows) {
  rows.deleteCurrent();
  rows.requery();
  CompleteRowCount(rows);
}

}  // namespace qalvoro

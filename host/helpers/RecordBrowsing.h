#pragma once

namespace qalvoro {

class Recordset;

// What the restore windows do with their list of version-1 rows: the
// browsing buttons and the removal of a row an import has processed.

// Moves to the last row and back to the first, so that the row count is
// complete; nothing when there are no rows.
void CompleteRowCount(Recordset& rows);

// The next-record button: moves to the next row, back to the last one when
// that passes the end. When the rows are already past their end it moves to
// the last row, beeps and returns false (nothing new to show).
bool MoveToNextRecord(Recordset& rows);

// The previous-record button, the mirror image: moves to the previous row,
// back to the first one when that passes the start (beeping then when
// beepAtStart). When the rows are already before their start it moves to the
// first row, beeps and returns false.
bool MoveToPreviousRecord(Recordset& rows, bool beepAtStart);

// Deletes the current row from the working copy, requeries, and leaves the
// cursor on the first remaining row with the count complete.
void RemoveProcessedRow(Recordset& rows);

}  // namespace qalvoro

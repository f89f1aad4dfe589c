#pragma once

#include "posting/DocumentStore.h"
#include "posting/InvoiceLines.h"
#include "posting/PostingFrame.h"

class QComboBox;

namespace qalvoro {

class FlexGrid;

// What tells the four document windows apart: their frame, their tables
// and the variants of the line and totals routines they use.
struct InvoiceTraits {
  FrameTraits frame;
  QString partyNoName;    // txtCusNo or txtProvNo
  QString partyNameName;  // txtCustomerName or txtProviderName
  QString partyCaption;   // the party frame's title
  // A new document starts with party number "0" (else empty).
  bool partyNumberZero = false;
  const DocumentKind* kind = nullptr;
  InvoiceLines::TotalsStyle totals = InvoiceLines::TotalsStyle::Sales;
  InvoiceLines::SpreadStyle spread = InvoiceLines::SpreadStyle::Passes;
  // The window's tag carries the ID of the last document saved.
  bool tagsSavedId = false;
  // The save refuses a document without a line or without a date.
  bool checksBeforeSave = false;
  // After a save the mode is emptied, so the next document needs the add
  // button again (else it stays "SAVE").
  bool emptiesModeAfterSave = false;
  // The box whose tag holds the returned invoice's ID (returns only).
  QString linkBoxName;
};

// A document entry window (invoice or return) on the posting frame: the
// item grid, the totals and discount boxes, and the save through the
// document store.
//
// Driven by code as by a user, without being shown: set BranchID and call
// OpenMyRec; click Cmd_Add; fill the header controls, CboPayment, the party
// and cash-box IDs, the link box's tag (returns) and the grid rows (moving
// Grid1's current row on); call txtDiscount2_KeyPress(13); click Cmd_Save
// and read lastSaveFailed(), saveFailure() and savedId().
class InvoiceWindow : public PostingFrame {
  Q_OBJECT

 public:
  explicit InvoiceWindow(const InvoiceTraits& traits, QWidget* parent = nullptr);
  ~InvoiceWindow() override;

  // Opens the header rows of BranchID (kept open while the branch stays
  // the same) and empties the mode.
  void OpenMyRec();
  // Key handler of the discount box: Enter (13) spreads the discount over
  // the lines and recomputes the totals.
  void txtDiscount2_KeyPress(int keyAscii);
  // What an import does in place of Enter in the discount box: the
  // discount is spread over the lines even when the net already shows it.
  void SpreadDiscount();
  // Recomputes the totals from the grid.
  void Totals();
  // The message with which the last press of the save button refused the
  // document (in the user's language); empty when it did not refuse.
  const QString& refusal() const { return refusal_; }
  // Shows the lines of a stored document (invoice windows; returns have no
  // loading and show nothing).
  void ReadLines(qint64 documentId);

  // The party's ID (CustomerID or ProviderID), -1 for a walk-in party.
  int PartyID() const { return partyId_; }
  void setPartyID(int id) { partyId_ = id; }

  DocumentStore& store() { return store_; }
  const InvoiceTraits& traits() const { return traits_; }

  QGroupBox* FrameParty = nullptr;
  QLineEdit* txtPartyNo = nullptr;    // txtCusNo / txtProvNo
  QLineEdit* txtPartyName = nullptr;  // txtCustomerName / txtProviderName
  QComboBox* CboPayment = nullptr;
  QLineEdit* txtNote = nullptr;
  QGroupBox* FrameGrid = nullptr;
  FlexGrid* Grid1 = nullptr;
  QGroupBox* FrameTotals = nullptr;
  QLabel* lblTotal = nullptr;
  QLineEdit* txtDiscount2 = nullptr;
  QLabel* lblDiscount = nullptr;
  QLabel* lblAmount = nullptr;
  // txtSaleNo / txtBuyNo in the return windows, null in the invoice windows.
  QLineEdit* txtLinkNo = nullptr;

 protected:
  void loadLists() override;
  void clearDocument() override;
  QWidget* firstEntry() const override;
  bool saveDocument() override;

 private:
  void buildParty();
  void buildGrid();
  void buildTotals();
  // Runs a routine on the totals boxes' texts and shows the result.
  template <class Routine>
  void withBoxes(Routine&& routine);
  void Grid1_CellEdited(int row, int col);
  DocumentHeader header() const;

  const InvoiceTraits& traits_;
  DocumentStore store_;
  InvoiceLines::Boxes boxes_;
  std::unique_ptr<InvoiceLines> lines_;
  int partyId_ = -1;
  QString refusal_;
};

}  // namespace qalvoro

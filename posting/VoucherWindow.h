#pragma once

#include "posting/PostingFrame.h"
#include "posting/VoucherStore.h"

class QComboBox;

namespace qalvoro {

// What tells the two voucher windows apart: their frame, their tables, the
// names and captions of the payee / payer and description boxes, and the
// receipt window's habits.
struct VoucherTraits {
  FrameTraits frame;
  const VoucherKind* kind = nullptr;
  QString nameBoxName;     // txtTo / txtFrom
  QString nameCaption;     // paid to / received from
  QString detailsBoxName;  // txtDetails / txtDetails1
  // The window has the bank list CboBank.
  bool bankList = false;
  // The number box selects its whole text when it gets the focus.
  bool numberSelectsOnFocus = false;
  // Enter in CboType moves the focus to the next control.
  bool typeEnterMovesOn = false;
};

// The frame of a voucher window: its size follows the rows of Frame3, one
// more with the bank list.
FrameTraits voucherFrame(const char* windowName, const char* caption, bool bankList);

// A voucher entry window (payment or receipt) on the posting frame: the
// payee / payer, the amount, cash or cheque with the cheque's number, date
// and bank, the description, and the save through the voucher store.
//
// Driven by code as by a user, without being shown (the voucher import):
// load() once per run; setBranchID and OpenMyRec; click Cmd_Add; fill
// txtDate1, setCashierAccID, txtfNo, setPartyAccID (To_AccNoID /
// From_AccNoID), txtName, txtMoney1, CboType, txtBillDate, txtBillNo,
// txtDetails (and setBankID); click Cmd_Save and read lastSaveFailed(),
// saveFailure() and savedId().
class VoucherWindow : public PostingFrame {
  Q_OBJECT

 public:
  explicit VoucherWindow(const VoucherTraits& traits, QWidget* parent = nullptr);

  // The account the money goes to (payment) or comes from (receipt).
  int PartyAccID() const { return partyAccId_; }
  void setPartyAccID(int id) { partyAccId_ = id; }
  // The bank of a cheque; -1 after the add button. Choosing an entry of
  // CboBank sets it.
  int BankID() const { return bankId_; }
  void setBankID(int id) { bankId_ = id; }

  // Opens the header rows of BranchID in number order (kept open while the
  // branch stays the same), empties the mode and shows the idle buttons.
  void OpenMyRec();

  VoucherStore& store() { return store_; }
  const VoucherTraits& traits() const { return traits_; }

  QGroupBox* Frame2 = nullptr;  // the frame's header: number, date, time, cash box
  QLineEdit* txtAccFunds = nullptr;
  QGroupBox* Frame3 = nullptr;
  QLineEdit* txtName = nullptr;  // txtTo / txtFrom
  QLineEdit* txtMoney1 = nullptr;
  QComboBox* CboType = nullptr;
  QLineEdit* txtBillNo = nullptr;
  Tarmin_Calander3* txtBillDate = nullptr;
  QComboBox* CboBank = nullptr;     // receipt window only
  QLineEdit* txtDetails = nullptr;  // txtDetails / txtDetails1

 protected:
  void loadLists() override;
  void clearDocument() override;
  QWidget* firstEntry() const override;
  bool saveDocument() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildVoucher();
  Voucher voucher() const;

  const VoucherTraits& traits_;
  VoucherStore store_;
  int partyAccId_ = 0;
  int bankId_ = -1;
};

}  // namespace qalvoro

#pragma once

#include <QString>

#include "host/forms/Form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qalvoro {

class Tarmin_Calander3;

// What tells the posting windows apart in their frame: names, captions and
// the few habits that differ (keys, the exit button, the party number a new
// document starts with).
struct FrameTraits {
  QString windowName;
  QString caption;
  QString partyNoName;    // txtCusNo or txtProvNo
  QString partyNameName;  // txtCustomerName or txtProviderName
  QString partyCaption;   // the party frame's title
  // Esc presses the exit button.
  bool escapePressesExit = false;
  // F2 presses the add button and F5 the save button.
  bool functionKeys = false;
  // The exit button asks before it undoes a document being edited and
  // unloads the window when idle; otherwise it empties the tag and hides.
  bool exitAsksUndo = false;
  // A new document starts with party number "0" (else empty).
  bool partyNumberZero = false;
};

// The frame every posting window shares: the header controls, the add,
// save and exit buttons with their states and captions, the keyboard, the
// undo question, and the window load with the calendar settings of SysInfo.
// The document itself (lines, totals, storing) belongs to the window built
// on the frame, through clearDocument() and saveDocument().
class PostingFrame : public Form {
  Q_OBJECT

 public:
  explicit PostingFrame(const FrameTraits& traits, QWidget* parent = nullptr);

  // The window's state: the party's ID (CustomerID or ProviderID, -1 for a
  // walk-in party), the cash box's account ID and the branch.
  int PartyID() const { return partyId_; }
  void setPartyID(int id) { partyId_ = id; }
  int CashierAccID() const { return cashierAccId_; }
  void setCashierAccID(int id) { cashierAccId_ = id; }
  int BranchID() const { return branchId_; }
  void setBranchID(int id) { branchId_ = id; }
  // Empty after OpenMyRec, "Add" after the add button, "SAVE" after a save.
  const QString& mode() const { return mode_; }

  // 0 initial, 1 editing, 2 idle after a save or an undo.
  void SetButtonState(int state);

  QGroupBox* FrameHeader = nullptr;
  QLineEdit* txtfNo = nullptr;
  Tarmin_Calander3* txtDate1 = nullptr;
  Tarmin_Calander3* txtTime1 = nullptr;
  QGroupBox* FrameParty = nullptr;
  QLineEdit* txtPartyNo = nullptr;    // txtCusNo / txtProvNo
  QLineEdit* txtPartyName = nullptr;  // txtCustomerName / txtProviderName
  QComboBox* CboPayment = nullptr;
  QLineEdit* txtNote = nullptr;
  QPushButton* Cmd_Add = nullptr;
  QPushButton* Cmd_Save = nullptr;
  QPushButton* Cmd_Exit = nullptr;

 protected:
  void formLoad() override;
  void keyPressEvent(QKeyEvent* event) override;

  // Empties the document part of the window for a new document.
  virtual void clearDocument() = 0;
  // Stores the document on display; returns whether it was stored.
  virtual bool saveDocument() = 0;

  void setMode(const QString& mode) { mode_ = mode; }
  // Frames whose controls are enabled only while a document is edited.
  void addEntryFrame(QWidget* frame) { entryFrames_.push_back(frame); }
  // A label of the frame's header at a twips place.
  QLabel* addLabel(const QString& caption, const QRect& twips, QWidget* container);

 private:
  void buildHeader();
  void buildButtons();
  void Cmd_Add_Click();
  void Cmd_Save_Click();
  void Cmd_Exit_Click();

  const FrameTraits& traits_;
  int partyId_ = -1;
  int cashierAccId_ = 0;
  int branchId_ = 0;
  QString mode_;
  std::vector<QPointer<QWidget>> entryFrames_;
};

}  // namespace qalvoro

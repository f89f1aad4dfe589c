#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "host/db/DbError.h"
#include "host/forms/Form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qalvoro {

class Tarmin_Calander3;

// What tells the posting windows apart in their frame: names, captions, the
// size and the few habits that differ (keys, the exit button).
struct FrameTraits {
  QString windowName;
  QString caption;
  QSize twips{11400, 7350};
  int buttonsTop = 6700;
  // The frame holding the number, the date and the time.
  QString headerName = QStringLiteral("FrameHeader");
  QString headerTitle;
  QRect headerTwips{6000, 100, 5200, 1900};
  QString numberCaption;
  // Esc presses the exit button.
  bool escapePressesExit = false;
  // F2 presses the add button and F5 the save button.
  bool functionKeys = false;
  // The exit button asks before it undoes a document being edited and
  // unloads the window when idle; otherwise it empties the tag and hides.
  bool exitAsksUndo = false;
};

// The frame every posting window shares (invoices, returns, vouchers): the
// number, date and time boxes, the add, save and exit buttons with their
// states and captions, the keyboard, the undo question, the window load
// with the calendar settings of SysInfo, the cash-box and branch IDs, the
// mode and the outcome of the last save. The document itself (its boxes,
// lists and storing) belongs to the window built on the frame, through
// loadLists(), clearDocument() and saveDocument().
class PostingFrame : public Form {
  Q_OBJECT

 public:
  explicit PostingFrame(const FrameTraits& traits, QWidget* parent = nullptr);

  // The cash box's account ID and the branch.
  int CashierAccID() const { return cashierAccId_; }
  void setCashierAccID(int id) { cashierAccId_ = id; }
  int BranchID() const { return branchId_; }
  void setBranchID(int id) { branchId_ = id; }
  // Empty after OpenMyRec, "Add" after the add button; after a save as the
  // window says.
  const QString& mode() const { return mode_; }

  // 0 initial, 1 editing, 2 idle after a save or an undo.
  void SetButtonState(int state);

  // The outcome of the last press of the save button: the database error
  // that undid the document, if any (shown to the user only when the window
  // is on the screen), and the ID of the document stored.
  bool lastSaveFailed() const { return failure_.has_value(); }
  const std::optional<DbError>& saveFailure() const { return failure_; }
  qint64 savedId() const { return savedId_; }

  QGroupBox* FrameHeader = nullptr;  // Frame2 in the voucher windows
  QLineEdit* txtfNo = nullptr;
  Tarmin_Calander3* txtDate1 = nullptr;
  Tarmin_Calander3* txtTime1 = nullptr;
  QPushButton* Cmd_Add = nullptr;
  QPushButton* Cmd_Save = nullptr;
  QPushButton* Cmd_Exit = nullptr;

 protected:
  void formLoad() override;
  void keyPressEvent(QKeyEvent* event) override;

  // Fills the window's lists once the calendar is set.
  virtual void loadLists() = 0;
  // Empties the document part of the window for a new document.
  virtual void clearDocument() = 0;
  // The control that has the focus once a new document is started.
  virtual QWidget* firstEntry() const = 0;
  // Stores the document on display; returns whether it was stored.
  virtual bool saveDocument() = 0;

  // Runs a store's save: keeps its ID or the database error, which is shown
  // when the window is on the screen. Returns whether it was stored.
  bool storeDocument(const std::function<qint64()>& save);

  void setMode(const QString& mode) { mode_ = mode; }
  // Frames whose controls are enabled only while a document is edited.
  void addEntryFrame(QWidget* frame) { entryFrames_.push_back(frame); }
  // Date controls given the calendar settings at load (txtDate1 is one).
  void addDateControl(Tarmin_Calander3* control) { dateControls_.push_back(control); }
  // A label at a twips place.
  QLabel* addLabel(const QString& caption, const QRect& twips, QWidget* container);

 private:
  void buildHeader();
  void buildButtons();
  void Cmd_Add_Click();
  void Cmd_Save_Click();
  void Cmd_Exit_Click();

  const FrameTraits& traits_;
  int cashierAccId_ = 0;
  int branchId_ = 0;
  QString mode_;
  std::vector<QPointer<QWidget>> entryFrames_;
  std::vector<Tarmin_Calander3*> dateControls_;
  std::optional<DbError> failure_;
  qint64 savedId_ = 0;
};

}  // namespace qalvoro

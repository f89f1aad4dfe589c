#include "browser/FrmBrowseAcc.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "browser/AccountChart.h"
#include "browser/AccountImages.h"
#include "browser/AccountMaintenance.h"
#include "host/Globals.h"
#include "host/forms/Windows.h"
#include "host/language/FormLayout.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

// Geometry of the tree, in twips: below the search controls, or below
// FrameAdd while it is open; its bottom stays where it is.
constexpr int kTreeTop = 1140;
constexpr int kTreeHeight = 5555;
constexpr int kTreeHeightBelowFrame = 3750;
constexpr int kFrameAddHeight = 1700;
constexpr int kFrameGap = kTreeHeight - kFrameAddHeight - kTreeHeightBelowFrame;

const QString kRootKey = QStringLiteral("R");
const QString kTopLevel = QStringLiteral("_");
const QString kReloadSetting = QStringLiteral("ReLoadAccTree");
const QString kByNameSetting = QStringLiteral("Browse by name");
const QString kSearchSetting = QStringLiteral("Search");
const QString kAdd = QStringLiteral("Add");
const QString kEdit = QStringLiteral("Edit");

const QString kChartOfAccounts = QStringLiteral("دليل الحسابات");
const QString kLoading = QStringLiteral("جاري تحميل دليل الحسابات . . .");
const QString kErrorNumber = QStringLiteral("حدث خطأ رقم ");
const QString kAccountNumberColon = QStringLiteral("رقم الحساب:");
const QString kContinueLoading = QStringLiteral("هل تريد الاستمرار؟");
const QString kTypeSearchText = QStringLiteral("أدخل النص الذي تريد البحث عنه ثم اضغط Enter");
const QString kSearchWithoutText = QStringLiteral("هل تريد البحث بدون ادخال أي نص؟");
const QString kSearchEnded = QStringLiteral("انتهى البحث عن [");
const QString kSearchFromStart = QStringLiteral("هل تريد البحث من البداية؟");
const QString kChooseName = QStringLiteral("يجب تحديد اسم الحساب");
const QString kChooseNumber = QStringLiteral("يجب تحديد رقم الحساب");
const QString kChooseParent = QStringLiteral("يجب تحديد اسم الحساب الرئيسي");
const QString kAccountNumber = QStringLiteral("رقم الحساب");
const QString kNoParentWithLines =
    QStringLiteral("لايمكن استخدامه كحساب رئيسي بسبب وجود بعض القيود عليه");
const QString kEnterNumber = QStringLiteral("يجب ادخال رقم حساب");
const QString kEnterName = QStringLiteral("يجب إدخال اسم حساب");
const QString kNoParent = QStringLiteral("الحساب الرئيسي غير موجود");
const QString kNumberExists = QStringLiteral("رقم الحساب موجود مسبقاً");
const QString kConfirmDelete = QStringLiteral("هل تريد بالتأكيد حذف كرت الحساب الحالي ؟");
const QString kOpeningBalance = QStringLiteral("يوجد رصيد افتتاحي لهذا الحساب , لايمكن حذفه");
const QString kRemoveWithSubAccounts =
    QStringLiteral("هل تريد إزالة هذا الحساب مع جميع الحسابات المتفرعه منه");
const QString kMovementsRemoved =
    QStringLiteral("سيتم إزالة جميع الحركات التي تندرج تحت هذه الحسابات");
const QString kContinue = QStringLiteral("هل تريد الإستمرار؟");
const QString kLastChance = QStringLiteral("هذه آخر محاولة للتراجع عن عملية الحذف");

// A message box whose text is already put together (and translated).
int showMessage(const QString& text, int style) {
  return platform().msgBox(text, style | globals().MsgBoxRtlFlags, QString());
}

// The truth value of a saved setting ("True", "False" or a number).
bool truthOf(const QString& text) {
  const QString value = text.trimmed();
  if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
  if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
  return Val(value) != 0;
}

QLabel* sunken(QLabel* label) {
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  return label;
}

}  // namespace

// The loading panel over the tree and the search controls disabled while it
// shows; everything comes back when the panel goes, also after an error.
class FrmBrowseAcc::LoadingPanel {
 public:
  explicit LoadingPanel(FrmBrowseAcc& window) : window_(window) {
    setControlsEnabled(false);
    window_.Cmd_Cancel->setEnabled(true);
    window_.Picture1->show();
    window_.ProgressBar1->setValue(0);
    platform().setMousePointer(MousePointer::Hourglass);
    window_.Label1->setText(Translate(kLoading));
  }
  ~LoadingPanel() {
    window_.Picture1->hide();
    platform().setMousePointer(MousePointer::Default);
    setControlsEnabled(true);
  }
  LoadingPanel(const LoadingPanel&) = delete;
  LoadingPanel& operator=(const LoadingPanel&) = delete;

 private:
  void setControlsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             window_.Frame1, window_.Text1, window_.Combo1, window_.Command1, window_.Command2,
             window_.Command3, window_.Command4}) {
      control->setEnabled(enabled);
    }
  }

  FrmBrowseAcc& window_;
};

FrmBrowseAcc::FrmBrowseAcc(QWidget* parent) : Form(QStringLiteral("FrmBrowseAcc"), parent) {
  setCaption(QStringLiteral("استعراض"));
  setTwipsSize(7000, 7340);
  DrawAccountImages(ImageList1);
  buildSearchControls();
  buildFrameAdd();
  TreeView1 = addControl<TreeView>(QStringLiteral("TreeView1"), {120, kTreeTop, 6660, kTreeHeight});
  TreeView1->setImageList(&ImageList1);
  for (const QString& letter : {QStringLiteral("Y"), QStringLiteral("R"), QStringLiteral("G")}) {
    TreeView1->setExpandedImage(QStringLiteral("Close") + letter, QStringLiteral("Open") + letter);
  }
  connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { Command2->click(); });
  buildButtons();
  buildLoadingPanel();
  buildMenu();
  setCancelButton(Command1);
  watchKeys();
}

FrmBrowseAcc::~FrmBrowseAcc() = default;

void FrmBrowseAcc::buildSearchControls() {
  Text1 = addControl<QLineEdit>(QStringLiteral("Text1"), {600, 150, 2700, 315});
  Command4 = addControl<QPushButton>(QStringLiteral("Command4"), {120, 120, 420, 375});
  Command4->setIcon(SearchPicture());
  Combo1 = addControl<QComboBox>(QStringLiteral("Combo1"), {120, 600, 3180, 315});
  Frame1 = addControl<QGroupBox>(QStringLiteral("Frame1"), {3450, 60, 3330, 990});
  Frame1->setTitle(QStringLiteral("طريقة البحث:"));
  const QString captions[] = {QStringLiteral("بإسم الحساب"), QStringLiteral("برقم الحساب")};
  for (int i = 0; i < 2; ++i) {
    Option1[i] = addControl<QRadioButton>(QStringLiteral("Option1"),
                                          {120, 270 + i * 330, 3090, 285}, Frame1, i);
    Option1[i]->setText(captions[i]);
  }
  connect(Command4, &QPushButton::clicked, this,
          [this] { ReportErrors([this] { Command4_Click(); }); });
}

void FrmBrowseAcc::buildFrameAdd() {
  FrameAdd =
      addControl<QGroupBox>(QStringLiteral("FrameAdd"), {120, kTreeTop, 6660, kFrameAddHeight});
  const QString captions[] = {QStringLiteral("الحساب الرئيسي :"), QStringLiteral("رقم الحساب:"),
                              QStringLiteral("اسم الحساب (عربي):"),
                              QStringLiteral("اسم الحساب (انجليزي):")};
  for (int i = 0; i < 4; ++i) {
    auto* label =
        addControl<QLabel>(QStringLiteral("Label2"), {4440, 255 + i * 360, 2100, 285}, FrameAdd, i);
    label->setText(captions[i]);
  }
  lblAccFatherNo = sunken(
      addControl<QLabel>(QStringLiteral("lblAccFatherNo"), {3200, 240, 1180, 315}, FrameAdd));
  lblAccFatherName = sunken(
      addControl<QLabel>(QStringLiteral("lblAccFatherName"), {120, 240, 3020, 315}, FrameAdd));
  txtAccNo = addControl<QLineEdit>(QStringLiteral("txtAccNo"), {3200, 600, 1180, 315}, FrameAdd);
  CmdSave = addControl<QPushButton>(QStringLiteral("CmdSave"), {1360, 570, 1180, 375}, FrameAdd);
  CmdSave->setText(QStringLiteral("حفظ"));
  CmdCancel = addControl<QPushButton>(QStringLiteral("CmdCancel"), {120, 570, 1180, 375}, FrameAdd);
  CmdCancel->setText(QStringLiteral("إلغاء الأمر"));
  txtAccNameA =
      addControl<QLineEdit>(QStringLiteral("txtAccNameA"), {120, 960, 4260, 315}, FrameAdd);
  txtAccNameE =
      addControl<QLineEdit>(QStringLiteral("txtAccNameE"), {120, 1320, 4260, 315}, FrameAdd);
  FrameAdd->hide();
  connect(CmdSave, &QPushButton::clicked, this, [this] { CmdSave_Click(); });
  connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
}

void FrmBrowseAcc::buildButtons() {
  const auto button = [this](const QString& name, const QString& caption, int left, int width,
                             void (FrmBrowseAcc::*handler)()) {
    auto* created = addControl<QPushButton>(name, {left, 6800, width, 420});
    created->setText(caption);
    connect(created, &QPushButton::clicked, this,
            [this, handler] { ReportErrors([this, handler] { (this->*handler)(); }); });
    return created;
  };
  Command2 = button(QStringLiteral("Command2"), QStringLiteral("&موافق  F5"), 5280, 1500,
                    &FrmBrowseAcc::Command2_Click);
  Command1 = button(QStringLiteral("Command1"), QStringLiteral("إلغاء الأمر  Esc"), 3700, 1500,
                    &FrmBrowseAcc::Command1_Click);
  Command3 = button(QStringLiteral("Command3"), QStringLiteral("إعادة تحميل الدليل الحسابات"), 1220,
                    2400, &FrmBrowseAcc::Command3_Click);
  CmdOptions = button(QStringLiteral("CmdOptions"), QStringLiteral("إختيارات"), 120, 1020,
                      &FrmBrowseAcc::CmdOptions_Click);
}

void FrmBrowseAcc::buildLoadingPanel() {
  Picture1 = addControl<QFrame>(QStringLiteral("Picture1"), {870, 3000, 5160, 1300});
  Picture1->setFrameShape(QFrame::Panel);
  Picture1->setFrameShadow(QFrame::Raised);
  Picture1->setAutoFillBackground(true);
  Label1 = addControl<QLabel>(QStringLiteral("Label1"), {120, 150, 4920, 300}, Picture1, 1);
  setAlignment(*Label1, kCenter);
  ProgressBar1 =
      addControl<QProgressBar>(QStringLiteral("ProgressBar1"), {120, 520, 4920, 300}, Picture1);
  ProgressBar1->setRange(0, 100);
  Cmd_Cancel =
      addControl<QPushButton>(QStringLiteral("Cmd_Cancel"), {1980, 900, 1200, 330}, Picture1);
  Cmd_Cancel->setText(QStringLiteral("إلغاء الأمر"));
  // Loading does not yield to the message loop: the button can only
  // disable itself.
  connect(Cmd_Cancel, &QPushButton::clicked, this, [this] { Cmd_Cancel->setEnabled(false); });
  Picture1->hide();
}

void FrmBrowseAcc::buildMenu() {
  MnuAcc = new QMenu(this);  // owned by the window
  MnuAcc->setObjectName(QStringLiteral("MnuAcc"));
  const QString captions[] = {QStringLiteral("جديد"), QStringLiteral("تعديل"),
                              QStringLiteral("حذف"), QString(), QStringLiteral("إلغاء الأمر")};
  for (int i = 0; i < 5; ++i) {
    MenuAcc[i] = i == 3 ? MnuAcc->addSeparator() : MnuAcc->addAction(captions[i]);
    setIndex(*MenuAcc[i], i);
    addMenuItem(*MenuAcc[i], QStringLiteral("MenuAcc"));
    connect(MenuAcc[i], &QAction::triggered, this, [this, i] { MenuAcc_Click(i); });
  }
  // The maintenance items show when the browser is opened through
  // BrowseAccount.
  for (int i = 0; i < 3; ++i) MenuAcc[i]->setVisible(false);
}

void FrmBrowseAcc::watchKeys() {
  for (QWidget* control : findChildren<QWidget*>()) {
    if (control != MnuAcc && !MnuAcc->isAncestorOf(control)) control->installEventFilter(this);
  }
}

void FrmBrowseAcc::formLoad() {
  CenterForm(*this);
  SetFontForm(*this);
  if (GetLanguage() == QLatin1String("E")) {
    MirrorForm(*this);
    TranslateForm(*this);
  } else {
    TreeView1->setLayoutDirection(Qt::RightToLeft);  // the tree grows from the right
  }
  Combo1->clear();
  Combo1->addItem(Translate(QStringLiteral(" يبدأ بـ")));
  Combo1->addItem(Translate(QStringLiteral("يتضمن")));
  const bool byName = truthOf(GetSetting(kByNameSetting, QStringLiteral("True")));
  Option1[byName ? 0 : 1]->setChecked(true);
  const int mode = static_cast<int>(Val(GetSetting(kSearchSetting, QStringLiteral("0"))));
  Combo1->setCurrentIndex(mode == 1 ? 1 : 0);
}

void FrmBrowseAcc::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  if (!event->spontaneous()) Form_Activate();
}

void FrmBrowseAcc::Form_Activate() {
  Text1->setFocus();
  ReportErrors([this] { FillTree(); });
}

void FrmBrowseAcc::keyPressEvent(QKeyEvent* event) {
  if (!Form_KeyDown(event->key())) Form::keyPressEvent(event);
}

bool FrmBrowseAcc::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (Form_KeyDown(key)) return true;
    if (watched == Text1 && Text1_KeyDown(key)) return true;
  } else if (event->type() == QEvent::FocusIn && watched == Text1) {
    Text1->selectAll();
  }
  return Form::eventFilter(watched, event);
}

bool FrmBrowseAcc::Form_KeyDown(int key) {
  if (key == Qt::Key_Escape) {
    // While FrameAdd is open Esc closes the frame, not the window.
    if (FrameAdd->isVisible()) {
      CmdCancel_Click();
    } else {
      Command1_Click();
    }
    return true;
  }
  if (key == Qt::Key_F5) {
    if (Command2->isEnabled()) Command2->click();
    return true;
  }
  return false;
}

bool FrmBrowseAcc::Text1_KeyDown(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right: {
      TreeView1->setFocus();
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(TreeView1, &press);
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
      QApplication::sendEvent(TreeView1, &release);
      Text1->setFocus();
      return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Command4->click();
      return true;
    default:
      return false;
  }
}

bool FrmBrowseAcc::isRoot(const TreeView::Node& node) { return TreeView::keyOf(node) == kRootKey; }

void FrmBrowseAcc::FillTree() {
  if (Val(GetSetting(kReloadSetting, QStringLiteral("0"))) == 0) return;
  bool complete = true;
  {
    const LoadingPanel panel(*this);
    TreeView1->clearNodes();
    const QString language = GetLanguage();
    TreeView::Node& root =
        TreeView1->addTopNode(kRootKey, Translate(kChartOfAccounts) + QStringLiteral(" - ") +
                                            AccountChart::BranchName(BranchID, language));
    root.setExpanded(true);
    const std::vector<ChartAccount> accounts = AccountChart::Read(BranchID);
    const qint64 total = static_cast<qint64>(accounts.size());
    qint64 done = 0;
    for (const ChartAccount& account : accounts) {
      try {
        addAccountNode(account, language);
      } catch (const TreeError& error) {
        if (!askToContinueLoading(error, account.number)) {
          complete = false;
          break;
        }
      }
      ProgressBar1->setValue(static_cast<int>(++done * 100 / total));
    }
  }
  TreeView1->selectNode(*TreeView1->nodeAt(1));
  Text1->setFocus();
  if (complete) SaveSetting(kReloadSetting, QStringLiteral("0"));
}

void FrmBrowseAcc::addAccountNode(const ChartAccount& account, const QString& language) {
  const QString relative = account.father == kTopLevel ? kRootKey : kRootKey + account.father;
  TreeView::Node& node = TreeView1->addChildNode(relative, kRootKey + account.number,
                                                 AccountChart::NodeText(account, language),
                                                 AccountChart::ImageKey(account));
  TreeView::setTag(node, account.number);
}

bool FrmBrowseAcc::askToContinueLoading(const TreeError& error, const QString& accNo) {
  const QString text = Translate(kErrorNumber) + QString::number(error.number()) + '\n' +
                       error.description() + '\n' + Translate(kAccountNumberColon) + accNo +
                       QStringLiteral("\r\n") + Translate(kContinueLoading);
  return showMessage(text, mb::kYesNo | mb::kQuestion) == mb::kYes;
}

void FrmBrowseAcc::Command4_Click() {
  Text1->setFocus();
  bool search = true;
  if (Text1->text().trimmed().isEmpty() && !emptySearchAccepted_) {
    const QString question = Translate(kTypeSearchText) + '\n' + Translate(kSearchWithoutText);
    if (showMessage(question, mb::kYesNo | mb::kQuestion) == mb::kYes) {
      emptySearchAccepted_ = true;
      search = false;
    }
  }
  if (search) {
    // A text of blanks is searched as the empty text, which every node
    // begins with.
    const QString text = Text1->text().trimmed().isEmpty() ? QString() : Text1->text();
    const TreeView::Node* selected = TreeView1->selectedNode();
    searchFrom(selected ? TreeView::indexOf(*selected) + 1 : 1, text);
  }
  Picture1->hide();
  platform().setMousePointer(MousePointer::Default);
}

void FrmBrowseAcc::searchFrom(int index, const QString& text) {
  const bool byName = Option1[0]->isChecked();
  const int mode = Combo1->currentIndex();
  while (true) {
    found_ = false;
    for (int i = index; i <= TreeView1->nodeCount() && !found_; ++i) {
      if (AccountChart::NodeMatches(TreeView1->nodeText(i), text, byName, mode)) {
        TreeView1->selectNode(*TreeView1->nodeAt(i));
        found_ = true;
      }
    }
    if (found_) return;
    const QString ended = Translate(kSearchEnded) + text + QLatin1Char(']');
    if (wrapped_) {
      showMessage(ended, mb::kOkOnly);
      wrapped_ = false;
      return;
    }
    if (showMessage(ended + '\n' + Translate(kSearchFromStart), mb::kYesNo | mb::kInformation) !=
        mb::kYes) {
      return;
    }
    TreeView::Node* root = TreeView1->nodeAt(1);
    if (!root) return;
    wrapped_ = true;
    TreeView1->selectNode(*root);
    index = 2;
  }
}

void FrmBrowseAcc::Command2_Click() {
  const TreeView::Node* selected = TreeView1->selectedNode();
  const bool byName = Option1[0]->isChecked();
  if (!selected || isRoot(*selected)) {
    MsgBox(byName ? kChooseName : kChooseNumber, mb::kInformation);
    return;
  }
  SaveSetting(kByNameSetting, byName ? QStringLiteral("True") : QStringLiteral("False"));
  SaveSetting(kSearchSetting, QString::number(Combo1->currentIndex()));
  setTag(*this, TreeView::keyOf(*selected).mid(kRootKey.size()));
  hide();
}

void FrmBrowseAcc::Command1_Click() {
  setTag(*this, QString());
  hide();
}

void FrmBrowseAcc::Command3_Click() {
  SaveSetting(kReloadSetting, QStringLiteral("1"));
  FillTree();
}

void FrmBrowseAcc::CmdOptions_Click() {
  const QRect button = CmdOptions->rect();
  MnuAcc->popup(
      CmdOptions->mapToGlobal(isRightToLeft() ? button.bottomRight() : button.bottomLeft()));
}

template <class Step>
void FrmBrowseAcc::maintain(Step&& step) {
  try {
    step();
  } catch (const DbError& error) {
    ShowError(error);
    CmdCancel_Click();
    mode_.clear();
    ReportErrors([this] { Command3_Click(); });
  }
}

void FrmBrowseAcc::MenuAcc_Click(int index) {
  if (index > 2) return;  // the separator and cancel do nothing
  const TreeView::Node* selected = TreeView1->selectedNode();
  if (!selected || isRoot(*selected)) {
    MsgBox(kChooseParent, mb::kInformation);
    return;
  }
  editedNumber_ = TreeView::keyOf(*selected).mid(kRootKey.size());
  maintain([this, index] {
    editedId_ = AccountMaintenance(BranchID).AccountId(editedNumber_);
    if (index == 0) startNew();
    if (index == 1) startEdit();
    if (index == 2) deleteAccount();
  });
}

void FrmBrowseAcc::startNew() {
  const AccountMaintenance accounts(BranchID);
  if (accounts.HasJournalLines(editedId_)) {
    showMessage(Translate(kAccountNumber) + QLatin1Char(' ') + editedNumber_ + '\n' +
                    Translate(kNoParentWithLines),
                mb::kCritical);
    return;
  }
  openFrameAdd();
  mode_ = kAdd;
  txtAccNo->clear();
  txtAccNameA->clear();
  txtAccNameE->clear();
  lblAccFatherNo->setText(editedNumber_);
  lblAccFatherName->setText(accounts.AccountName(editedNumber_, GetLanguage()));
  txtAccNo->setReadOnly(false);
  txtAccNo->setText(accounts.ProposedNumber(editedNumber_));
  proposeFocus();
}

void FrmBrowseAcc::startEdit() {
  const AccountMaintenance accounts(BranchID);
  const AccountCard account = accounts.Card(editedId_);
  openFrameAdd();
  mode_ = kEdit;
  txtAccNo->setText(editedNumber_);
  txtAccNameA->setText(account.nameA);
  txtAccNameE->setText(account.nameE);
  lblAccFatherNo->setText(account.father);
  lblAccFatherName->setText(accounts.AccountName(account.father, GetLanguage()));
  txtAccNo->setReadOnly(account.haves > 0);
  proposeFocus();
}

void FrmBrowseAcc::proposeFocus() {
  if (!txtAccNo->isReadOnly() && Val(txtAccNo->text()) == 1) {
    txtAccNo->setText(lblAccFatherNo->text() + QStringLiteral("01"));
    txtAccNo->setFocus();
  } else {
    txtAccNameA->setFocus();
  }
}

void FrmBrowseAcc::openFrameAdd() {
  FrameAdd->show();
  const QRect frame = twipsGeometry(*FrameAdd);
  QRect tree = twipsGeometry(*TreeView1);
  tree.moveTop(frame.top() + frame.height() + kFrameGap);
  tree.setHeight(kTreeHeightBelowFrame);
  setTwipsGeometry(*TreeView1, tree);
  setMaintenanceEnabled(false);
}

void FrmBrowseAcc::CmdCancel_Click() {
  FrameAdd->hide();
  QRect tree = twipsGeometry(*TreeView1);
  tree.moveTop(twipsGeometry(*FrameAdd).top());
  tree.setHeight(kTreeHeight);
  setTwipsGeometry(*TreeView1, tree);
  setMaintenanceEnabled(true);
}

void FrmBrowseAcc::setMaintenanceEnabled(bool enabled) {
  for (int i = 0; i < 3; ++i) MenuAcc[i]->setEnabled(enabled);
  for (QWidget* control :
       std::initializer_list<QWidget*>{TreeView1, Text1, Combo1, Command3, Command1, Command2}) {
    control->setEnabled(enabled);
  }
}

void FrmBrowseAcc::CmdSave_Click() {
  const QString number = txtAccNo->text();
  if (number.trimmed().isEmpty()) {
    MsgBox(kEnterNumber, mb::kInformation);
    txtAccNo->setFocus();
    return;
  }
  const QString nameA = txtAccNameA->text().trimmed();
  const QString nameE = txtAccNameE->text().trimmed();
  if (nameA.isEmpty() && nameE.isEmpty()) {
    MsgBox(kEnterName, mb::kInformation);
    txtAccNameA->setFocus();
    return;
  }
  maintain([&] {
    AccountMaintenance accounts(BranchID);
    const bool adding = mode_ == kAdd;
    qint64 parentId = 0;
    if (adding) {
      parentId = accounts.AccountId(editedNumber_);
      if (parentId == 0) {
        MsgBox(kNoParent, mb::kInformation);
        return;
      }
    }
    if (accounts.NumberTaken(number, adding ? std::nullopt : std::optional(editedNumber_))) {
      MsgBox(kNumberExists, mb::kCritical);
      txtAccNo->setFocus();
      return;
    }
    if (adding) {
      accounts.Add(parentId, editedNumber_, number, nameA, nameE);
    } else {
      accounts.Edit(editedId_, number, nameA, nameE);
    }
    CmdCancel_Click();
    Text1->setText(adding ? number : editedNumber_);
    mode_.clear();
    Command3_Click();
    selectAccount(number);
  });
}

void FrmBrowseAcc::deleteAccount() {
  if (MsgBox(kConfirmDelete, mb::kYesNo | mb::kQuestion | mb::kDefaultButton2) != mb::kYes) return;
  AccountMaintenance accounts(BranchID);
  const AccountCard account = accounts.Card(editedId_);
  if (account.startDebit > 0 || account.startCredit > 0) {
    MsgBox(kOpeningBalance, mb::kCritical);
    return;
  }
  const AccountRemoval removal = accounts.PlanRemoval(account);
  if (removal.inUse) {
    showMessage(Translate(kAccountNumber) + QLatin1Char(' ') + removal.inUse->number + '\n' +
                    Translate(removal.inUse->use),
                mb::kCritical);
    return;
  }
  Text1->setText(account.father);
  if (account.haves > 0 || removal.ids.size() > 1) {
    const int style = mb::kYesNo | mb::kQuestion | mb::kDefaultButton2;
    const QString first = Translate(kRemoveWithSubAccounts) + '\r' + Translate(kMovementsRemoved) +
                          '\r' + Translate(kContinue);
    if (showMessage(first, style) != mb::kYes) return;
    if (showMessage(Translate(kLastChance) + '\r' + Translate(kContinue), style) != mb::kYes) {
      return;
    }
  }
  accounts.Remove(account, removal);
  SaveSetting(kReloadSetting, QStringLiteral("1"));
  CmdCancel_Click();
  FillTree();
  selectAccount(account.father);
}

void FrmBrowseAcc::selectAccount(const QString& number) {
  if (TreeView::Node* node = TreeView1->node(kRootKey + number)) TreeView1->selectNode(*node);
}

QString BrowseAccount() {
  auto& browser = windows().get<FrmBrowseAcc>();
  for (int i = 0; i < 3; ++i) browser.MenuAcc[i]->setVisible(true);
  SaveSetting(QStringLiteral("ReLoadAccTree"), QStringLiteral("1"));
  browser.showModal();
  const QString result = tagOf(browser);
  windows().unload<FrmBrowseAcc>();
  return result;
}

}  // namespace qalvoro

// The controls of the catalogue-restore window and where they stand, in
// twips, designed right to left.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "catalogue/FrmCat_Restore.h"
#include "catalogue/PartyImport.h"
#include "catalogue/StockFile.h"
#include "host/forms/Controls.h"
#include "host/forms/SSTab.h"

namespace qalvoro {
namespace {

constexpr int kRowHeight = 300;
constexpr int kRowStep = 360;
constexpr int kTabFrameTop = 480;
constexpr int kTabFrameWidth = 11040;
constexpr int kTabFrameHeight = 4500;

QLabel* captioned(QLabel* label, const QString& caption) {
  label->setText(caption);
  return label;
}

}  // namespace

QLineEdit* FrmCat_Restore::fieldWithLabel(QWidget* container, const QString& name,
                                          const QString& caption, const QRect& box,
                                          int labelWidth) {
  captioned(addControl<QLabel>(QStringLiteral("Label1"),
                               {box.right() + 61, box.top(), labelWidth, kRowHeight}, container),
            caption);
  return addControl<QLineEdit>(name, box, container);
}

QGroupBox* FrmCat_Restore::tabFrame(const QString& name, const QString& title, int tab) {
  auto* frame =
      addControl<QGroupBox>(name, {120, kTabFrameTop, kTabFrameWidth, kTabFrameHeight}, SSTab1);
  frame->setTitle(title);
  SSTab1->placeOnTab(*frame, tab);
  return frame;
}

void FrmCat_Restore::buildSourceFrame() {
  Frame3 = addControl<QGroupBox>(QStringLiteral("Frame3"), {5640, 60, 5760, 1620});
  Frame3->setTitle(QStringLiteral("قاعدة البيانات القديمة :"));
  txtOldDBFile =
      fieldWithLabel(Frame3, QStringLiteral("txtOldDBFile"), QStringLiteral("ملف قاعدة البيانات :"),
                     {720, 300, 3300, 330}, 1560);
  setLeftToRightValue(*txtOldDBFile);
  CmdDialog = addControl<QPushButton>(QStringLiteral("CmdDialog"), {120, 300, 540, 330}, Frame3);
  CmdDialog->setText(QStringLiteral("..."));
  captioned(addControl<QLabel>(QStringLiteral("Label2"), {4080, 720, 1560, 300}, Frame3),
            QStringLiteral("الفرع :"));
  CboOldBranch =
      addControl<QComboBox>(QStringLiteral("CboOldBranch"), {1740, 690, 2280, 330}, Frame3);
  CmdOpenOldDB =
      addControl<QPushButton>(QStringLiteral("CmdOpenOldDB"), {120, 660, 1500, 390}, Frame3);
  CmdFilter = addControl<QPushButton>(QStringLiteral("CmdFilter"), {120, 1110, 1500, 390}, Frame3);
  CmdFilter->setText(QStringLiteral("تصفية..."));
  CmdFilter->setEnabled(false);
  lblFilter = addControl<QLabel>(QStringLiteral("lblFilter"), {1740, 1155, 3900, 300}, Frame3);
  setAlignment(*lblFilter, kLeftJustify);  // beside the filter button

  captioned(addControl<QLabel>(QStringLiteral("Label5"), {3660, 240, 1860, 330}),
            QStringLiteral("استيراد الى الفرع :"));
  CboBranch = addControl<QComboBox>(QStringLiteral("CboBranch"), {120, 240, 3480, 330});
}

void FrmCat_Restore::buildRunControls() {
  const auto button = [this](const QString& name, const QString& caption, const QRect& twips) {
    auto* created = addControl<QPushButton>(name, twips);
    created->setText(caption);
    return created;
  };
  Cmd_First =
      button(QStringLiteral("Cmd_First"), QStringLiteral("السجل الأول"), {9480, 7020, 1920, 420});
  Cmd_Pre =
      button(QStringLiteral("Cmd_Pre"), QStringLiteral("السجل السابق"), {7440, 7020, 1920, 420});
  Cmd_Next =
      button(QStringLiteral("Cmd_Next"), QStringLiteral("السجل التالي"), {5400, 7020, 1920, 420});
  Cmd_Last = button(QStringLiteral("Cmd_Last"), QStringLiteral("آخر سجل"), {3360, 7020, 1920, 420});
  Lb_CurRec = addControl<QLabel>(QStringLiteral("Lb_CurRec"), {120, 7050, 3120, 360});
  Lb_CurRec->setFrameShape(QFrame::Panel);
  Lb_CurRec->setFrameShadow(QFrame::Sunken);
  for (int i = 0; i < 2; ++i) {
    const int top = 7590 + i * 240;
    ShapeOut[i] = addControl<QFrame>(QStringLiteral("ShapeOut"), {120, top, 6000, 180}, nullptr, i);
    ShapeOut[i]->setFrameShape(QFrame::Box);
    ShapeIN[i] = addControl<QFrame>(QStringLiteral("ShapeIN"), {6105, top, 15, 180}, nullptr, i);
    ShapeIN[i]->setAutoFillBackground(true);
    QPalette bar = ShapeIN[i]->palette();
    bar.setColor(QPalette::Window, QColor(0, 0, 128));
    ShapeIN[i]->setPalette(bar);
  }
  CmdImport =
      button(QStringLiteral("CmdImport"), QStringLiteral("استيراد"), {9900, 8160, 1500, 450});
  CmdImportAll = button(QStringLiteral("CmdImportAll"), QStringLiteral("استيراد الكل"),
                        {8280, 8160, 1500, 450});
  CmdStop = button(QStringLiteral("CmdStop"), QStringLiteral("توقف"), {6660, 8160, 1500, 450});
  CmdStop->setEnabled(false);
  Cmd_Exit =
      button(QStringLiteral("Cmd_Exit"), QStringLiteral("خروج  Esc"), {120, 8160, 1800, 450});
  setCancelButton(Cmd_Exit);
}

void FrmCat_Restore::buildItemTab() {
  Frame4 = tabFrame(QStringLiteral("Frame4"), QStringLiteral("قاعدة البيانات الجديدة:"), kItemsTab);
  const auto named = [this](const char* name, const char* caption, int row) {
    return fieldWithLabel(Frame4, QString::fromLatin1(name), QString::fromUtf8(caption),
                          {6000, 330 + row * kRowStep, 3360, kRowHeight}, 1500);
  };
  TxtCategoryNo = named("TxtCategoryNo", "رقم الصنف :", 0);
  TxtAName = named("TxtAName", "الاسم العربي :", 1);
  TxtEName = named("TxtEName", "الاسم الانجليزي :", 2);
  txtTasneef = named("txtTasneef", "التصنيف :", 3);
  captioned(
      addControl<QLabel>(QStringLiteral("Label1"), {9421, 330 + 4 * kRowStep, 1500, 300}, Frame4),
      QStringLiteral("الفئة :"));
  CboClass = addControl<QComboBox>(QStringLiteral("CboClass"),
                                   {6000, 300 + 4 * kRowStep, 3360, 330}, Frame4);
  captioned(
      addControl<QLabel>(QStringLiteral("Label1"), {9421, 330 + 5 * kRowStep, 1500, 300}, Frame4),
      QStringLiteral("الوحدة :"));
  CboUnit = addControl<QComboBox>(QStringLiteral("CboUnit"), {6000, 300 + 5 * kRowStep, 3360, 330},
                                  Frame4);
  TxtLocation = named("TxtLocation", "الموقع :", 6);
  ChkClass = addControl<QCheckBox>(QStringLiteral("ChkClass"), {6000, 2910, 4920, 300}, Frame4);
  ChkClass->setText(QStringLiteral("إستيراد التصنيف كفئات ."));
  ChkProvider =
      addControl<QCheckBox>(QStringLiteral("ChkProvider"), {6000, 3270, 4920, 300}, Frame4);
  ChkProvider->setText(QStringLiteral("إستيراد التصنيف كـ مورد"));
  Frame2 = addControl<QGroupBox>(QStringLiteral("Frame2"), {6000, 3630, 4920, 720}, Frame4);
  Frame2->setTitle(QStringLiteral("نوع الصنف :"));
  OptType[0] =
      addControl<QRadioButton>(QStringLiteral("OptType"), {2640, 330, 2100, 300}, Frame2, 0);
  OptType[0]->setText(QStringLiteral("سلعي"));
  OptType[1] =
      addControl<QRadioButton>(QStringLiteral("OptType"), {360, 330, 2100, 300}, Frame2, 1);
  OptType[1]->setText(QStringLiteral("خدمي"));

  const auto amount = [this](const QString& name, const QString& caption, int row, int index = -1) {
    const int top = 330 + row * kRowStep;
    auto* label = captioned(
        addControl<QLabel>(QStringLiteral("Label3"), {3420, top, 2400, kRowHeight}, Frame4),
        caption);
    auto* box = addControl<QLineEdit>(name, {120, top, 3240, kRowHeight}, Frame4, index);
    return std::pair{label, box};
  };
  const std::array<std::pair<const char*, const char*>, 4> quantities = {{
      {"TxtAQuantity", "الكمية المتوفرة :"},
      {"TxtRQuantity", "الكمية المطلوبة :"},
      {"TxtIQuantity", "كمية الجرد :"},
      {"TxtRPoint", "نقطة الطلب :"},
  }};
  std::array<QLineEdit*, 4> quantityBoxes{};
  for (int i = 0; i < 4; ++i) {
    std::tie(quantityLabels_[i], quantityBoxes[i]) = amount(
        QString::fromLatin1(quantities[i].first), QString::fromUtf8(quantities[i].second), i);
  }
  TxtAQuantity = quantityBoxes[0];
  TxtRQuantity = quantityBoxes[1];
  TxtIQuantity = quantityBoxes[2];
  TxtRPoint = quantityBoxes[3];
  TxtCostPrice = amount(QStringLiteral("TxtCostPrice"), QStringLiteral("سعر التكلفة :"), 4).second;
  const std::array<const char*, 6> prices = {"نسبة الربح% (قطاعي)", "نسبة الربح% (جمله)",
                                             "سعر البيع",           "أدنى سعر بيع",
                                             "سعر الجمله",          "سعر السوق"};
  for (int i = 0; i < 6; ++i) {
    txtPrice[i] = amount(QStringLiteral("txtPrice"), QString::fromUtf8(prices[i]), 5 + i, i).second;
  }
}

FrmCat_Restore::PartyTab FrmCat_Restore::buildPartyTab(
    int tab, const PartyKind& kind, const PartyTexts& texts, std::array<QLineEdit*, 2>& accounts,
    std::array<QPushButton*, 2>& accountButtons) {
  PartyTab party;
  party.kind = &kind;
  party.texts = &texts;
  party.frame = tabFrame(QString::fromLatin1(texts.frame), QString::fromUtf8(texts.title), tab);
  const auto named = [&](const char* name, const QString& caption, int row) {
    return fieldWithLabel(party.frame, QString::fromLatin1(texts.boxes) + QLatin1String(name),
                          caption, {3000, 330 + row * kRowStep, 6060, kRowHeight}, 1800);
  };
  party.number = named("No", QString::fromUtf8(texts.numberCaption), 0);
  party.name = named("Name", QStringLiteral("الاسم :"), 1);
  party.person = named("Person", QStringLiteral("الشخص المسئول :"), 2);
  party.address = named("Address", QStringLiteral("العنوان :"), 3);
  party.phone = named("Phone", QStringLiteral("الهاتف :"), 4);
  party.fax = named("Fax", QStringLiteral("الفاكس :"), 5);
  party.addAccount = addControl<QCheckBox>(QString::fromLatin1(texts.addAccountBox),
                                           {3000, 2640, 7920, kRowHeight}, party.frame);
  party.addAccount->setText(QString::fromUtf8(texts.addAccount));
  captioned(
      addControl<QLabel>(QStringLiteral("Label1"), {8280, 3060, 2640, kRowHeight}, party.frame),
      QString::fromUtf8(texts.parentCaption));
  accounts[1] = addControl<QLineEdit>(QString::fromLatin1(texts.accountBox),
                                      {5760, 3030, 2460, 330}, party.frame, 1);
  accountButtons[1] = addControl<QPushButton>(QString::fromLatin1(texts.accountButton),
                                              {5160, 3030, 540, 330}, party.frame, 1);
  accountButtons[1]->setText(QStringLiteral("..."));
  party.parentAccount = accounts[1];
  party.chooseAccount = accountButtons[1];
  return party;
}

void FrmCat_Restore::buildPartyTabs() {
  static const PartyTexts customers = {"Frame5",
                                       "txtCustomer",
                                       "txtAccCustomer",
                                       "CmdAccCustmr",
                                       "ChkAddCustmAcc",
                                       "بيانات العميل",
                                       "رقم العميل :",
                                       "حساب العملاء الرئيسي :",
                                       "إدراج رقم حساب للعميل .",
                                       "يجب تحديد رقم حساب العملاء",
                                       "أدخل رقم العميل",
                                       "أدخل اسم العميل",
                                       false};
  static const PartyTexts providers = {"Frame6",
                                       "txtProv",
                                       "txtAccProvider",
                                       "CmdAccProvdr",
                                       "ChkAddProvAcc",
                                       "بيانات المورد",
                                       "رقم المورد :",
                                       "حساب الموردين الرئيسي :",
                                       "إدراج رقم حساب للمورد .",
                                       "يجب تحديد رقم حساب الموردين",
                                       "أدخل رقم المورد",
                                       "أدخل اسم المورد",
                                       true};
  customer_ =
      buildPartyTab(kCustomersTab, CustomerParty(), customers, txtAccCustomer, CmdAccCustmr);
  provider_ =
      buildPartyTab(kProvidersTab, ProviderParty(), providers, txtAccProvider, CmdAccProvdr);
  std::tie(Frame5, txtCustomerNo, txtCustomerName, txtCustomerPerson, txtCustomerAddress,
           txtCustomerPhone, txtCustomerFax, ChkAddCustmAcc) = customer_.controls();
  std::tie(Frame6, txtProvNo, txtProvName, txtProvPerson, txtProvAddress, txtProvPhone, txtProvFax,
           ChkAddProvAcc) = provider_.controls();
}

void FrmCat_Restore::buildInvoiceTabs() {
  // The sales and purchase tabs are twins: an invoice frame, a return frame
  // and the start number of the renumbering.
  struct InvoiceTab {
    int tab;
    const char* invoiceFrame;
    const char* returnFrame;
    const char* number;
    const char* date;
    const char* name;
    const char* amount;
    const char* returnNumber;
    const char* returnDate;
    const char* returnName;
    const char* returnAmount;
    const char* partyCaption;
  };
  const std::array<InvoiceTab, 2> tabs = {{
      {kSalesTab, "Frame7", "Frame8", "TxtSalesNo", "TxtSalesDate", "TxtSalesName",
       "TxtSalesAmount", "CboRSalesNo", "TxtRSalesDate", "TxtRSalesName", "TxtRSalesAmount",
       "اسم العميل :"},
      {kPurchasesTab, "Frame9", "Frame10", "txtBuyNo", "TxtBuyDate", "TxtBuyName", "TxtBuyAmount",
       "CboRBuyNo", "TxtRBuyDate", "TxtRBuyName", "TxtRBuyAmount", "اسم المورد :"},
  }};
  for (int i = 0; i < 2; ++i) {
    const InvoiceTab& spec = tabs[i];
    auto* invoice = addControl<QGroupBox>(QString::fromLatin1(spec.invoiceFrame),
                                          {5640, kTabFrameTop, 5520, 2700}, SSTab1);
    invoice->setTitle(QStringLiteral("بيانات الفاتورة"));
    SSTab1->placeOnTab(*invoice, spec.tab);
    const auto field = [&](QGroupBox* frame, const char* name, const char* caption, int row) {
      return fieldWithLabel(frame, QString::fromLatin1(name), QString::fromUtf8(caption),
                            {120, 330 + row * kRowStep, 3600, kRowHeight}, 1620);
    };
    QLineEdit* number = field(invoice, spec.number, "رقم الفاتورة :", 0);
    QLineEdit* date = field(invoice, spec.date, "التاريخ :", 1);
    QLineEdit* name = field(invoice, spec.name, spec.partyCaption, 2);
    QLineEdit* amount = field(invoice, spec.amount, "المبلغ :", 3);
    captioned(addControl<QLabel>(QStringLiteral("Label1"), {3781, 330 + 4 * kRowStep, 1620, 300},
                                 invoice),
              QStringLiteral("الصندوق :"));
    CboCashier[i] = addControl<QComboBox>(QStringLiteral("CboCashier"),
                                          {120, 300 + 4 * kRowStep, 3600, 330}, invoice, i);

    auto* returns = addControl<QGroupBox>(QString::fromLatin1(spec.returnFrame),
                                          {120, kTabFrameTop, 5400, 2700}, SSTab1);
    returns->setTitle(QStringLiteral("المرتجعات"));
    SSTab1->placeOnTab(*returns, spec.tab);
    captioned(addControl<QLabel>(QStringLiteral("Label1"), {3661, 330, 1620, 300}, returns),
              QStringLiteral("رقم المرتجع :"));
    auto* returnNumber = addControl<QComboBox>(QString::fromLatin1(spec.returnNumber),
                                               {120, 300, 3480, 330}, returns);
    const auto returnField = [&](const char* fieldName, const char* caption, int row) {
      return fieldWithLabel(returns, QString::fromLatin1(fieldName), QString::fromUtf8(caption),
                            {120, 330 + row * kRowStep, 3480, kRowHeight}, 1620);
    };
    QLineEdit* returnDate = returnField(spec.returnDate, "التاريخ :", 1);
    QLineEdit* returnName = returnField(spec.returnName, "الاسم :", 2);
    QLineEdit* returnAmount = returnField(spec.returnAmount, "المبلغ :", 3);

    lblStartInvNo[i] =
        addControl<QLabel>(QStringLiteral("lblStartInvNo"), {6480, 3540, 3000, 300}, SSTab1, i);
    lblStartInvNo[i]->setText(QStringLiteral("بداية الترقيم :"));
    txtStartInvNo[i] =
        addControl<QLineEdit>(QStringLiteral("txtStartInvNo"), {4930, 3525, 1500, 330}, SSTab1, i);
    CmdStartInvNo[i] = addControl<QPushButton>(QStringLiteral("CmdStartInvNo"),
                                               {3420, 3495, 1500, 390}, SSTab1, i);
    CmdStartInvNo[i]->setText(QStringLiteral("إعادة الترقيم"));
    for (QWidget* control :
         std::initializer_list<QWidget*>{lblStartInvNo[i], txtStartInvNo[i], CmdStartInvNo[i]}) {
      SSTab1->placeOnTab(*control, spec.tab);
    }
    if (spec.tab == kSalesTab) {
      Frame7 = invoice;
      Frame8 = returns;
      std::tie(TxtSalesNo, TxtSalesDate, TxtSalesName, TxtSalesAmount) =
          std::tuple{number, date, name, amount};
      std::tie(CboRSalesNo, TxtRSalesDate, TxtRSalesName, TxtRSalesAmount) =
          std::tuple{returnNumber, returnDate, returnName, returnAmount};
    } else {
      Frame9 = invoice;
      Frame10 = returns;
      std::tie(txtBuyNo, TxtBuyDate, TxtBuyName, TxtBuyAmount) =
          std::tuple{number, date, name, amount};
      std::tie(CboRBuyNo, TxtRBuyDate, TxtRBuyName, TxtRBuyAmount) =
          std::tuple{returnNumber, returnDate, returnName, returnAmount};
    }
  }
}

void FrmCat_Restore::buildVoucherTab() {
  Frame11 = tabFrame(QStringLiteral("Frame11"), QStringLiteral("بيانات السند"), kVouchersTab);
  lblSndType = addControl<QLabel>(QStringLiteral("lblSndType"), {6000, 300, 4920, 360}, Frame11);
  setAlignment(*lblSndType, kCenter);
  const auto field = [this](const char* name, const char* caption, int row) {
    return fieldWithLabel(Frame11, QString::fromLatin1(name), QString::fromUtf8(caption),
                          {6000, 720 + row * kRowStep, 3060, kRowHeight}, 1800);
  };
  txtSndNo = field("txtSndNo", "رقم السند :", 0);
  txtSndDate = field("txtSndDate", "التاريخ :", 1);
  txtSndType = field("txtSndType", "المستفيد :", 2);
  txtSndName = field("txtSndName", "الاسم :", 3);
  txtSndMoney = field("txtSndMoney", "المبلغ :", 4);
  txtSndDetail = field("txtSndDetail", "مقابل :", 5);

  captioned(addControl<QLabel>(QStringLiteral("Label1"), {3300, 750, 2400, 300}, Frame11),
            QStringLiteral("الصندوق :"));
  CboCashier[2] =
      addControl<QComboBox>(QStringLiteral("CboCashier"), {120, 720, 3120, 330}, Frame11, 2);
  const std::array<std::tuple<const char*, const char*, const char*>, 2> parents = {{
      {"txtAccCustomer", "CmdAccCustmr", "حساب العملاء الرئيسي :"},
      {"txtAccProvider", "CmdAccProvdr", "حساب الموردين الرئيسي :"},
  }};
  for (int i = 0; i < 2; ++i) {
    const auto& [box, button, caption] = parents[i];
    const int top = 1140 + i * 420;
    captioned(addControl<QLabel>(QStringLiteral("Label1"), {3300, top + 30, 2400, 300}, Frame11),
              QString::fromUtf8(caption));
    auto* account =
        addControl<QLineEdit>(QString::fromLatin1(box), {720, top, 2520, 330}, Frame11, 0);
    auto* choose =
        addControl<QPushButton>(QString::fromLatin1(button), {120, top, 540, 330}, Frame11, 0);
    choose->setText(QStringLiteral("..."));
    (i == 0 ? txtAccCustomer : txtAccProvider)[0] = account;
    (i == 0 ? CmdAccCustmr : CmdAccProvdr)[0] = choose;
  }
  ChkAutoSND = addControl<QCheckBox>(QStringLiteral("ChkAutoSND"), {120, 2100, 5580, 300}, Frame11);
  ChkAutoSND->setText(QStringLiteral("ترقيم السندات آلياً"));
}

}  // namespace qalvoro

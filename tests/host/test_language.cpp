// Translation, the layout of windows and the reading order of their texts: Arabic captions
// right to left whatever they begin with, mirrored English ones left to right, data its own.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include "host/db/Recordset.h"
#include "host/forms/Form.h"
#include "host/forms/SSTab.h"
#include "host/language/FormLayout.h"
#include "host/language/Language.h"
#include "host/platform/DesktopPlatform.h"
#include "tests/host/HostTest.h"
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

using LanguageTest = HostTest;

TEST_F(LanguageTest, TranslateFollowsTheLanguageAndCollectsNewTexts) {
  openLanguage();
  const auto setEnglish = [](const QString& arabic, const QString& english) {
    globals().LangConnection->execute("UPDATE Lang SET Eng = ? WHERE Ara = ?", {english, arabic});
    globals().LangRecordset->requery();
  };
  EXPECT_EQ(Translate(QStringLiteral("موافق")), "موافق");
  setSetting("Language", "E");
  EXPECT_EQ(Translate(QString()), "");
  EXPECT_EQ(Translate(QStringLiteral("موافق")), "OK");

  const QString fresh = QStringLiteral("نص جديد لم يترجم");
  EXPECT_EQ(Translate(fresh), fresh);
  const auto rows = [](const QString& where, const QVariantList& params = {}) {
    return RowTexts("SELECT COUNT(*) FROM Lang" + where, params, *globals().LangConnection)[0];
  };
  EXPECT_EQ(rows(" WHERE Ara = ?", {fresh}), "1") << "a new text is stored at once, and once";
  setEnglish(fresh, QStringLiteral("  \tA new\ntext\t "));
  EXPECT_EQ(Translate(fresh), "\tA new\ntext\t") << "only blanks are trimmed";
  setEnglish(fresh, QStringLiteral("   "));
  EXPECT_EQ(Translate(fresh), "") << "blank English gives an empty text";
  const QString quoted = QStringLiteral("حساب 'العميل'");
  EXPECT_EQ(Translate(quoted), quoted);
  setEnglish(quoted, QStringLiteral("The customer's account"));
  EXPECT_EQ(Translate(quoted), "The customer's account");
  EXPECT_EQ(QString::number(globals().LangRecordset->recordCount()), rows(""))
      << "the filter is cleared after every lookup";

  // Another program switches the language back: the next caption follows.
  QSettings(QSettings::IniFormat, QSettings::UserScope, iniName())
      .setValue(QStringLiteral("Setting/Language"), QStringLiteral("A"));
  EXPECT_EQ(Translate(QStringLiteral("موافق")), "موافق");
}

template <class Control>
Control* captioned(Control* control, const char* caption) {
  setCaption(*control, QString::fromUtf8(caption));
  return control;
}

// A window in the shape of the examples the layout rules are checked on.
struct SampleForm : Form {
  SampleForm() : Form(QStringLiteral("SampleForm")) {
    setTwipsSize(6000, 6000);
    label->setToolTip(QStringLiteral("خروج"));
    tabs->addTab(QStringLiteral("نعم"));
    tabs->addTab(QStringLiteral("لا"));
    tabs->placeOnTab(*onTab, 0);
    tabs->placeOnTab(*onHiddenTab, 1);
    text->setText(QStringLiteral("موافق"));
    addMenuItem(*menu, "MenuExit");
  }
  QLabel* label = captioned(addControl<QLabel>("Label1", {200, 100, 1000, 300}), "الاسم :");
  QGroupBox* frame = captioned(addControl<QGroupBox>("Frame1", {2500, 600, 3000, 1500}), "الفترة");
  QLabel* inFrame = addControl<QLabel>("Label2", {200, 300, 1000, 300}, frame);
  QRadioButton* option =
      captioned(addControl<QRadioButton>("Option1", {200, 800, 1000, 300}, frame), "نعم");
  SSTab* tabs = addControl<SSTab>("SSTab1", {500, 2200, 5000, 3000});
  QPushButton* onTab = captioned(addControl<QPushButton>("Command1", {200, 600, 2400, 300}, tabs),
                                 "إعادة تحميل الدليل الحسابات");
  QPushButton* onHiddenTab =
      captioned(addControl<QPushButton>("Command2", {200, 1200, 1000, 300}, tabs), "موافق");
  QLineEdit* text = addControl<QLineEdit>("Text2", {3000, 100, 1000, 300});
  QAction* menu = (new QMenu(this))->addAction(QStringLiteral("خروج"));
};

TEST_F(LanguageTest, MirrorAndTranslateFormReachFramesEveryTabMenusAndTips) {
  openLanguage();
  setSetting("Language", "E");
  SampleForm form;
  auto* menu = static_cast<QMenu*>(form.menu->parent());
  EXPECT_TRUE(menu->isRightToLeft()) << "a menu opens to the left";
  EXPECT_TRUE(form.onHiddenTab->isHidden()) << "a page not showing takes no focus";
  const QFont designed = form.option->font();
  form.setCaption(QStringLiteral("استيراد بيانات"));
  MirrorForm(form);
  TranslateForm(form);
  EXPECT_EQ(twipsGeometry(*form.label).left(), 4700);
  EXPECT_EQ(twipsGeometry(*form.frame).left(), 6000 - 5500 - 100);
  EXPECT_EQ(twipsGeometry(*form.inFrame).left(), 1800);
  EXPECT_EQ(twipsGeometry(*form.onTab).left(), 2400);
  form.tabs->setCurrentTab(1);
  EXPECT_EQ(twipsGeometry(*form.onHiddenTab).left(), 3800);
  EXPECT_TRUE(form.onTab->isHidden() && !form.onHiddenTab->isHidden());
  EXPECT_FALSE(rightToLeftOf(form) || rightToLeftOf(*form.text) || menu->isRightToLeft());
  EXPECT_EQ(form.text->layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(alignmentOf(*form.label), kLeftJustify);
  EXPECT_EQ(alignmentOf(*form.option), kLeftJustify);

  EXPECT_EQ(QStringList({form.caption(), form.frame->title(), form.option->text(),
                         form.onHiddenTab->text(), form.label->toolTip(), form.tabs->tabCaption(0),
                         form.tabs->tabCaption(1), form.menu->text()}),
            QStringList({"Import data", "Period", "Yes", "OK", "Exit", "Yes", "No", "Exit"}));
  EXPECT_EQ(form.text->text(), QStringLiteral("موافق")) << "text boxes keep their text";
  EXPECT_EQ(form.onTab->text(), "Reload the chart of accounts");
  EXPECT_LT(form.onTab->fontMetrics().horizontalAdvance(form.onTab->text()), form.onTab->width())
      << "a long caption is not cut";
  EXPECT_EQ(form.option->font(), designed) << "one that fits keeps its font";
}

// Draws a widget with a painter reading left to right (as a window's own
// painting does) and records where each run of text lands, in visual order.
class TextRuns : public QImage {
 public:
  explicit TextRuns(QWidget& widget) : QImage(800, 400, QImage::Format_ARGB32) {
    QPainter painter(this);
    painter.setLayoutDirection(Qt::LeftToRight);
    widget.render(&painter);
  }
  // The left edge of the first run that holds the piece of text.
  qreal leftOf(const QString& piece) const {
    for (const auto& [text, left] : engine_.runs) {
      if (text.contains(piece)) return left;
    }
    ADD_FAILURE() << "no run holds " << piece.toStdString();
    return -1;
  }
  // Whether the pieces, given in reading order, stand from right to left.
  bool readRightToLeft(const QStringList& pieces) const {
    for (int i = 1; i < pieces.size(); ++i) {
      if (leftOf(pieces[i]) >= leftOf(pieces[i - 1])) return false;
    }
    return true;
  }
  QPaintEngine* paintEngine() const override { return &engine_; }

 private:
  struct Engine : QPaintEngine {
    Engine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF& at, const QTextItem& item) override {
      runs.emplace_back(item.text(), at.x());
    }
    Type type() const override { return User; }
    std::vector<std::pair<QString, qreal>> runs;
  };
  mutable Engine engine_;
};

// Captions with their words in reading order; each word lands in a run of its own.
const std::vector<std::pair<QString, QStringList>> kMixedCaptions = {
    {QStringLiteral("استيراد من Qalvoro للمخزون الإصدار 1.2 :"),
     {QStringLiteral("استيراد"), "Qalvoro", QStringLiteral("للمخزون"), "1.2", ":"}},
    {QStringLiteral("Qalvoro للمحاسبة الإصدار 1.0 :"),
     {"Qalvoro", QStringLiteral("للمحاسبة"), "1.0", ":"}},
};

// One control of every kind, each showing the same text.
struct EveryControl : Form {
  EveryControl() : Form(QStringLiteral("EveryControl")) {
    setTwipsSize(9000, 9000);
    tabs->addTab(QString());
    setLeftToRightValue(*path);
  }
  void show(const QString& caption) {
    for (QObject* control : std::initializer_list<QObject*>{label, option, check, frame, command}) {
      qalvoro::setCaption(*control, caption);
    }
    text->setText(caption);
    combo->clear();
    combo->addItem(caption);
    list->clear();
    list->addItem(caption);
    tabs->setTabCaption(0, caption);
  }
  QLabel* label = addControl<QLabel>("Label1", {200, 100, 8000, 300});
  QRadioButton* option = addControl<QRadioButton>("Option1", {200, 500, 8000, 300});
  QCheckBox* check = addControl<QCheckBox>("Check1", {200, 900, 8000, 300});
  QGroupBox* frame = addControl<QGroupBox>("Frame1", {200, 1300, 8000, 600});
  QPushButton* command = addControl<QPushButton>("Command1", {200, 2000, 8000, 400});
  QListWidget* list = addControl<QListWidget>("List1", {200, 3300, 8000, 600});
  SSTab* tabs = addControl<SSTab>("SSTab1", {200, 4000, 8000, 1000});
  QLineEdit* text = addControl<QLineEdit>("Text1", {200, 2500, 8000, 300});
  QComboBox* combo = addControl<QComboBox>("Combo1", {6000, 2900, 1500, 330});
  QLineEdit* path = addControl<QLineEdit>("Text2", {200, 5200, 8000, 300});
};

TEST_F(LanguageTest, CaptionsReadInTheWindowsOrderDataInItsOwnAndListsOpenOnItsSide) {
  EveryControl window;
  for (const bool mirrored : {false, true}) {
    if (mirrored) MirrorForm(window);
    for (const auto& [caption, pieces] : kMixedCaptions) {
      window.show(caption);
      for (QWidget* control :
           std::initializer_list<QWidget*>{window.label, window.option, window.check, window.frame,
                                           window.command, window.list, window.tabs}) {
        const TextRuns runs(*control);
        EXPECT_TRUE(mirrored ? runs.leftOf("Qalvoro") < runs.leftOf(":")
                             : runs.readRightToLeft(pieces))
            << control->metaObject()->className() << ": " << caption.toStdString();
      }
    }
    window.show(QStringLiteral("علبة 6x250 مل"));  // a name as data
    for (QWidget* control : std::initializer_list<QWidget*>{window.text, window.combo}) {
      EXPECT_TRUE(TextRuns(*control).readRightToLeft(
          {QStringLiteral("علبة"), "x250", QStringLiteral("مل")}))
          << control->metaObject()->className() << (mirrored ? " in English" : " in Arabic");
    }
    if (!mirrored) {
      window.label->setText(QStringLiteral("1 من 30"));
      EXPECT_TRUE(TextRuns(*window.label).readRightToLeft({"1", QStringLiteral("من"), "30"}));
    }
    window.path->setText(QStringLiteral("/بيانات/STOCK001.MDB"));
    const TextRuns path(*window.path);
    EXPECT_LT(path.leftOf(QStringLiteral("بيانات")), path.leftOf("STOCK001"));

    // A list wider than its box opens under the box's edge it reads from.
    window.combo->addItem(QString(30, 'x'));
    window.QWidget::show();
    window.combo->showPopup();
    const QRect box(window.combo->mapToGlobal(QPoint(0, 0)), window.combo->size());
    const QRect list = QApplication::activePopupWidget()->geometry();
    EXPECT_EQ(mirrored ? list.left() : list.right(), mirrored ? box.left() : box.right());
    window.combo->hidePopup();
    window.hide();
  }
}

TEST_F(LanguageTest, MessageBoxesWithTheRightToLeftFlagsReadRightToLeft) {
  const auto runs = [](const QString& text, int style) {
    return TextRuns(*makeMessageBox(text, mb::kCritical | style, QString()));
  };
  for (const auto& [caption, pieces] : kMixedCaptions) {
    EXPECT_TRUE(runs(caption, mb::kRtlFlags).readRightToLeft(pieces)) << caption.toStdString();
  }
  const auto shown = [&](const char* lineBreak) {
    return runs(QStringLiteral("رقم الصنف :0102") + lineBreak + "Qalvoro", mb::kRtlFlags)
        .leftOf("0102");
  };
  EXPECT_EQ(shown("\r\n"), shown("\n")) << "a two-character line break moves no line";
  const TextRuns plain = runs(kMixedCaptions[0].first, 0);
  EXPECT_LT(plain.leftOf(QStringLiteral("استيراد")), plain.leftOf(":"))
      << "without the flags the text reads left to right";
}

}  // namespace
}  // namespace qalvoro::test

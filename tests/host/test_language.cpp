// Translation through the language table and the layout of windows.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include "host/db/Recordset.h"
#include "host/forms/Form.h"
#include "host/forms/SSTab.h"
#include "host/language/FormLayout.h"
#include "host/language/Language.h"
#include "tests/host/HostTest.h"

namespace qalvoro::test {
namespace {

class LanguageTest : public HostTest {};

int langRows(const QString& arabic) {
  Recordset rows;
  rows.open(QStringLiteral("SELECT * FROM Lang WHERE Ara = ?"), *globals().LangConnection,
            LockType::ReadOnly, {arabic});
  return rows.recordCount();
}

void setEnglish(const QString& arabic, const QString& english) {
  globals().LangConnection->execute(QStringLiteral("UPDATE Lang SET Eng = ? WHERE Ara = ?"),
                                    {english, arabic});
  globals().LangRecordset->requery();
}

TEST_F(LanguageTest, TranslateFollowsTheLanguageAndCollectsNewTexts) {
  openLanguage();
  EXPECT_EQ(GetLanguage(), "A");
  EXPECT_EQ(Translate(QStringLiteral("موافق")), "موافق");
  EXPECT_EQ(Translate(QString()), "");

  setSetting("Language", "E");
  EXPECT_EQ(Translate(QString()), "");
  EXPECT_EQ(Translate(QStringLiteral("موافق")), "OK");
  EXPECT_EQ(Translate(QStringLiteral("Qalvoro")), "Qalvoro");

  const QString fresh = QStringLiteral("نص جديد لم يترجم");
  EXPECT_EQ(langRows(fresh), 0);
  EXPECT_EQ(Translate(fresh), fresh);
  EXPECT_EQ(langRows(fresh), 1) << "a new text is stored at once";
  EXPECT_EQ(Translate(fresh), fresh) << "still untranslated";
  EXPECT_EQ(langRows(fresh), 1) << "and stored only once";

  setEnglish(fresh, QStringLiteral("  \tA new\ntext\t "));
  EXPECT_EQ(Translate(fresh), "\tA new\ntext\t") << "only blanks are trimmed";
  setEnglish(fresh, QStringLiteral("   "));
  EXPECT_EQ(Translate(fresh), "") << "blank English gives an empty text";

  const QString quoted = QStringLiteral("حساب 'العميل'");
  EXPECT_EQ(Translate(quoted), quoted);
  setEnglish(quoted, QStringLiteral("The customer's account"));
  EXPECT_EQ(Translate(quoted), "The customer's account");
  Recordset all;
  all.open(QStringLiteral("Lang"), *globals().LangConnection);
  EXPECT_EQ(globals().LangRecordset->recordCount(), all.recordCount())
      << "the filter is cleared after every lookup";

  // Another program switches the language back: the next caption follows.
  QSettings(QSettings::IniFormat, QSettings::UserScope, iniName())
      .setValue(QStringLiteral("Setting/Language"), QStringLiteral("A"));
  EXPECT_EQ(GetLanguage(), "A");
  EXPECT_EQ(Translate(QStringLiteral("موافق")), "موافق");
}

// A window in the shape of the examples the layout rules are checked on.
class SampleForm : public Form {
 public:
  SampleForm() : Form(QStringLiteral("SampleForm")) {
    setTwipsSize(6000, 6000);
    label = addControl<QLabel>("Label1", {200, 100, 1000, 300});
    label->setText(QStringLiteral("الاسم :"));
    label->setToolTip(QStringLiteral("خروج"));
    frame = addControl<QGroupBox>("Frame1", {2500, 600, 3000, 1500});
    frame->setTitle(QStringLiteral("الفترة"));
    inFrame = addControl<QLabel>("Label2", {200, 300, 1000, 300}, frame);
    option = addControl<QRadioButton>("Option1", {200, 800, 1000, 300}, frame);
    option->setText(QStringLiteral("نعم"));
    tabs = addControl<SSTab>("SSTab1", {500, 2200, 5000, 3000});
    tabs->addTab(QStringLiteral("نعم"));
    tabs->addTab(QStringLiteral("لا"));
    onTab = addControl<QLineEdit>("Text1", {200, 600, 1000, 300}, tabs);
    tabs->placeOnTab(*onTab, 0);
    onHiddenTab = addControl<QPushButton>("Command1", {200, 1200, 1000, 300}, tabs);
    onHiddenTab->setText(QStringLiteral("موافق"));
    tabs->placeOnTab(*onHiddenTab, 1);
    text = addControl<QLineEdit>("Text2", {3000, 100, 1000, 300});
    text->setText(QStringLiteral("موافق"));
    menu = new QAction(QStringLiteral("خروج"), this);
    addMenuItem(*menu, "MenuExit");
  }
  QLabel* label;
  QGroupBox* frame;
  QLabel* inFrame;
  QRadioButton* option;
  SSTab* tabs;
  QLineEdit* onTab;
  QPushButton* onHiddenTab;
  QLineEdit* text;
  QAction* menu;
};

TEST_F(LanguageTest, MirrorFormMovesControlsOnWindowsFramesAndTheShowingTab) {
  SampleForm form;
  const int hiddenLeft = twipsGeometry(*form.onHiddenTab).left();
  MirrorForm(form);
  EXPECT_EQ(twipsGeometry(*form.label).left(), 4700);
  EXPECT_EQ(twipsGeometry(*form.frame).left(), 6000 - 5500 - 100);
  EXPECT_EQ(twipsGeometry(*form.inFrame).left(), 1800);
  EXPECT_EQ(twipsGeometry(*form.onTab).left(), 3800);
  EXPECT_EQ(twipsGeometry(*form.onHiddenTab).left(), hiddenLeft);
  EXPECT_FALSE(rightToLeftOf(form));
  EXPECT_FALSE(rightToLeftOf(*form.text));
  EXPECT_EQ(form.text->layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(alignmentOf(*form.label), kLeftJustify);
  EXPECT_EQ(alignmentOf(*form.option), kLeftJustify);
}

TEST_F(LanguageTest, TranslateFormTranslatesCaptionsTabsMenusAndTips) {
  openLanguage();
  setSetting("Language", "E");
  SampleForm form;
  form.setCaption(QStringLiteral("استيراد بيانات"));
  TranslateForm(form);
  EXPECT_EQ(form.caption(), "Import data");
  EXPECT_EQ(form.frame->title(), "Period");
  EXPECT_EQ(form.option->text(), "Yes");
  EXPECT_EQ(form.onHiddenTab->text(), "OK");
  EXPECT_EQ(form.label->toolTip(), "Exit");
  EXPECT_EQ(form.tabs->tabCaption(0), "Yes");
  EXPECT_EQ(form.tabs->tabCaption(1), "No");
  EXPECT_EQ(form.menu->text(), "Exit");
  EXPECT_EQ(form.text->text(), QStringLiteral("موافق")) << "text boxes keep their text";
}

TEST_F(LanguageTest, CenterFormAndFonts) {
  SampleForm form;
  user().setScreenSize({12000, 9000});
  CenterForm(form);
  EXPECT_EQ(twipsGeometry(form).topLeft(), QPoint(3000, 1500));

  const QFont designed = form.label->font();
  SetFontForm(form);
  EXPECT_EQ(form.label->font(), designed) << "ChkFont missing keeps the designed fonts";
  setSetting("ChkFont", "1");
  SetFontForm(form);
  EXPECT_EQ(form.label->font(), designed);

  setSetting("ChkFont", "0");
  SetFontForm(form);
  QString name;
  int size = 0;
  int charset = -1;
  GetDefaultFont(name, size, charset);
  EXPECT_EQ(form.label->font().family(), name);
  EXPECT_EQ(form.font().pointSize(), size);
  EXPECT_TRUE(name == "Tahoma" || name == "Arial" || name == "System") << name.toStdString();
  EXPECT_EQ(charset, GetLocaleCharset());

  QString missing = QStringLiteral("No Such Font Family 42");
  EXPECT_FALSE(FontExists(missing));
  EXPECT_NE(missing, "No Such Font Family 42") << "the name becomes the family chosen";
}

}  // namespace
}  // namespace qalvoro::test

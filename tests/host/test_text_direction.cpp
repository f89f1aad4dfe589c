// The reading order of captions and texts: Arabic windows and message boxes
// lay their text out right to left whatever it begins with; mirrored
// English windows left to right.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "host/forms/Form.h"
#include "host/forms/SSTab.h"
#include "host/language/FormLayout.h"
#include "host/platform/DesktopPlatform.h"
#include "tests/host/HostTest.h"

namespace qalvoro::test {
namespace {

// Draws a widget onto a device that records where each run of text lands:
// the runs come in the visual order the text layout chose. The painter
// reads left to right unless the widget says otherwise, as the painter of a
// window's own painting does.
class TextRuns : public QPaintDevice {
 public:
  explicit TextRuns(QWidget& widget) {
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

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
        return 800;
      case PdmHeight:
        return 400;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 96;
      case PdmDepth:
        return 32;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
      default:
        return 0;
    }
  }

 private:
  class Engine : public QPaintEngine {
   public:
    Engine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    }
    void drawRects(const QRectF*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawEllipse(const QRectF&) override {}
    void drawTextItem(const QPointF& origin, const QTextItem& item) override {
      runs.emplace_back(item.text(), origin.x());
    }
    Type type() const override { return User; }
    std::vector<std::pair<QString, qreal>> runs;
  };
  mutable Engine engine_;
};

// The words of a caption in reading order; each ends up in a run of its own.
struct Caption {
  QString text;
  QStringList pieces;
};

const std::vector<Caption>& mixedCaptions() {
  static const std::vector<Caption> captions = {
      {QStringLiteral("استيراد من Qalvoro للمخزون الإصدار 1.2 :"),
       {QStringLiteral("استيراد"), "Qalvoro", QStringLiteral("للمخزون"), "1.2", ":"}},
      {QStringLiteral("Qalvoro للمحاسبة الإصدار 1.0 :"),
       {"Qalvoro", QStringLiteral("للمحاسبة"), "1.0", ":"}},
  };
  return captions;
}

// One control of every kind, each showing the same caption.
class EveryControl : public Form {
 public:
  EveryControl() : Form(QStringLiteral("EveryControl")) {
    setTwipsSize(9000, 9000);
    label = addControl<QLabel>("Label1", {200, 100, 8000, 300});
    option = addControl<QRadioButton>("Option1", {200, 500, 8000, 300});
    check = addControl<QCheckBox>("Check1", {200, 900, 8000, 300});
    frame = addControl<QGroupBox>("Frame1", {200, 1300, 8000, 600});
    command = addControl<QPushButton>("Command1", {200, 2000, 8000, 400});
    text = addControl<QLineEdit>("Text1", {200, 2500, 8000, 300});
    combo = addControl<QComboBox>("Combo1", {200, 2900, 8000, 330});
    list = addControl<QListWidget>("List1", {200, 3300, 8000, 600});
    tabs = addControl<SSTab>("SSTab1", {200, 4000, 8000, 1000});
    tabs->addTab(QString());
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
  std::vector<QWidget*> all() const {
    return {label, option, check, frame, command, text, combo, list, tabs};
  }
  QLabel* label;
  QRadioButton* option;
  QCheckBox* check;
  QGroupBox* frame;
  QPushButton* command;
  QLineEdit* text;
  QComboBox* combo;
  QListWidget* list;
  SSTab* tabs;
};

class TextDirectionTest : public HostTest {};

TEST_F(TextDirectionTest, ArabicControlsReadRightToLeftAndMirroredOnesLeftToRight) {
  EveryControl window;
  for (const Caption& caption : mixedCaptions()) {
    window.show(caption.text);
    for (QWidget* control : window.all()) {
      const TextRuns runs(*control);
      EXPECT_TRUE(runs.readRightToLeft(caption.pieces))
          << control->metaObject()->className() << ": " << caption.text.toStdString();
    }
  }

  MirrorForm(window);
  const Caption& caption = mixedCaptions().back();
  window.show(caption.text);
  for (QWidget* control : window.all()) {
    const TextRuns runs(*control);
    EXPECT_LT(runs.leftOf("Qalvoro"), runs.leftOf(":")) << control->metaObject()->className();
  }
}

TEST_F(TextDirectionTest, MessageBoxesWithTheRightToLeftFlagsReadRightToLeft) {
  for (const Caption& caption : mixedCaptions()) {
    const auto arabic = makeMessageBox(caption.text, mb::kCritical | mb::kRtlFlags, QString());
    const TextRuns runs(*arabic);
    EXPECT_TRUE(runs.readRightToLeft(caption.pieces)) << caption.text.toStdString();
  }
  const auto plain = makeMessageBox(mixedCaptions().front().text, mb::kCritical, QString());
  const TextRuns runs(*plain);
  EXPECT_LT(runs.leftOf(QStringLiteral("استيراد")), runs.leftOf(":"))
      << "without the flags the text reads left to right";
}

}  // namespace
}  // namespace qalvoro::test

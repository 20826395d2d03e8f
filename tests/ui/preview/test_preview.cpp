// The print preview as the user meets it: the button "Просмотр" on the text panel, the window it
// opens with the sheets of exactly what printing would send (the selection, the form feed, the
// settings page's initialisation), following the text and the settings, the paper choice, the
// sheet keys and the zoom, and "Сохранить в PDF…" with its failures.
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <map>
#include <string>

#include "WindowTest.h"
#include "escp/Interpreter.h"
#include "text/Cp866.h"
#include "ui/hints/HintTexts.h"
#include "ui/preview/PreviewView.h"
#include "ui/preview/PreviewWindow.h"
#include "ui/preview/SheetPainter.h"
#include "ui/widgets/OemMemo.h"
#include "ui/widgets/SpinEdit.h"

using namespace Qt::StringLiterals;
namespace escp = pl4120::escp;

namespace {

// Lines "Строка 1", "Строка 2", ... joined by CR LF, in code page 866.
std::string NumberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += pl4120::EncodeCp866(u"Строка " + QString::number(i).toStdU16String());
    if (i < count) {
      text += "\r\n";
    }
  }
  return text;
}

// The text printed on a sheet, line by line from the top: the characters of each line in the
// order of their places across, decoded from code page 866.
QStringList PrintedLines(const escp::Page& page, std::string_view bytes) {
  std::map<int, std::map<int, std::string>> lines;  // y -> x -> characters
  for (const escp::Run& run : page.runs) {
    lines[run.y][run.x] += std::string(run.Bytes(bytes));
  }
  QStringList printed;
  for (const auto& [y, runs] : lines) {
    std::string line;
    for (const auto& [x, characters] : runs) {
      line += characters;
    }
    printed << QString::fromStdU16String(pl4120::DecodeCp866(line));
  }
  return printed;
}

// The number of pages pdfinfo finds in a file; -1 when it finds none.
int PdfPages(const QString& path) {
  QProcess pdfinfo;
  pdfinfo.start(u"pdfinfo"_s, {path});
  if (!pdfinfo.waitForFinished(30000) || pdfinfo.exitCode() != 0) {
    return -1;
  }
  const QRegularExpressionMatch match =
      QRegularExpression(u"^Pages:\\s+(\\d+)"_s, QRegularExpression::MultilineOption)
          .match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString PdfText(const QString& path) {
  QProcess pdftotext;
  pdftotext.start(u"pdftotext"_s, {path, u"-"_s});
  pdftotext.waitForFinished(30000);
  return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

}  // namespace

class TestPreview : public TWindowTest {
  Q_OBJECT

 public:
  TestPreview() : TWindowTest(Start::Shown, "pgTxtEdt") {}

 private:
  TOemMemo* memo = nullptr;

  void SetUp() override { memo = Get<TOemMemo>("mmText"); }

  /// Clicks "Просмотр" and waits until the preview shows all its sheets.
  TPreviewWindow* Open() {
    Click("btViewTx");
    auto* preview = window()->findChild<TPreviewWindow*>();
    if (preview == nullptr || !preview->isVisible()) {
      QTest::qFail("no preview window", __FILE__, __LINE__);
      return nullptr;
    }
    Settle(preview);
    return preview;
  }

  /// Waits until the preview has looked at the latest state of the window.
  static void Settle(TPreviewWindow* preview) {
    QTRY_VERIFY_WITH_TIMEOUT(!preview->Pending(), 10000);
  }

  static const TPreviewDocument& Shown(const TPreviewWindow* preview) {
    return *preview->View()->Document();
  }

  /// Every printed line of every sheet, sheet after sheet.
  static QStringList AllPrintedLines(const TPreviewWindow* preview) {
    QStringList lines;
    for (int i = 0; i < preview->View()->SheetCount(); ++i) {
      lines << PrintedLines(preview->View()->Sheet(i), Shown(preview).bytes);
    }
    return lines;
  }

  /// A sheet as the preview draws it, at 200 dots an inch.
  static QImage Drawn(const TPreviewWindow* preview, int sheet) {
    const escp::Paper& paper = Shown(preview).index.paper;
    QImage image(paper.width * 200 / 360, paper.height * 200 / 216, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TSheetPainter().Draw(painter, QRectF(image.rect()), preview->View()->Sheet(sheet),
                         Shown(preview).bytes, paper);
    return image;
  }

  /// How many pixels of a straight line of the image, from one point to another, are light.
  static int LightPixels(const QImage& image, QPointF from, QPointF to) {
    const int steps =
        static_cast<int>(std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y())));
    int light = 0;
    for (int i = 0; i <= steps; ++i) {
      const QPointF at = from + (to - from) * (steps == 0 ? 0.0 : double(i) / steps);
      light += qGray(image.pixel(at.toPoint())) > 128 ? 1 : 0;
    }
    return light;
  }

  static QString Status(const TPreviewWindow* preview) {
    return Find<QLabel>(const_cast<TPreviewWindow*>(preview), "lbSheet")->text();
  }

  /// What a button of a page sends to a device file.
  QByteArray SentBy(const char* page, const char* button, const QString& name) {
    const QString device = TempPath(name);
    Get<QLineEdit>("PrnName")->setText(device);
    ShowPage(page);
    Click(button);
    if (!SendsDone()) {
      return "<send did not end>";
    }
    return ReadFile(device);
  }

 private slots:
  void buttonSitsAfterPrinting() {
    QPushButton* view = Get<QPushButton>("btViewTx");
    QPushButton* print = Get<QPushButton>("btPrinTx");

    QCOMPARE(view->objectName(), u"btViewTx"_s);
    QCOMPARE(view->text(), u"Просмотр"_s);
    QCOMPARE(view->parentWidget(), Get<QFrame>("pnTextBt"));
    QCOMPARE(view->geometry(), QRect(4, 320, 105, 25));
    QCOMPARE(view->font(), print->font());
    QCOMPARE(view->focusPolicy(), print->focusPolicy());
    QVERIFY(view->isVisible() && view->isEnabled());
    QCOMPARE(print->nextInFocusChain(), view);
    QCOMPARE(view->nextInFocusChain(), Get<QPushButton>("btMergTx"));
    QCOMPARE(OwnHint(view), u"Просмотр|Просмотр печати: как текст ляжет на бумагу"_s);
    QVERIFY(!view->geometry().intersects(print->geometry()));
    QVERIFY(!view->geometry().intersects(Get<QPushButton>("bbNxPage")->geometry()));
  }

  void opensOneNonModalWindow() {
    memo->setBytes("a\r\nb");

    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);
    Click("btViewTx");

    QCOMPARE(window()->findChildren<TPreviewWindow*>().size(), 1);
    QCOMPARE(preview->windowTitle(), u"Просмотр печати"_s);
    QVERIFY(!preview->isModal());
    QVERIFY(preview->isWindow());
    QVERIFY(modals.boxes.isEmpty());
    // Closed, it goes; the next click opens a new one.
    preview->close();
    QTRY_COMPARE(window()->findChildren<TPreviewWindow*>().size(), 0);
    QVERIFY(Open() != nullptr);
  }

  void showsTheTextOnItsSheets_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<int>("sheets");
    // A4 holds 93 lines of 1/8" (the defaults' "3,175 mm") and 70 lines of 1/6" ("4,23 mm").
    QTest::newRow("one line") << 1 << u"Hei3spi"_s << 1;
    QTest::newRow("93 lines of 1/8\"") << 93 << u"Hei3spi"_s << 1;
    QTest::newRow("94 lines of 1/8\"") << 94 << u"Hei3spi"_s << 2;
    QTest::newRow("70 lines of 1/6\"") << 70 << u"Hei4spi"_s << 1;
    QTest::newRow("250 lines of 1/6\"") << 250 << u"Hei4spi"_s << 4;
  }
  void showsTheTextOnItsSheets() {
    QFETCH(int, lines);
    QFETCH(QString, spacing);
    QFETCH(int, sheets);
    ShowPage("PageSets");
    Click(qPrintable(spacing));
    ShowPage("pgTxtEdt");
    memo->setBytes(NumberedLines(lines));

    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);

    QCOMPARE(preview->View()->SheetCount(), sheets);
    QCOMPARE(Status(preview), u"Лист 1 из "_s + QString::number(sheets));
    QCOMPARE(AllPrintedLines(preview), memo->toPlainText().split(u'\n'));
  }

  void previewHoldsWhatPrintingSends_data() {
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("formFeed");
    QTest::newRow("whole text, form feed") << 0 << 0 << true;
    QTest::newRow("whole text") << 0 << 0 << false;
    QTest::newRow("selection, form feed") << 12 << 5 << true;
    QTest::newRow("selection") << 5 << 12 << false;
  }
  void previewHoldsWhatPrintingSends() {
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(bool, formFeed);
    ShowPage("PageSets");
    Click("Wid10smb");
    Click("StQuanty");
    ShowPage("pgTxtEdt");
    memo->setBytes(
        "\x1B"
        "4first\r\n\x8F\xE0\xA8\xA2\xA5\xE2\r\nthird");
    SelectChars(memo, anchor, position);
    Get<QCheckBox>("cbNxPage")->setChecked(formFeed);

    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);

    const QByteArray init = SentBy("PageSets", "SetPrint1", u"init.prn"_s);
    const QByteArray print = SentBy("pgTxtEdt", "btPrinTx", u"print.prn"_s);
    QCOMPARE(QByteArray::fromStdString(Shown(preview).bytes).toHex(' '), (init + print).toHex(' '));
    const escp::Page last = preview->View()->Sheet(preview->View()->SheetCount() - 1);
    QCOMPARE(last.end == escp::PageEnd::FormFeed, formFeed);
  }

  void selectionShowsOnlyItself() {
    memo->setBytes("one\r\ntwo\r\nthree");
    SelectChars(memo, 4, 7);

    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);

    QCOMPARE(AllPrintedLines(preview), QStringList{u"two"_s});
    // Selecting everything again follows.
    memo->selectAll();
    Settle(preview);
    QCOMPARE(AllPrintedLines(preview), (QStringList{u"one"_s, u"two"_s, u"three"_s}));
  }

  void followsEditingAfterAPause() {
    memo->setBytes("one");
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);
    QSignalSpy ready(preview, &TPreviewWindow::sheetsReady);

    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    Type(memo, u"два"_s);

    // Typing does not wait for the sheets: they follow once the typing pauses.
    QVERIFY(preview->Pending());
    QCOMPARE(AllPrintedLines(preview), QStringList{u"one"_s});
    Settle(preview);
    QCOMPARE(ready.count(), 1);
    QCOMPARE(AllPrintedLines(preview), (QStringList{u"one"_s, u"два"_s}));
  }

  void followsTheSettings_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("advance");  // width of a character, 1/360 inch
    QTest::addColumn<int>("spacing");  // from one line to the next, 1/216 inch
    QTest::newRow("defaults: 12 cpi, 1/8\"") << QStringList{} << 30 << 27;
    QTest::newRow("10 cpi") << QStringList{u"Wid10smb"_s} << 36 << 27;
    QTest::newRow("condensed at 12 cpi") << QStringList{u"WidElite"_s} << 18 << 27;
    QTest::newRow("condensed at 10 cpi") << QStringList{u"WidElite"_s, u"Wid10smb"_s} << 21 << 27;
    // SO sets double width for one line only, and the initialisation's own final CR ends it.
    QTest::newRow("double width") << QStringList{u"WidExten"_s} << 30 << 27;
    QTest::newRow("2,54 mm") << QStringList{u"Hei2spi"_s} << 30 << 21;
    QTest::newRow("4,23 mm") << QStringList{u"Hei4spi"_s} << 30 << 36;
    QTest::newRow("x 0,353 mm, 8 of 1/72\"") << QStringList{u"Hei0353"_s} << 30 << 24;
    QTest::newRow("x 0,118 mm, 24 of 1/216\"") << QStringList{u"Hei0118"_s} << 30 << 24;
  }
  void followsTheSettings() {
    QFETCH(QStringList, clicks);
    QFETCH(int, advance);
    QFETCH(int, spacing);
    memo->setBytes("0123456789\r\nabc");
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);

    ShowPage("PageSets");
    for (const QString& name : clicks) {
      Click(qPrintable(name));
    }
    Settle(preview);

    const escp::Page sheet = preview->View()->Sheet(0);
    QCOMPARE(sheet.runs.size(), std::size_t{2});
    QCOMPARE(int(sheet.runs[0].advance), advance);
    QCOMPARE(sheet.runs[0].Width(), 10 * advance);
    QCOMPARE(sheet.runs[1].y - sheet.runs[0].y, spacing);
  }

  void boxLinesJoinDownTheLines_data() {
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<int>("units72");  // SpinEdit1, for "x 0,353 mm"
    QTest::addColumn<bool>("condensed");
    QTest::addColumn<bool>("joined");
    QTest::newRow("1/8\"") << u"Hei3spi"_s << 0 << false << true;
    QTest::newRow("1/6\"") << u"Hei4spi"_s << 0 << false << true;
    QTest::newRow("7/72\", lines overlapping") << u"Hei2spi"_s << 0 << false << true;
    QTest::newRow("1/6\", condensed") << u"Hei4spi"_s << 0 << true << true;
    QTest::newRow("1/4\": too far apart to join") << u"Hei0353"_s << 18 << false << false;
  }
  void boxLinesJoinDownTheLines() {
    QFETCH(QString, spacing);
    QFETCH(int, units72);
    QFETCH(bool, condensed);
    QFETCH(bool, joined);
    ShowPage("PageSets");
    Click(qPrintable(spacing));
    if (units72 != 0) {
      Get<TSpinEdit>("SpinEdit1")->SetValue(units72);
    }
    if (condensed) {
      Click("WidElite");
    }
    ShowPage("pgTxtEdt");
    // ┌─┐ ╔═╗
    // │ │ ║ ║
    // └─┘ ╚═╝
    memo->setBytes("\xDA\xC4\xBF \xC9\xCD\xBB\r\n\xB3 \xB3 \xBA \xBA\r\n\xC0\xC4\xD9 \xC8\xCD\xBC");
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);

    const QImage image = Drawn(preview, 0);

    const escp::Page& sheet = preview->View()->Sheet(0);
    QCOMPARE(sheet.runs.size(), std::size_t{3});
    const double sx = image.width() / double(Shown(preview).index.paper.width);
    const double sy = image.height() / double(Shown(preview).index.paper.height);
    const escp::Run& top = sheet.runs[0];
    const escp::Run& bottom = sheet.runs[2];
    const double middle = (sheet.runs[1].y + 13.5) * sy;
    // Every vertical line of the second line's cells (one in │, two in ║), from the middle of
    // the first line to that of the last.
    for (const int column : {0, 2, 4, 6}) {
      const int left = static_cast<int>((top.x + column * top.advance) * sx);
      const int right = static_cast<int>((top.x + (column + 1) * top.advance) * sx);
      QList<int> lines;
      for (int x = left; x < right; ++x) {
        const bool dark = qGray(image.pixel(x, static_cast<int>(middle))) <= 128;
        const bool darkBefore =
            x > left && qGray(image.pixel(x - 1, static_cast<int>(middle))) <= 128;
        if (dark && !darkBefore) {
          lines << x;
        }
      }
      QCOMPARE(lines.size(), column < 4 ? 1 : 2);
      for (const int x : lines) {
        // From inside the first cell (where the inner line of ╔ has begun) to inside the last.
        const int light =
            LightPixels(image, QPointF(x, (top.y + 20) * sy), QPointF(x, (bottom.y + 7) * sy));
        QVERIFY2(
            (light == 0) == joined,
            qPrintable(QString::number(column) + u": light pixels: "_s + QString::number(light)));
      }
    }
    // Across the top, ┌─┐ is one line.
    const double y = (top.y + 13.5) * sy;
    QCOMPARE(LightPixels(image, QPointF((top.x + top.advance / 2.0) * sx, y),
                         QPointF((top.x + 2.5 * top.advance) * sx, y)),
             0);
  }

  void boxLinesJoinAcrossPitches() {
    memo->setBytes("\xC4\xC4\x0F\xC4\xC4\xC4\x12\x0E\xC4\xCD\xCD");  // ── at 12, 20 cpi, double
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);

    const QImage image = Drawn(preview, 0);

    const escp::Page& sheet = preview->View()->Sheet(0);
    QCOMPARE(sheet.runs.size(), std::size_t{3});
    QCOMPARE(sheet.runs[1].advance, 18);
    QCOMPARE(sheet.runs[2].advance, 60);
    const double sx = image.width() / double(Shown(preview).index.paper.width);
    const double sy = image.height() / double(Shown(preview).index.paper.height);
    const escp::Run& first = sheet.runs.front();
    const escp::Run& last = sheet.runs.back();
    // ─ runs on through the three pitches (the last ─ is double width).
    const double y = (first.y + 13.5) * sy;
    QCOMPARE(LightPixels(image, QPointF((first.x + 1) * sx, y),
                         QPointF((last.x + last.advance - 1) * sx, y)),
             0);
    // ═ is two lines, each running on through both characters.
    const int x = static_cast<int>((last.x + 1.5 * last.advance) * sx);
    QList<int> lines;
    for (int row = static_cast<int>((first.y + 4) * sy); row < (first.y + 23) * sy; ++row) {
      if (qGray(image.pixel(x, row)) <= 128 && qGray(image.pixel(x, row - 1)) > 128) {
        lines << row;
      }
    }
    QCOMPARE(lines.size(), 2);
    for (const int row : lines) {
      QCOMPARE(LightPixels(image, QPointF((last.x + last.advance) * sx, row),
                           QPointF((last.x + 3 * last.advance - 1) * sx, row)),
               0);
    }
  }

  void refusedSettingsAreNamedAndTheTextStillShows() {
    memo->setBytes("text");
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);
    auto* initError = Find<QLabel>(preview, "lbInitErr");
    QVERIFY(!initError->isVisible());

    ShowPage("PageSets");
    Click("Hei0118");
    Get<TSpinEdit>("SpinEdit2")->SetValue(300);
    Settle(preview);

    QVERIFY(initError->isVisible());
    QVERIFY2(initError->text().contains(u"300/216"_s), qPrintable(initError->text()));
    QCOMPARE(Shown(preview).bytes, std::string("text\x0C"));
    QCOMPARE(AllPrintedLines(preview), QStringList{u"text"_s});
    QVERIFY(modals.boxes.isEmpty());
    // A value the printer takes brings the initialisation back.
    Get<TSpinEdit>("SpinEdit2")->SetValue(30);
    Settle(preview);
    QVERIFY(!initError->isVisible());
    QCOMPARE(preview->View()->Sheet(0).runs.at(0).y, 0);
  }

  void paperChoiceChangesTheSheets_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("sheets");
    // 140 lines of 1/6": A4 holds 70, Letter (11") 66, the 12" fanfold 72.
    QTest::newRow("A4") << 0 << 2;
    QTest::newRow("Letter") << 1 << 3;
    QTest::newRow("fanfold 240 mm x 12\"") << 2 << 2;
  }
  void paperChoiceChangesTheSheets() {
    QFETCH(int, choice);
    QFETCH(int, sheets);
    ShowPage("PageSets");
    Click("Hei4spi");
    ShowPage("pgTxtEdt");
    memo->setBytes(NumberedLines(140));
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);
    auto* paper = Find<QComboBox>(preview, "cmPaper");
    QCOMPARE(paper->currentIndex(), 0);  // A4 at first

    paper->setCurrentIndex(choice);
    Settle(preview);

    QCOMPARE(preview->View()->SheetCount(), sheets);
    QCOMPARE(Status(preview), u"Лист 1 из "_s + QString::number(sheets));
    QCOMPARE(AllPrintedLines(preview).size(), 140);
    const QSizeF size = preview->View()->SheetRect(0).size();
    const escp::Paper expected = escp::Paper::Of(static_cast<escp::PaperKind>(choice));
    QVERIFY(qAbs(size.width() / size.height() -
                 (expected.width / 360.0) / (expected.height / 216.0)) < 0.01);
  }

  void keysGoFromSheetToSheetAndZoom() {
    memo->setBytes(NumberedLines(400));  // 5 sheets of 93 lines
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);
    TPreviewView* view = preview->View();
    view->setFocus();
    QCOMPARE(view->SheetCount(), 5);

    QTest::keyClick(view, Qt::Key_PageDown);
    QTest::keyClick(view, Qt::Key_PageDown);
    QCOMPARE(view->CurrentSheet(), 2);
    QCOMPARE(Status(preview), u"Лист 3 из 5"_s);
    QVERIFY(qAbs(view->SheetRect(2).top() - 20) <= 1);  // its top edge at the top of the view
    QTest::keyClick(view, Qt::Key_PageUp);
    QCOMPARE(view->CurrentSheet(), 1);
    QTest::keyClick(view, Qt::Key_End);
    QCOMPARE(Status(preview), u"Лист 5 из 5"_s);
    QTest::keyClick(view, Qt::Key_Home);
    QCOMPARE(view->CurrentSheet(), 0);

    QVERIFY(view->FitsWidth());
    const double fit = view->Zoom();
    QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
    QVERIFY(qAbs(view->Zoom() - fit * 1.25) < 1e-6);
    QVERIFY(!view->FitsWidth());
    QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
    QVERIFY(qAbs(view->Zoom() - fit / 1.25) < 1e-6);
    const QPointF middle = view->viewport()->rect().center();
    QWheelEvent wheel(middle, view->viewport()->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    QVERIFY(qAbs(view->Zoom() - fit) < 1e-6);
    QCOMPARE(Find<QLabel>(preview, "lbZoom")->text(), QString::number(qRound(fit * 100)) + u" %"_s);
    Find<QToolButton>(preview, "btZoomIn")->click();
    Find<QToolButton>(preview, "btFitWid")->click();
    QVERIFY(view->FitsWidth());
    QCOMPARE(view->Zoom(), fit);
  }

  void longTextShowsItsFirstSheetsAtOnce() {
    memo->setBytes(NumberedLines(12000));  // about 170 000 characters, 130 sheets

    Click("btViewTx");
    auto* preview = window()->findChild<TPreviewWindow*>();
    QVERIFY(preview != nullptr);
    const int early = preview->View()->SheetCount();
    const escp::Page firstEarly = preview->View()->Sheet(0);
    const std::string earlyBytes = Shown(preview).bytes;
    Settle(preview);

    QVERIFY(early >= 1);
    QCOMPARE(preview->View()->SheetCount(), 130);
    QCOMPARE(preview->View()->Sheet(0), firstEarly);
    QCOMPARE(PrintedLines(firstEarly, earlyBytes),
             PrintedLines(preview->View()->Sheet(0), Shown(preview).bytes));
    QCOMPARE(Status(preview), u"Лист 1 из 130"_s);
    // Copied in slices, the text is still what printing sends.
    const QByteArray print = SentBy("pgTxtEdt", "btPrinTx", u"print.prn"_s);
    QVERIFY(QByteArray::fromStdString(Shown(preview).bytes).endsWith(print));
  }

  void savesEverySheetToPdf() {
    memo->setBytes(NumberedLines(200) + "\r\n\x8F\xE0\xA8\xA2\xA5\xE2");  // 3 sheets
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);
    const QString path = TempPath(u"листы.pdf"_s);
    modals.onFileDialog = [&](QFileDialog* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
      QVERIFY(edit != nullptr);
      edit->setText(path);
      static_cast<QDialog*>(dialog)->accept();
    };

    Find<QToolButton>(preview, "btSavePdf")->click();

    QVERIFY(modals.TakeTexts().isEmpty());
    QVERIFY(ReadFile(path).startsWith("%PDF-"));
    QCOMPARE(PdfPages(path), 3);
    const QString text = PdfText(path);
    QVERIFY2(text.contains(u"Строка 200"_s) && text.contains(u"Привет"_s), qPrintable(text));
    QCOMPARE(QDir(TempPath(QString())).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"листы.pdf"_s});
  }

  void failedPdfLeavesNothingBehind_data() {
    QTest::addColumn<QString>("name");    // in the test's folder, or a full path
    QTest::addColumn<QString>("reason");  // a pattern of the reason the box gives
    QTest::newRow("read-only folder") << u"read-only/sheets.pdf"_s << u"Отказано в доступе"_s;
    QTest::newRow("folder nobody writes to")
        << u"/sys/sheets.pdf"_s << u"Отказано в доступе|только для чтения"_s;
    QTest::newRow("folder that is a file") << u"file/sheets.pdf"_s << u"не является каталогом"_s;
    QTest::newRow("missing folder") << u"missing/sheets.pdf"_s << u"Нет такого файла"_s;
    QTest::newRow("name of a folder") << u"folder"_s << u"Это каталог"_s;
  }
  void failedPdfLeavesNothingBehind() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    WriteFile(u"file"_s, "not a folder");
    QDir folder(TempPath(QString()));
    QVERIFY(folder.mkdir(u"folder"_s) && folder.mkdir(u"read-only"_s));
    QVERIFY(QFile::setPermissions(TempPath(u"read-only"_s),
                                  QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (name.startsWith(u"read-only"_s) && geteuid() == 0) {
      QSKIP("the superuser writes into a read-only folder");
    }
    const QString path = name.startsWith(u'/') ? name : TempPath(name);
    memo->setBytes("text");
    TPreviewWindow* preview = Open();
    QVERIFY(preview != nullptr);
    const auto listing = [&folder] {
      QStringList all = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
      for (const QString& sub : {u"folder"_s, u"read-only"_s}) {
        all << QDir(folder.filePath(sub)).entryList(QDir::AllEntries | QDir::Hidden);
      }
      return all;
    };
    const QStringList before = listing();

    QVERIFY(!preview->SavePdf(path));

    const QList<TShownBox> boxes = modals.boxes;
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].text.contains(path) && boxes[0].text.contains(QRegularExpression(reason)),
             qPrintable(boxes[0].text));
    QCOMPARE(boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(listing(), before);
    QVERIFY(!QFile::exists(u"/sys/sheets.pdf"_s));
  }
};

PL4120_TEST_MAIN(TestPreview)
#include "test_preview.moc"

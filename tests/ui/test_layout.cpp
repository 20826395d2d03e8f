// The main window as the user first sees it: every control with its kind, parent, caption,
// bounds, font and default; the tab sequence; the menus and pages; the radio sets; the window.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <memory>

#include "TestSupport.h"
#include "ui/OemMemo.h"
#include "ui/SpinEdit.h"

namespace {

const QString kCaption = QStringLiteral("Работа с принтером \"ПЛ 4120\"");

QString CaptionOf(QWidget* w) {
  if (auto* box = qobject_cast<QGroupBox*>(w)) {
    return box->title();
  }
  if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    return button->text();
  }
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    return edit->text();
  }
  if (auto* label = qobject_cast<QLabel*>(w)) {
    return label->text();
  }
  if (auto* spin = qobject_cast<TSpinEdit*>(w)) {
    return spin->text();
  }
  if (auto* memo = qobject_cast<TOemMemo*>(w)) {
    return memo->toPlainText();
  }
  return {};
}

// What the user sees of a control's state, in one word.
QString StateOf(QWidget* w) {
  if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isCheckable()) {
    return button->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
  }
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    return edit->isReadOnly() ? QStringLiteral("readonly") : QStringLiteral("editable");
  }
  if (auto* memo = qobject_cast<TOemMemo*>(w)) {
    return memo->isReadOnly() ? QStringLiteral("readonly") : QStringLiteral("editable");
  }
  if (auto* spin = qobject_cast<TSpinEdit*>(w)) {
    return QStringLiteral("%1 %2..%3")
        .arg(spin->Value())
        .arg(spin->MinValue())
        .arg(spin->MaxValue());
  }
  return QStringLiteral("-");
}

// The inventory control that holds a widget (the tab strip belongs to pcFeauts, the edit inside
// a spin edit to the spin edit).
QString ControlOf(QWidget* w, const QSet<QString>& names) {
  for (; w; w = w->parentWidget()) {
    if (names.contains(w->objectName())) {
      return w->objectName();
    }
  }
  return QStringLiteral("<none>");
}

const QStringList kFocusable = {
    QStringLiteral("pcFeauts"),     QStringLiteral("WidExten"),     QStringLiteral("WidElite"),
    QStringLiteral("Wid12smb"),     QStringLiteral("Wid10smb"),     QStringLiteral("StDouble"),
    QStringLiteral("StQuanty"),     QStringLiteral("LangAltM"),     QStringLiteral("LangKoi8"),
    QStringLiteral("LangComn"),     QStringLiteral("StrOutPr"),     QStringLiteral("SetPrint1"),
    QStringLiteral("Instruc"),      QStringLiteral("Hei2spi"),      QStringLiteral("Hei3spi"),
    QStringLiteral("Hei4spi"),      QStringLiteral("Hei0353"),      QStringLiteral("Hei0118"),
    QStringLiteral("SpinEdit1"),    QStringLiteral("SpinEdit2"),    QStringLiteral("QuitNoSv"),
    QStringLiteral("QuitSave"),     QStringLiteral("RadioButton1"), QStringLiteral("RadioButton2"),
    QStringLiteral("RadioButton3"), QStringLiteral("PrnName"),      QStringLiteral("InitCrLf"),
    QStringLiteral("mmText"),       QStringLiteral("btLoadTx"),     QStringLiteral("btPrinTx"),
    QStringLiteral("btMergTx"),     QStringLiteral("edTextFN"),     QStringLiteral("edLnTx"),
    QStringLiteral("edPgTx"),       QStringLiteral("edLPtx"),       QStringLiteral("cbLfCrTx"),
    QStringLiteral("bbNxPage"),     QStringLiteral("edCurXps"),     QStringLiteral("edCurYps"),
    QStringLiteral("cbNxPage"),
};

}  // namespace

class LayoutTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TPL4120_1> window_;

  // Shows the window restored at its designed size and waits until it has the focus.
  void ShowRestored() {
    window_->showNormal();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }

  static QString name() { return QString::fromLatin1(QTest::currentDataTag()); }

  QWidget* Page(const char* name) { return Find<QWidget>(window_.get(), name); }

  // Presses Tab from the tab strip until the focus is back there; the controls passed on the way.
  QStringList TabSequence() {
    const QSet<QString> names(kFocusable.begin(), kFocusable.end());
    window_->pcFeauts->tabBar()->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < 40; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      const QString name = ControlOf(QApplication::focusWidget(), names);
      if (name == QStringLiteral("pcFeauts")) {
        break;
      }
      visited << name;
    }
    return visited;
  }

  void ClickButton(const char* name) {
    auto* button = Find<QAbstractButton>(window_.get(), name);
    QVERIFY(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }

 private slots:
  void init() { window_ = std::make_unique<TPL4120_1>(); }
  void cleanup() { window_.reset(); }

  void inventory_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<int>("px");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("state");

    const auto row = [](const char* name, const char* kind, const char* parent,
                        const QString& caption, QRect bounds, int px, bool bold,
                        const char* state) {
      QTest::newRow(name) << QString::fromLatin1(kind) << QString::fromLatin1(parent) << caption
                          << bounds << px << bold << QString::fromLatin1(state);
    };
    row("imMyPrnt", "QLabel", "PageSets", QString(), {336, 8, 256, 164}, 11, false, "-");
    row("WidthSet", "QGroupBox", "PageSets", QStringLiteral("Ширина"), {8, 144, 201, 105}, 16,
        false, "-");
    row("WidExten", "QCheckBox", "WidthSet", QStringLiteral("Двойная ширина"), {8, 40, 137, 17}, 13,
        false, "unchecked");
    row("WidElite", "QCheckBox", "WidthSet", QStringLiteral("Уплотнённая печать"), {8, 24, 161, 17},
        13, false, "unchecked");
    row("Wid12smb", "QRadioButton", "WidthSet", QStringLiteral("12 символов на дюйм"),
        {8, 64, 185, 17}, 13, true, "checked");
    row("Wid10smb", "QRadioButton", "WidthSet", QStringLiteral("10 символов на дюйм"),
        {8, 80, 161, 17}, 13, false, "unchecked");
    row("StyleSet", "QGroupBox", "PageSets", QStringLiteral("Стиль"), {8, 256, 201, 65}, 16, false,
        "-");
    row("StDouble", "QCheckBox", "StyleSet", QStringLiteral("Двупроходная печать"),
        {8, 24, 169, 17}, 13, false, "unchecked");
    row("StQuanty", "QCheckBox", "StyleSet", QStringLiteral("Качественная печать"),
        {8, 40, 169, 17}, 13, false, "unchecked");
    row("Language", "QGroupBox", "PageSets", QStringLiteral("Кодировка"), {8, 8, 313, 129}, 16,
        false, "-");
    row("LangAltM", "QRadioButton", "PageSets", QStringLiteral("Альтернативная кодировка ГОСТа"),
        {16, 32, 297, 17}, 13, true, "checked");
    row("LangKoi8", "QRadioButton", "PageSets", QStringLiteral("Кодировка КОИ-8  (UNIX-тексты)"),
        {16, 48, 289, 17}, 13, false, "unchecked");
    row("LangComn", "QRadioButton", "PageSets", QStringLiteral("Совмещённая кодовая таблица"),
        {16, 64, 297, 17}, 13, false, "unchecked");
    row("StrOutPr", "QLineEdit", "PageSets", QString(), {336, 172, 241, 19}, 11, false, "editable");
    row("SetPrint1", "QPushButton", "PageSets", QStringLiteral("Инициализировать принтер"),
        {332, 200, 265, 49}, 16, true, "-");
    row("Instruc", "QPushButton", "PageSets", QStringLiteral("Помощь"), {412, 256, 105, 33}, 11,
        false, "-");
    row("HeighSet", "QGroupBox", "PageSets", QStringLiteral("Высота"), {224, 144, 97, 177}, 16,
        false, "-");
    row("Hei2spi", "QRadioButton", "HeighSet", QStringLiteral("2,54 mm"), {8, 24, 73, 17}, 13,
        false, "unchecked");
    row("Hei3spi", "QRadioButton", "HeighSet", QStringLiteral("3,175 mm"), {8, 40, 83, 17}, 13,
        true, "checked");
    row("Hei4spi", "QRadioButton", "HeighSet", QStringLiteral("4,23 mm"), {8, 56, 73, 17}, 13,
        false, "unchecked");
    row("Hei0353", "QRadioButton", "HeighSet", QStringLiteral("x 0,353 mm"), {8, 80, 73, 17}, 13,
        false, "unchecked");
    row("SpinEdit1", "TSpinEdit", "HeighSet", QStringLiteral("8"), {24, 96, 65, 22}, 11, false,
        "8 0..85");
    row("Hei0118", "QRadioButton", "HeighSet", QStringLiteral("x 0,118 mm"), {8, 128, 73, 17}, 13,
        false, "unchecked");
    row("SpinEdit2", "TSpinEdit", "HeighSet", QStringLiteral("24"), {24, 144, 65, 22}, 11, false,
        "24 0..0");
    row("QuitNoSv", "QPushButton", "PageSets", QStringLiteral("Выход без сохранения"),
        {336, 296, 121, 33}, 11, false, "-");
    row("QuitSave", "QPushButton", "PageSets", QStringLiteral("Выход с сохранением"),
        {472, 296, 121, 33}, 11, false, "-");
    row("RadioButton1", "QRadioButton", "PageSets", QStringLiteral("RadioButton1"),
        {16, 80, 145, 17}, 11, false, "unchecked");
    row("RadioButton2", "QRadioButton", "PageSets", QStringLiteral("RadioButton2"),
        {16, 96, 121, 17}, 11, false, "unchecked");
    row("RadioButton3", "QRadioButton", "PageSets", QStringLiteral("RadioButton3"),
        {16, 112, 113, 17}, 11, false, "unchecked");
    row("PrnName", "QLineEdit", "PageSets", QStringLiteral("PRN"), {464, 79, 70, 19}, 11, true,
        "editable");
    row("InitCrLf", "QCheckBox", "PageSets", QStringLiteral("InitCrLf"), {578, 174, 17, 17}, 11,
        false, "unchecked");
    row("mmText", "TOemMemo", "pgTxtEdt", QString(), {0, 0, 514, 414}, 19, false, "editable");
    row("pnTextBt", "QFrame", "pgTxtEdt", QString(), {514, 0, 110, 414}, 11, false, "-");
    row("btLoadTx", "QPushButton", "pnTextBt", QStringLiteral("Чтение текста"), {4, 8, 105, 25}, 11,
        false, "-");
    row("btMergTx", "QPushButton", "pnTextBt", QStringLiteral("Подгрузка текста"), {4, 40, 105, 25},
        11, false, "-");
    row("edTextFN", "QLineEdit", "pnTextBt", QStringLiteral("Нет текста"), {4, 72, 105, 19}, 11,
        false, "readonly");
    row("lbLPtx", "QLabel", "pnTextBt", QStringLiteral("Строк/Стран"), {8, 108, 65, 13}, 11, false,
        "-");
    row("edLPtx", "QLineEdit", "pnTextBt", QStringLiteral("70"), {80, 104, 25, 21}, 11, false,
        "editable");
    row("lbLnTx", "QLabel", "pnTextBt", QStringLiteral("Строк"), {8, 132, 30, 13}, 11, false, "-");
    row("edLnTx", "QLineEdit", "pnTextBt", QStringLiteral("0000"), {72, 128, 33, 19}, 11, false,
        "readonly");
    row("lbPgTx", "QLabel", "pnTextBt", QStringLiteral("Страниц"), {8, 156, 42, 13}, 11, false,
        "-");
    row("edPgTx", "QLineEdit", "pnTextBt", QStringLiteral("0000"), {72, 152, 33, 19}, 11, false,
        "readonly");
    row("lbCurXps", "QLabel", "pnTextBt", QStringLiteral("Столбец  X="), {8, 188, 61, 13}, 11,
        false, "-");
    row("edCurXps", "QLineEdit", "pnTextBt", QStringLiteral("1"), {72, 184, 33, 19}, 11, false,
        "readonly");
    row("lbCurYps", "QLabel", "pnTextBt", QStringLiteral("Строка    Y="), {8, 212, 61, 13}, 11,
        false, "-");
    row("edCurYps", "QLineEdit", "pnTextBt", QStringLiteral("1"), {72, 208, 33, 19}, 11, false,
        "readonly");
    row("cbLfCrTx", "QCheckBox", "pnTextBt", QStringLiteral("Добавлять (13)"), {8, 238, 95, 17}, 11,
        false, "unchecked");
    row("cbNxPage", "QCheckBox", "pnTextBt", QStringLiteral("Выброс листа"), {8, 256, 97, 17}, 11,
        false, "checked");
    row("btPrinTx", "QPushButton", "pnTextBt", QStringLiteral("Распечатка текста"),
        {4, 288, 105, 25}, 11, false, "-");
    row("bbNxPage", "QPushButton", "pnTextBt", QStringLiteral("Выброс листа"), {4, 384, 105, 25},
        11, false, "-");
  }

  void inventory() {
    QFETCH(QString, kind);
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QRect, bounds);
    QFETCH(int, px);
    QFETCH(bool, bold);
    QFETCH(QString, state);
    ShowRestored();

    auto* w = Find<QWidget>(window_.get(), QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
    QVERIFY(w->parentWidget());
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(CaptionOf(w), caption);
    QCOMPARE(w->font().pixelSize(), px);
    QCOMPARE(w->font().bold(), bold);
    QCOMPARE(StateOf(w), state);
    QVERIFY2(w->hasMouseTracking(), "the pointer is followed without a button held");
    QVERIFY(w->toolTip().isEmpty());

    if (qobject_cast<QLabel*>(w) && caption.size() > 0) {
      // A label takes the size of its caption, standing where it was placed.
      QCOMPARE(w->pos(), bounds.topLeft());
      QVERIFY(w->width() >= w->fontMetrics().horizontalAdvance(caption));
      QVERIFY(w->height() >= bounds.height());
    } else if (parent == QStringLiteral("pgTxtEdt")) {
      // The editor and the panel share the page, however large it is.
      const QSize page = Page("pgTxtEdt")->size();
      const int extra = page.width() - 624;
      const QRect expected =
          name() == QStringLiteral("mmText")
              ? bounds.adjusted(0, 0, extra, page.height() - 414)
              : bounds.translated(extra, 0).adjusted(0, 0, 0, page.height() - 414);
      QCOMPARE(w->geometry(), expected);
    } else {
      QCOMPARE(w->geometry(), bounds);
    }
  }

  void pages() {
    QTabWidget* tabs = window_->pcFeauts;
    QCOMPARE(tabs->objectName(), QStringLiteral("pcFeauts"));
    const QStringList names = {QStringLiteral("PageSets"), QStringLiteral("pgTxtEdt"),
                               QStringLiteral("PageSymb"), QStringLiteral("PageGraf"),
                               QStringLiteral("PageCtrA"), QStringLiteral("Empty4"),
                               QStringLiteral("Empty5")};
    const QStringList captions = {QStringLiteral("Установки"), QStringLiteral("Тексты"),
                                  QStringLiteral("Символы"),   QStringLiteral("PageGraf"),
                                  QStringLiteral("Доп. Уст."), QStringLiteral("Empty4"),
                                  QStringLiteral("Empty5")};
    QCOMPARE(tabs->count(), 7);
    for (int i = 0; i < tabs->count(); ++i) {
      QCOMPARE(tabs->widget(i)->objectName(), names[i]);
      QCOMPARE(tabs->tabText(i), captions[i]);
      QVERIFY(tabs->isTabEnabled(i));
      if (i >= 2) {
        QVERIFY2(tabs->widget(i)->findChildren<QWidget*>().isEmpty(), qPrintable(names[i]));
      }
    }
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("pgTxtEdt"));
    QCOMPARE(tabs->currentIndex(), 1);
  }

  void menus() {
    QMenuBar* bar = window_->mnMain;
    QCOMPARE(bar->objectName(), QStringLiteral("mnMain"));
    QCOMPARE(window_->menuBar(), bar);
    struct Entry {
      const char* name;
      QString caption;
      QStringList items;  // objectName=caption, "N1=-" for the separator
    };
    const Entry expected[] = {
        {"File2",
         QStringLiteral("File"),
         {QStringLiteral("Save3=Load"), QStringLiteral("Save4=Save"), QStringLiteral("N1=-"),
          QStringLiteral("Quit1=Quit")}},
        {"File1",
         QStringLiteral("Text"),
         {QStringLiteral("Save1=Load Text"), QStringLiteral("MergeText1=Merge Text"),
          QStringLiteral("SaveText1=Save Text"), QStringLiteral("Save2=Save Text As ...")}},
        {"Help1",
         QStringLiteral("Help"),
         {QStringLiteral("About1=Index"), QStringLiteral("About2=About")}},
    };
    const QList<QAction*> entries = bar->actions();
    QCOMPARE(entries.size(), 3);
    for (int i = 0; i < 3; ++i) {
      QMenu* menu = entries[i]->menu();
      QVERIFY(menu);
      QCOMPARE(menu->objectName(), QString::fromLatin1(expected[i].name));
      QCOMPARE(menu->title(), expected[i].caption);
      QStringList items;
      for (QAction* action : menu->actions()) {
        items << action->objectName() + u'=' +
                     (action->isSeparator() ? QStringLiteral("-") : action->text());
        QVERIFY(action->shortcut().isEmpty());
        QVERIFY(!action->isCheckable());
        QVERIFY(action->icon().isNull());
      }
      QCOMPARE(items, expected[i].items);
    }
    QVERIFY(window_->N1->isSeparator());
    QCOMPARE(window_->Save3, Find<QAction>(window_.get(), "Save3"));
  }

  void tabOrder_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("check");  // a radio button checked before tabbing
    QTest::addColumn<QStringList>("sequence");
    const auto list = [](const char* s) { return QString::fromLatin1(s).split(u' '); };
    QTest::newRow("settings") << QStringLiteral("PageSets") << QString()
                              << list(
                                     "WidExten WidElite Wid12smb StDouble StQuanty LangAltM "
                                     "StrOutPr SetPrint1 Instruc Hei3spi SpinEdit1 SpinEdit2 "
                                     "QuitNoSv QuitSave PrnName InitCrLf");
    // The checked button is its set's one stop, at its own place in the sequence.
    QTest::newRow("settings, RadioButton2 and Hei0118 checked")
        << QStringLiteral("PageSets") << QStringLiteral("RadioButton2 Hei0118 Wid10smb")
        << list(
               "WidExten WidElite Wid10smb StDouble StQuanty StrOutPr SetPrint1 Instruc Hei0118 "
               "SpinEdit1 SpinEdit2 QuitNoSv QuitSave RadioButton2 PrnName InitCrLf");
    QTest::newRow("text") << QStringLiteral("pgTxtEdt") << QString()
                          << list(
                                 "mmText btLoadTx btPrinTx btMergTx edTextFN edLnTx edPgTx "
                                 "edLPtx cbLfCrTx bbNxPage edCurXps edCurYps cbNxPage");
  }

  void tabOrder() {
    QFETCH(QString, page);
    QFETCH(QString, check);
    QFETCH(QStringList, sequence);
    ShowRestored();
    window_->pcFeauts->setCurrentWidget(Page(qPrintable(page)));
    for (const QString& name : check.split(u' ', Qt::SkipEmptyParts)) {
      ClickButton(qPrintable(name));
    }
    QCOMPARE(TabSequence(), sequence);
  }

  void radioSets_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("unchecked");
    const auto list = [](const char* s) {
      return QString::fromLatin1(s).split(u' ', Qt::SkipEmptyParts);
    };
    QTest::newRow("start") << list("") << list("LangAltM Wid12smb Hei3spi")
                           << list(
                                  "LangKoi8 LangComn RadioButton1 RadioButton2 RadioButton3 "
                                  "Wid10smb Hei2spi Hei4spi Hei0353 Hei0118");
    QTest::newRow("RadioButton2 clears LangAltM")
        << list("RadioButton2") << list("RadioButton2 Wid12smb Hei3spi")
        << list("LangAltM LangKoi8 LangComn RadioButton1 RadioButton3");
    QTest::newRow("LangKoi8 clears RadioButton2")
        << list("RadioButton2 LangKoi8") << list("LangKoi8")
        << list("LangAltM LangComn RadioButton1 RadioButton2 RadioButton3");
    QTest::newRow("Hei0118 clears Hei3spi") << list("Hei0118") << list("Hei0118 LangAltM Wid12smb")
                                            << list("Hei2spi Hei3spi Hei4spi Hei0353");
    QTest::newRow("second click keeps the check")
        << list("LangAltM LangAltM Hei3spi Hei3spi Wid10smb Wid10smb")
        << list("LangAltM Hei3spi Wid10smb") << list("Wid12smb LangKoi8 Hei2spi");
    QTest::newRow("sets are apart")
        << list("Wid10smb Hei4spi LangComn") << list("Wid10smb Hei4spi LangComn")
        << list("Wid12smb Hei3spi LangAltM");
  }

  void radioSets() {
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, unchecked);
    ShowRestored();
    window_->pcFeauts->setCurrentWidget(window_->PageSets);
    for (const QString& name : clicks) {
      ClickButton(qPrintable(name));
    }
    for (const QString& name : checked) {
      QVERIFY2(Find<QRadioButton>(window_.get(), qPrintable(name))->isChecked(), qPrintable(name));
    }
    for (const QString& name : unchecked) {
      QVERIFY2(!Find<QRadioButton>(window_.get(), qPrintable(name))->isChecked(), qPrintable(name));
    }
  }

  void boldStaysWithTheStartingButtons() {
    ShowRestored();
    window_->pcFeauts->setCurrentWidget(window_->PageSets);
    ClickButton("Wid10smb");
    ClickButton("LangComn");
    ClickButton("Hei2spi");
    QVERIFY(window_->Wid10smb->isChecked());
    for (QWidget* w :
         {static_cast<QWidget*>(window_->Wid12smb), static_cast<QWidget*>(window_->LangAltM),
          static_cast<QWidget*>(window_->Hei3spi)}) {
      QVERIFY2(w->font().bold(), qPrintable(w->objectName()));
    }
    for (QWidget* w :
         {static_cast<QWidget*>(window_->Wid10smb), static_cast<QWidget*>(window_->LangComn),
          static_cast<QWidget*>(window_->Hei2spi)}) {
      QVERIFY2(!w->font().bold(), qPrintable(w->objectName()));
    }
  }

  void window() {
    QCOMPARE(window_->windowTitle(), kCaption);
    QVERIFY(!window_->windowIcon().isNull());
    QVERIFY(window_->windowIcon().availableSizes().contains(QSize(32, 32)));

    // It opens maximised on the text page with the focus on the tab strip.
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QVERIFY(window_->isMaximized());
    QCOMPARE(window_->pcFeauts->currentWidget(), window_->pgTxtEdt);
    QCOMPARE(QApplication::focusWidget(), window_->pcFeauts->tabBar());

    // Restored, it stands centred on the screen (what the window system restores to).
    const QRect normal = window_->normalGeometry();
    const QRect screen = window_->screen()->availableGeometry();
    QCOMPARE(normal.size(), QSize(632, 466 + window_->mnMain->sizeHint().height()));
    QVERIFY(qAbs(normal.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(normal.center().y() - screen.center().y()) <= 1);
  }

  void restoredClientArea() {
    ShowRestored();
    QVERIFY(!window_->isMaximized());
    const int menu = window_->mnMain->height();
    QCOMPARE(window_->mnMain->geometry(), QRect(0, 0, 632, menu));
    QCOMPARE(window_->width(), 632);
    QCOMPARE(window_->height() - menu, 466);
    QCOMPARE(window_->pcFeauts->geometry(), QRect(0, menu, 632, 442));
    QCOMPARE(window_->StatusBar1->geometry(), QRect(0, menu + 442, 632, 24));
  }

  void statusBar() {
    QStatusBar* bar = window_->StatusBar1;
    QCOMPARE(bar->objectName(), QStringLiteral("StatusBar1"));
    QCOMPARE(window_->statusBar(), bar);
    QCOMPARE(bar->currentMessage(), kCaption);
    QVERIFY(bar->isSizeGripEnabled());
    QCOMPARE(bar->focusPolicy(), Qt::NoFocus);
    QVERIFY(bar->hasMouseTracking());

    // Qt's status tips (sent when the pointer rests on a menu item, with the item's empty tip)
    // do not wipe the status line.
    QStatusTipEvent tip{QString()};
    QApplication::sendEvent(window_->mnMain, &tip);
    QCOMPARE(bar->currentMessage(), kCaption);
  }

  void fonts() {
    // The families are kept as named and drawn with installed fonts.
    QCOMPARE(window_->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(window_->font().pixelSize(), 11);
    QCOMPARE(QFontInfo(window_->SetPrint1->font()).family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(window_->mmText->font().family(), QStringLiteral("Terminal"));
    QCOMPARE(QFontInfo(window_->mmText->font()).family(), QStringLiteral("DejaVu Sans Mono"));
    QVERIFY(QFontInfo(window_->mmText->font()).fixedPitch());
    // Every caption fits its control's width (push buttons and group boxes at least).
    for (QWidget* w : window_->findChildren<QWidget*>()) {
      if (auto* button = qobject_cast<QPushButton*>(w)) {
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(),
                 qPrintable(button->objectName()));
      }
    }
  }

  void textPageFollowsTheWindow() {
    ShowRestored();
    const QRect settingsButton = window_->SetPrint1->geometry();
    window_->resize(760, 620);
    QTRY_COMPARE(window_->pcFeauts->width(), 760);
    const QSize page = window_->pgTxtEdt->size();
    QCOMPARE(window_->pnTextBt->geometry(), QRect(page.width() - 110, 0, 110, page.height()));
    QCOMPARE(window_->mmText->geometry(), QRect(0, 0, page.width() - 110, page.height()));
    QCOMPARE(window_->SetPrint1->geometry(), settingsButton);
  }

  void picture() {
    QLabel* picture = window_->imMyPrnt;
    const QPixmap pixmap = picture->pixmap();
    QCOMPARE(pixmap.size(), QSize(256, 164));
    QVERIFY(!picture->hasScaledContents());
    const QImage image = pixmap.toImage();
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
    int black = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        black += image.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
      }
    }
    QVERIFY2(black > 500, "a line drawing in black");
    // The device name lies on top of the picture.
    QVERIFY(picture->geometry().contains(window_->PrnName->geometry()));
  }

  void dialogsStayHidden() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QCOMPARE(window_->odOpenTx->objectName(), QStringLiteral("odOpenTx"));
    QCOMPARE(window_->odOpenTx->parent(), window_.get());
    QVERIFY(!window_->odOpenTx->isVisible());
    QCOMPARE(window_->fdFontTx->objectName(), QStringLiteral("fdFontTx"));
    QVERIFY(!window_->fdFontTx->isVisible());
  }

  void noQtToolTips() {
    for (QWidget* w : window_->findChildren<QWidget*>()) {
      if (w->window() == window_.get()) {
        QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
      }
    }
  }

  void readOnlyEditsCanBeSelected() {
    ShowRestored();
    for (QLineEdit* edit : {window_->edTextFN, window_->edLnTx, window_->edPgTx, window_->edCurXps,
                            window_->edCurYps}) {
      QVERIFY(edit->isReadOnly());
      QCOMPARE(edit->focusPolicy(), Qt::StrongFocus);
      edit->selectAll();
      QCOMPARE(edit->selectedText(), edit->text());
    }
  }
};

PL4120_TEST_MAIN(LayoutTest)
#include "test_layout.moc"

// The main window as the user first sees it: every control inside its parent, siblings apart,
// captions that fit, the tab sequence, the settings page built from the default settings, the
// radio sets, the pages, the menus, the window itself, and a few controls in detail.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
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
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>

#include "WindowTest.h"
#include "printer/PrinterSettings.h"
#include "ui/widgets/OemMemo.h"
#include "ui/widgets/SpinEdit.h"

using namespace Qt::StringLiterals;

namespace {

const QString kCaption = u"Работа с принтером \"ПЛ 4120\""_s;

// The one caption that is not meant to show: InitCrLf is only its box, just right of the test
// line, by design.
const QString kBoxOnly = u"InitCrLf"_s;

// Siblings that the layout lays over each other: the character-table buttons lie in the
// Language frame and the device name on the printer picture.
const QList<QPair<QString, QString>> kLaidOver{
    {u"Language"_s, u"LangAltM"_s},     {u"Language"_s, u"LangKoi8"_s},
    {u"Language"_s, u"LangComn"_s},     {u"Language"_s, u"RadioButton1"_s},
    {u"Language"_s, u"RadioButton2"_s}, {u"Language"_s, u"RadioButton3"_s},
    {u"imMyPrnt"_s, u"PrnName"_s},
};

QString CaptionOf(const QWidget* w) {
  if (auto* box = qobject_cast<const QGroupBox*>(w)) {
    return box->title();
  }
  if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
    return button->text();
  }
  if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
    return edit->text();
  }
  if (auto* label = qobject_cast<const QLabel*>(w)) {
    return label->text();
  }
  return {};
}

// Whether a control shows its caption whole: the text within the part of the control that the
// style gives the caption (beside a box, inside a button's frame, past an edit's frame).
bool CaptionFits(const QWidget* w) {
  const QString caption = CaptionOf(w);
  const int text = w->fontMetrics().horizontalAdvance(caption);
  auto room = [w](QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(w);
    return w->style()->subElementRect(element, &option, w).width();
  };
  if (qobject_cast<const QRadioButton*>(w) != nullptr) {
    return text <= room(QStyle::SE_RadioButtonContents);
  }
  if (qobject_cast<const QCheckBox*>(w) != nullptr) {
    return text <= room(QStyle::SE_CheckBoxContents);
  }
  if (qobject_cast<const QPushButton*>(w) != nullptr) {
    return text <= room(QStyle::SE_PushButtonContents);
  }
  if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    return text <=
           edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width();
  }
  return text <= w->width();  // a group box's title or a label
}

// The tab strip belongs to pcFeauts, the edit inside a spin edit to the spin edit.
QString ControlOf(QWidget* w, const QSet<QString>& names) {
  for (; w; w = w->parentWidget()) {
    if (names.contains(w->objectName())) {
      return w->objectName();
    }
  }
  return u"<none>"_s;
}

}  // namespace

class LayoutTest : public TWindowTest {
  Q_OBJECT

  // Shows the window restored at its designed size and waits until it has the focus.
  void ShowRestored() {
    window()->showNormal();
    QVERIFY(QTest::qWaitForWindowActive(window()));
  }

  // The controls of the pages: every named widget on them but the parts a spin edit is made of.
  QList<QWidget*> Controls() const {
    QList<QWidget*> controls;
    for (int i = 0; i < Get<QTabWidget>("pcFeauts")->count(); ++i) {
      for (QWidget* w : Get<QTabWidget>("pcFeauts")->widget(i)->findChildren<QWidget*>()) {
        const bool named = !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_");
        if (named && qobject_cast<TSpinEdit*>(w->parentWidget()) == nullptr) {
          controls << w;
        }
      }
    }
    return controls;
  }

  // Presses Tab from the tab strip until the focus is back there; the controls passed on the way.
  QStringList TabSequence() {
    QSet<QString> names{u"pcFeauts"_s};
    for (QWidget* w : Controls()) {
      names << w->objectName();
    }
    Get<QTabWidget>("pcFeauts")->tabBar()->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < 40; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      const QString name = ControlOf(QApplication::focusWidget(), names);
      if (name == u"pcFeauts"_s) {
        break;
      }
      visited << name;
    }
    return visited;
  }

 private slots:
  void spotChecks_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<int>("px");
    QTest::addColumn<bool>("bold");
    QTest::addRow("WidElite") << u"QCheckBox"_s << u"WidthSet"_s << u"Уплотнённая печать"_s
                              << QRect(8, 24, 161, 17) << 13 << false;
    QTest::addRow("Wid12smb") << u"QRadioButton"_s << u"WidthSet"_s << u"12 символов на дюйм"_s
                              << QRect(8, 64, 185, 17) << 13 << true;
    QTest::addRow("LangKoi8") << u"QRadioButton"_s << u"PageSets"_s
                              << u"Кодировка КОИ-8  (UNIX-тексты)"_s << QRect(16, 48, 289, 17) << 13
                              << false;
    QTest::addRow("SetPrint1") << u"QPushButton"_s << u"PageSets"_s << u"Инициализировать принтер"_s
                               << QRect(332, 200, 265, 49) << 16 << true;
    QTest::addRow("PrnName") << u"QLineEdit"_s << u"PageSets"_s << u"PRN"_s
                             << QRect(464, 79, 70, 19) << 11 << true;
    QTest::addRow("SpinEdit2") << u"TSpinEdit"_s << u"HeighSet"_s << QString()
                               << QRect(24, 144, 65, 22) << 11 << false;
    QTest::addRow("edLPtx") << u"QLineEdit"_s << u"pnTextBt"_s << u"70"_s << QRect(80, 104, 25, 21)
                            << 11 << false;
    QTest::addRow("bbNxPage") << u"QPushButton"_s << u"pnTextBt"_s << u"Выброс листа"_s
                              << QRect(4, 384, 105, 25) << 11 << false;
  }

  void spotChecks() {
    QFETCH(QString, kind);
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QRect, bounds);
    QFETCH(int, px);
    QFETCH(bool, bold);
    ShowRestored();

    QWidget* w = Get(QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(CaptionOf(w), caption);
    QCOMPARE(w->geometry(), bounds);
    QCOMPARE(w->font().pixelSize(), px);
    QCOMPARE(w->font().bold(), bold);
  }

  void textPageInDetail() {
    ShowRestored();
    // The editor in the OEM font, the counters and the file name read-only and selectable,
    // the labels sized to their captions where they were placed.
    QCOMPARE(Get<TOemMemo>("mmText")->font().family(), u"Terminal"_s);
    QCOMPARE(Get<TOemMemo>("mmText")->font().pixelSize(), 19);
    QVERIFY(!Get<TOemMemo>("mmText")->isReadOnly());
    QVERIFY(Get<QCheckBox>("cbNxPage")->isChecked());
    QVERIFY(!Get<QCheckBox>("cbLfCrTx")->isChecked());
    QCOMPARE(Get<QLineEdit>("edTextFN")->text(), u"Нет текста"_s);
    QCOMPARE(Get<QLabel>("lbCurYps")->text(), u"Строка    Y="_s);
    QCOMPARE(Get<QLabel>("lbCurYps")->pos(), QPoint(8, 212));
    QCOMPARE(Get<QLabel>("lbLPtx")->pos(), QPoint(8, 108));
    QVERIFY(Get<QLabel>("lbLPtx")->height() >= 13);
    QVERIFY(!Get<QLineEdit>("edLPtx")->isReadOnly());
  }

  void everyControlLiesInsideItsParent() {
    ShowRestored();
    const QList<QWidget*> controls = Controls();
    QVERIFY(controls.size() >= 50);
    for (QWidget* w : controls) {
      const QWidget* parent = w->parentWidget();
      QVERIFY2(parent->rect().contains(w->geometry()),
               qPrintable(w->objectName() + u" is not inside "_s + parent->objectName()));
    }
  }

  void siblingsDoNotOverlap() {
    ShowRestored();
    const QList<QWidget*> controls = Controls();
    for (qsizetype i = 0; i < controls.size(); ++i) {
      for (qsizetype j = i + 1; j < controls.size(); ++j) {
        QWidget* a = controls[i];
        QWidget* b = controls[j];
        if (a->parentWidget() != b->parentWidget()) {
          continue;
        }
        const QString pair = a->objectName() + u" and "_s + b->objectName();
        if (kLaidOver.contains({a->objectName(), b->objectName()}) ||
            kLaidOver.contains({b->objectName(), a->objectName()})) {
          QVERIFY2(a->geometry().contains(b->geometry()) || b->geometry().contains(a->geometry()),
                   qPrintable(pair + u" are meant to lie one in the other"_s));
          continue;
        }
        // Rows 17 pixels high on a 16-pixel pitch share their edge pixel: no overlap.
        const QRect common = a->geometry().intersected(b->geometry());
        QVERIFY2(common.width() <= 1 || common.height() <= 1, qPrintable(pair + u" overlap"_s));
      }
    }
  }

  void captionsFit() {
    ShowRestored();
    QStringList checked;
    for (QWidget* w : Controls()) {
      const QString name = w->objectName();
      if (CaptionOf(w).isEmpty() || name == kBoxOnly) {
        continue;
      }
      QVERIFY2(CaptionFits(w), qPrintable(name + u": \""_s + CaptionOf(w) + u"\" is clipped"_s));
      checked << name;
    }
    // The spacing captions that once were cut are among them.
    QVERIFY(checked.contains(u"Hei0353"_s) && checked.contains(u"Hei0118"_s));
    QVERIFY2(!CaptionFits(Get(qPrintable(kBoxOnly))), "InitCrLf shows only its box");
  }

  void everyControlFollowsThePointer() {
    for (QWidget* w : Controls()) {
      QVERIFY2(w->hasMouseTracking(), qPrintable(w->objectName()));
    }
  }

  void settingsPageStartsFromTheDefaultSettings() {
    QVERIFY(window()->CurrentSettings() == pl4120::PrinterSettings{});
    // As the user sees them.
    for (QRadioButton* checked : {Get<QRadioButton>("LangAltM"), Get<QRadioButton>("Wid12smb"),
                                  Get<QRadioButton>("Hei3spi")}) {
      QVERIFY2(checked->isChecked(), qPrintable(checked->objectName()));
    }
    QCOMPARE(Get<QLineEdit>("PrnName")->text(), u"PRN"_s);
    QCOMPARE(Get<QLineEdit>("StrOutPr")->text(), QString());
    QCOMPARE(Get<TSpinEdit>("SpinEdit1")->editor()->text(), u"8"_s);
    QCOMPARE(Get<TSpinEdit>("SpinEdit2")->editor()->text(), u"24"_s);
    QCOMPARE(Get<TSpinEdit>("SpinEdit1")->MinValue(), pl4120::kUnits72Min);
    QCOMPARE(Get<TSpinEdit>("SpinEdit1")->MaxValue(), pl4120::kUnits72Max);
    QCOMPARE(Get<TSpinEdit>("SpinEdit2")->MinValue(), pl4120::kUnits216Min);
    QCOMPARE(Get<TSpinEdit>("SpinEdit2")->MaxValue(), pl4120::kUnits216Max);
  }

  void settingsGoIntoTheControlsAndBack() {
    using namespace pl4120;
    struct Case {
      PrinterSettings settings;
      const char* checked[3];  // the buttons of the three sets that show it
    };
    PrinterSettings all;
    all.charTable = CharTable::NoTable2;
    all.condensed = true;
    all.doubleWidth = true;
    all.pitch = Pitch::Cpi10;
    all.spacing = LineSpacing::Units216;
    all.units72 = 85;
    all.units216 = -7;
    all.emphasised = true;
    all.doubleStrike = true;
    all.testLine = "\x8F\xE0\xA8 x";
    all.crLfAfterTestLine = true;
    all.device = "/tmp/device";
    PrinterSettings koi8;
    koi8.charTable = CharTable::Koi8;
    koi8.spacing = LineSpacing::Units72;
    koi8.units72 = 0;
    const Case cases[] = {
        {all, {"RadioButton2", "Wid10smb", "Hei0118"}},
        {koi8, {"LangKoi8", "Wid12smb", "Hei0353"}},
        {PrinterSettings{}, {"LangAltM", "Wid12smb", "Hei3spi"}},
    };
    for (const Case& c : cases) {
      window()->ApplySettings(c.settings);

      QVERIFY(window()->CurrentSettings() == c.settings);
      QCOMPARE(Get<QLineEdit>("StrOutPr")->text(),
               c.settings.testLine.empty() ? QString() : u"При x"_s);
      // The checked button of each set is that set's one tab stop.
      for (const char* name : c.checked) {
        auto* button = Get<QRadioButton>(name);
        QVERIFY2(button->isChecked(), name);
        for (QAbstractButton* other : button->group()->buttons()) {
          QCOMPARE(bool(other->focusPolicy() & Qt::TabFocus), other == button);
        }
      }
    }
  }

  void pages() {
    QTabWidget* tabs = Get<QTabWidget>("pcFeauts");
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
    QMenuBar* bar = Get<QMenuBar>("mnMain");
    QCOMPARE(bar->objectName(), QStringLiteral("mnMain"));
    QCOMPARE(window()->menuBar(), bar);
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
    QVERIFY(Get<QAction>("N1")->isSeparator());
    QCOMPARE(Get<QAction>("Save3"), Get<QAction>("Save3"));
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
                                 "mmText btLoadTx btPrinTx btViewTx btMergTx edTextFN edLnTx "
                                 "edPgTx edLPtx cbLfCrTx bbNxPage edCurXps edCurYps cbNxPage");
  }

  void tabOrder() {
    QFETCH(QString, page);
    QFETCH(QString, check);
    QFETCH(QStringList, sequence);
    ShowRestored();
    ShowPage(qPrintable(page));
    for (const QString& name : check.split(u' ', Qt::SkipEmptyParts)) {
      Click(qPrintable(name));
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
    ShowPage("PageSets");
    for (const QString& name : clicks) {
      Click(qPrintable(name));
    }
    for (const QString& name : checked) {
      QVERIFY2(Get<QRadioButton>(qPrintable(name))->isChecked(), qPrintable(name));
    }
    for (const QString& name : unchecked) {
      QVERIFY2(!Get<QRadioButton>(qPrintable(name))->isChecked(), qPrintable(name));
    }
  }

  void boldStaysWithTheStartingButtons() {
    ShowRestored();
    ShowPage("PageSets");
    Click("Wid10smb");
    Click("LangComn");
    Click("Hei2spi");
    QVERIFY(Get<QRadioButton>("Wid10smb")->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(Get<QRadioButton>("Wid12smb")),
                       static_cast<QWidget*>(Get<QRadioButton>("LangAltM")),
                       static_cast<QWidget*>(Get<QRadioButton>("Hei3spi"))}) {
      QVERIFY2(w->font().bold(), qPrintable(w->objectName()));
    }
    for (QWidget* w : {static_cast<QWidget*>(Get<QRadioButton>("Wid10smb")),
                       static_cast<QWidget*>(Get<QRadioButton>("LangComn")),
                       static_cast<QWidget*>(Get<QRadioButton>("Hei2spi"))}) {
      QVERIFY2(!w->font().bold(), qPrintable(w->objectName()));
    }
  }

  void windowOpensMaximisedAndRestoresCentred() {
    QCOMPARE(window()->windowTitle(), kCaption);
    QVERIFY(!window()->windowIcon().isNull());
    QVERIFY(window()->windowIcon().availableSizes().contains(QSize(32, 32)));

    // It opens maximised on the text page with the focus on the tab strip.
    window()->show();
    QVERIFY(QTest::qWaitForWindowActive(window()));
    QVERIFY(window()->isMaximized());
    QCOMPARE(Get<QTabWidget>("pcFeauts")->currentWidget(), Get<QWidget>("pgTxtEdt"));
    QCOMPARE(QApplication::focusWidget(), Get<QTabWidget>("pcFeauts")->tabBar());

    // Restored, it stands centred on the screen (what the window system restores to).
    const QRect normal = window()->normalGeometry();
    const QRect screen = window()->screen()->availableGeometry();
    QCOMPARE(normal.size(), QSize(632, 466 + Get<QMenuBar>("mnMain")->sizeHint().height()));
    QVERIFY(qAbs(normal.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(normal.center().y() - screen.center().y()) <= 1);
  }

  void restoredClientArea() {
    ShowRestored();
    QVERIFY(!window()->isMaximized());
    const int menu = Get<QMenuBar>("mnMain")->height();
    QCOMPARE(Get<QMenuBar>("mnMain")->geometry(), QRect(0, 0, 632, menu));
    QCOMPARE(window()->width(), 632);
    QCOMPARE(window()->height() - menu, 466);
    QCOMPARE(Get<QTabWidget>("pcFeauts")->geometry(), QRect(0, menu, 632, 442));
    QCOMPARE(Get<QStatusBar>("StatusBar1")->geometry(), QRect(0, menu + 442, 632, 24));
  }

  void statusBar() {
    QStatusBar* bar = Get<QStatusBar>("StatusBar1");
    QCOMPARE(bar->objectName(), QStringLiteral("StatusBar1"));
    QCOMPARE(window()->statusBar(), bar);
    QCOMPARE(bar->currentMessage(), kCaption);
    QVERIFY(bar->isSizeGripEnabled());
    QCOMPARE(bar->focusPolicy(), Qt::NoFocus);
    QVERIFY(bar->hasMouseTracking());

    // Qt's status tips (sent when the pointer rests on a menu item, with the item's empty tip)
    // do not wipe the status line.
    QStatusTipEvent tip{QString()};
    QApplication::sendEvent(Get<QMenuBar>("mnMain"), &tip);
    QCOMPARE(bar->currentMessage(), kCaption);
  }

  void fonts() {
    // The families are kept as named and drawn with installed fonts.
    QCOMPARE(window()->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(window()->font().pixelSize(), 11);
    QCOMPARE(QFontInfo(Get<QPushButton>("SetPrint1")->font()).family(),
             QStringLiteral("DejaVu Sans"));
    QCOMPARE(Get<TOemMemo>("mmText")->font().family(), QStringLiteral("Terminal"));
    QCOMPARE(QFontInfo(Get<TOemMemo>("mmText")->font()).family(),
             QStringLiteral("DejaVu Sans Mono"));
    QVERIFY(QFontInfo(Get<TOemMemo>("mmText")->font()).fixedPitch());
  }

  void textPageFollowsTheWindow() {
    ShowRestored();
    const QRect settingsButton = Get<QPushButton>("SetPrint1")->geometry();
    window()->resize(760, 620);
    QTRY_COMPARE(Get<QTabWidget>("pcFeauts")->width(), 760);
    const QSize page = Get<QWidget>("pgTxtEdt")->size();
    QCOMPARE(Get<QFrame>("pnTextBt")->geometry(), QRect(page.width() - 110, 0, 110, page.height()));
    QCOMPARE(Get<TOemMemo>("mmText")->geometry(), QRect(0, 0, page.width() - 110, page.height()));
    QCOMPARE(Get<QPushButton>("SetPrint1")->geometry(), settingsButton);
  }

  void picture() {
    QLabel* picture = Get<QLabel>("imMyPrnt");
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
    QVERIFY(picture->geometry().contains(Get<QLineEdit>("PrnName")->geometry()));
  }

  void dialogsStayHidden() {
    window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    QCOMPARE(Get<QFileDialog>("odOpenTx")->objectName(), QStringLiteral("odOpenTx"));
    QCOMPARE(Get<QFileDialog>("odOpenTx")->parent(), window());
    QVERIFY(!Get<QFileDialog>("odOpenTx")->isVisible());
    QCOMPARE(Get<QFontDialog>("fdFontTx")->objectName(), QStringLiteral("fdFontTx"));
    QVERIFY(!Get<QFontDialog>("fdFontTx")->isVisible());
  }

  void noQtToolTips() {
    for (QWidget* w : window()->findChildren<QWidget*>()) {
      if (w->window() == window()) {
        QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
      }
    }
  }

  void readOnlyEditsCanBeSelected() {
    ShowRestored();
    for (QLineEdit* edit :
         {Get<QLineEdit>("edTextFN"), Get<QLineEdit>("edLnTx"), Get<QLineEdit>("edPgTx"),
          Get<QLineEdit>("edCurXps"), Get<QLineEdit>("edCurYps")}) {
      QVERIFY(edit->isReadOnly());
      QCOMPARE(edit->focusPolicy(), Qt::StrongFocus);
      edit->selectAll();
      QCOMPARE(edit->selectedText(), edit->text());
    }
  }
};

PL4120_TEST_MAIN(LayoutTest)
#include "test_layout.moc"

#include "ui/window/Unit1.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "printer/PrinterSettings.h"
#include "ui/session/SendSession.h"
#include "ui/session/TextFile.h"
#include "ui/widgets/OemMemo.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/window/LayoutTables.h"

namespace {

using namespace pl4120::layout;
using L = TWindowLayout;

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

QFont MakeFont(const char* family, int px, bool bold) {
  QFont font(Utf8(family));
  font.setPixelSize(px);
  font.setBold(bold);
  // The substitute of the window's family runs wider than the face the bounds were made for;
  // narrowed it keeps the captions inside their controls.
  if (qstrcmp(family, kWindowFamily) == 0) {
    font.setStretch(kWindowStretch);
  }
  return font;
}

// Neither family exists here; the substitutes keep the family names the window was designed
// with while drawing with fonts that have Cyrillic (and, for the editor, box-drawing) glyphs.
void RegisterFontSubstitutes() {
  QFont::insertSubstitution(Utf8(kWindowFamily), QStringLiteral("DejaVu Sans"));
  QFont::insertSubstitution(Utf8(kEditorFamily), QStringLiteral("DejaVu Sans Mono"));
}

// A control on its own: the mouse moves without a button reach it (the status line and the
// hints follow the pointer), including the viewport of a scrolling editor.
void TrackMouse(QWidget* widget) {
  widget->setMouseTracking(true);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
    area->viewport()->setMouseTracking(true);
  }
  if (auto* spin = qobject_cast<TSpinEdit*>(widget)) {
    spin->editor()->setMouseTracking(true);
  }
}

// The caption of a control: a group box's title, a button's, label's or edit's text.
template <class W>
void SetCaption(W* widget, const char* caption) {
  if (caption == nullptr) {
    return;
  }
  if constexpr (requires { widget->setTitle(QString()); }) {
    widget->setTitle(Utf8(caption));
  } else if constexpr (requires { widget->setText(QString()); }) {
    widget->setText(Utf8(caption));
  }
}

template <class W>
void SetInitialState(W* widget, const Control& control) {
  if constexpr (requires { widget->setChecked(true); }) {
    widget->setChecked(control.checked);
  }
  if constexpr (requires { widget->setReadOnly(true); }) {
    widget->setReadOnly(control.readOnly);
  }
}

void ApplyLook(QWidget* widget, Look look) {
  switch (look) {
    case Look::Plain:
    case Look::SunkenEdit:  // the line edit's own frame is the sunken one
      break;
    case Look::FlatEdit:
      widget->setStyleSheet(
          QStringLiteral("QLineEdit { border: 1px solid palette(shadow);"
                         " background: palette(base); padding: 0px 1px; }"));
      break;
    case Look::Picture: {
      auto* label = static_cast<QLabel*>(widget);
      label->setPixmap(QPixmap(QStringLiteral(":/assets/printer.bmp")));
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setScaledContents(false);
      break;
    }
    case Look::RaisedPanel: {
      auto* frame = static_cast<QFrame*>(widget);
      frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
      frame->setLineWidth(1);
      break;
    }
  }
}

template <std::size_t N>
void MakeRadioSet(TPL4120_1& window, const std::array<QRadioButton * TPL4120_1::*, N>& set) {
  auto* group = new QButtonGroup(&window);
  for (auto member : set) {
    group->addButton(window.*member);
  }
}

// Depth first through the controls of a parent in their tab order: a container (a group box
// or the panel) contributes its children at its own place, other controls themselves.
void AppendTabChain(const std::string& parent, const std::map<std::string, QWidget*>& byName,
                    std::vector<QWidget*>& chain) {
  std::vector<const Control*> children;
  for (const Control& control : L::Controls()) {
    if (parent == control.parent) {
      children.push_back(&control);
    }
  }
  std::stable_sort(children.begin(), children.end(),
                   [](const Control* a, const Control* b) { return a->tab < b->tab; });
  for (const Control* control : children) {
    if (control->tab < 0) {
      continue;
    }
    const bool isContainer =
        std::any_of(L::Controls().begin(), L::Controls().end(),
                    [&](const Control& c) { return std::string_view(control->name) == c.parent; });
    if (isContainer) {
      AppendTabChain(control->name, byName, chain);
    } else {
      chain.push_back(byName.at(control->name));  // a spin edit passes it to its edit
    }
  }
}

}  // namespace

TPL4120_1::TPL4120_1(QWidget* parent) : QMainWindow(parent) {
  BuildLayout();
  ApplySettings(pl4120::PrinterSettings{});
  WireEvents();
  SetUpTextFile();
  SetUpSending();
  FormCreate();
}

TPL4120_1::~TPL4120_1() = default;

// Hover over menu items makes QMainWindow write their (empty) status tips into the status
// bar; the status line is ours alone, so those events stop at the window.
bool TPL4120_1::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    return true;
  }
  return QMainWindow::event(event);
}

void TPL4120_1::BuildLayout() {
  RegisterFontSubstitutes();
  setObjectName(QStringLiteral("PL4120_1"));
  setWindowTitle(Utf8(kCaption));
  setWindowIcon(QIcon(QStringLiteral(":/assets/pl4120.ico")));
  setFont(MakeFont(kWindowFamily, 11, false));
  TrackMouse(this);

  std::map<std::string, QWidget*> byName = BuildFrame();
  BuildControls(byName);
  BuildMenus();
  BuildDialogs();
  BuildTabChain(byName);
  PlaceWindow();
}

std::map<std::string, QWidget*> TPL4120_1::BuildFrame() {
  // Status line at the bottom of the client area, in the platform's status bar font.
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setFont(QApplication::font(StatusBar1));
  StatusBar1->setFixedHeight(kStatusHeight);
  StatusBar1->setSizeGripEnabled(true);
  setStatusBar(StatusBar1);
  StatusBar1->showMessage(Utf8(kCaption));
  TrackMouse(StatusBar1);

  // The page control fills the rest of the client area.
  pcFeauts = new QTabWidget(this);
  pcFeauts->setObjectName(QStringLiteral("pcFeauts"));
  pcFeauts->setUsesScrollButtons(false);
  pcFeauts->setElideMode(Qt::ElideNone);
  setCentralWidget(pcFeauts);
  TrackMouse(pcFeauts);
  TrackMouse(pcFeauts->tabBar());

  std::map<std::string, QWidget*> byName;
  for (const Page& page : L::Pages()) {
    auto* widget = new QWidget;
    widget->setObjectName(Utf8(page.name));
    pcFeauts->addTab(widget, Utf8(page.caption));
    TrackMouse(widget);
    this->*page.member = widget;
    byName[page.name] = widget;
  }
  return byName;
}

void TPL4120_1::BuildControls(std::map<std::string, QWidget*>& byName) {
  for (const Control& control : L::Controls()) {
    QWidget* parentWidget = byName.at(control.parent);
    QWidget* widget = std::visit(
        [&](auto member) -> QWidget* {
          using W = std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
          auto* created = new W(parentWidget);
          SetCaption(created, control.caption);
          SetInitialState(created, control);
          this->*member = created;
          return created;
        },
        control.member);
    widget->setObjectName(Utf8(control.name));
    widget->setGeometry(control.bounds);
    widget->setFont(MakeFont(control.family, control.px, control.bold));
    ApplyLook(widget, control.look);
    if (auto* label = qobject_cast<QLabel*>(widget); label && control.look == Look::Plain) {
      label->adjustSize();  // a label takes the size of its caption
    }
    TrackMouse(widget);
    byName[control.name] = widget;
  }

  // Only the limits of the spacing spin edits are set here; their values are settings.
  SpinEdit1->SetMinValue(pl4120::kUnits72Min);
  SpinEdit1->SetMaxValue(pl4120::kUnits72Max);
  SpinEdit2->SetMinValue(pl4120::kUnits216Min);
  SpinEdit2->SetMaxValue(pl4120::kUnits216Max);

  // Each set is an explicit exclusive group: parents alone do not keep the sets apart here.
  // ApplySettings checks one button of each and makes it the set's one tab stop; a click on
  // another button moves the tab stop along with the check.
  MakeRadioSet(*this, L::kCharTableSet);
  MakeRadioSet(*this, L::kPitchSet);
  MakeRadioSet(*this, L::kSpacingSet);

  // The editor takes what the panel leaves; the panel keeps its width and the full height.
  auto* textLayout = new QHBoxLayout(pgTxtEdt);
  textLayout->setContentsMargins(0, 0, 0, 0);
  textLayout->setSpacing(0);
  textLayout->addWidget(mmText, 1);
  textLayout->addWidget(pnTextBt);
  pnTextBt->setFixedWidth(kPanelWidth);
}

void TPL4120_1::BuildMenus() {
  mnMain = new QMenuBar(this);
  mnMain->setObjectName(QStringLiteral("mnMain"));
  setMenuBar(mnMain);
  for (const Menu& menu : L::Menus()) {
    QMenu* created = mnMain->addMenu(Utf8(menu.caption));
    created->setObjectName(Utf8(menu.name));
    this->*menu.member = created;
    for (const MenuItem& item : menu.items) {
      QAction* action =
          item.caption ? created->addAction(Utf8(item.caption)) : created->addSeparator();
      action->setObjectName(Utf8(item.name));
      this->*item.member = action;
    }
  }
}

void TPL4120_1::BuildDialogs() {
  odOpenTx = new QFileDialog(this);
  odOpenTx->setObjectName(QStringLiteral("odOpenTx"));
  fdFontTx = new QFontDialog(this);
  fdFontTx->setObjectName(QStringLiteral("fdFontTx"));
  fdFontTx->setCurrentFont(MakeFont(kWindowFamily, 11, false));
}

void TPL4120_1::BuildTabChain(const std::map<std::string, QWidget*>& byName) {
  // The tab strip, then each page's controls.
  std::vector<QWidget*> chain{pcFeauts->tabBar()};
  AppendTabChain("PageSets", byName, chain);
  AppendTabChain("pgTxtEdt", byName, chain);
  for (std::size_t i = 1; i < chain.size(); ++i) {
    QWidget::setTabOrder(chain[i - 1], chain[i]);
  }
  pcFeauts->setCurrentWidget(pgTxtEdt);
  pcFeauts->setFocus();
}

void TPL4120_1::PlaceWindow() {
  // Restored, the window stands centred with its designed client area; it opens maximised.
  QRect normal(QPoint(0, 0), QSize(kClientWidth, kClientHeight + mnMain->sizeHint().height()));
  normal.moveCenter(screen()->availableGeometry().center());
  setGeometry(normal);
  setWindowState(Qt::WindowMaximized);
}

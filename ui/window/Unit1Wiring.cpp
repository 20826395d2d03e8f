#include <QAction>
#include <QEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include "ui/hints/HintTexts.h"
#include "ui/widgets/ErrorBox.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

namespace {

// A slot that runs a handler of the window under the central exception handler; it takes the
// arguments of the handler, so connect() checks them against the signal.
template <class... Args>
auto Guard(TPL4120_1* window, void (TPL4120_1::*handler)(Args...)) {
  return [window, handler](Args... args) { Guarded([&] { (window->*handler)(args...); }); };
}

// True when `under` is `control` or lies inside it with no control of its own in between.
bool IsPartOf(const QWidget* control, const QWidget* under) {
  for (const QWidget* w = under; w != nullptr; w = w->parentWidget()) {
    if (w == control) {
      return true;
    }
    if (IsOwnControl(w)) {
      return false;
    }
  }
  return false;
}

// Mouse moves reach a widget without a pressed button only while it tracks the mouse.
void TrackMouseWithParts(QWidget* control) {
  control->setMouseTracking(true);
  for (QWidget* child : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!IsOwnControl(child)) {
      TrackMouseWithParts(child);
    }
  }
}

}  // namespace

// Every event of the window that has a handler. Events not connected here have none: no other
// button and no other control reacts to a click or a change.
void TPL4120_1::WireEvents() {
  // The controls of the hint table that write a fixed text into the status line when the
  // mouse moves over them (the status line, the page control's tab row and border, most of the
  // settings page).
  for (const QString& name : MouseMoveControls()) {
    if (QWidget* control = findChild<QWidget*>(name)) {
      OnMouseMove(control);
    }
  }

  // Settings page.
  connect(SetPrint1, &QPushButton::clicked, this, Guard(this, &TPL4120_1::SetPrint1Click));
  connect(QuitNoSv, &QPushButton::clicked, this, Guard(this, &TPL4120_1::QuitNoSvClick));
  connect(QuitSave, &QPushButton::clicked, this, Guard(this, &TPL4120_1::QuitSaveClick));
  connect(Instruc, &QPushButton::clicked, this, Guard(this, &TPL4120_1::InstrucClick));

  // Text page. Changes made by the program count as well: the counters follow the text and
  // the lines-per-page field whoever changes them.
  connect(btLoadTx, &QPushButton::clicked, this, Guard(this, &TPL4120_1::btLoadTxClick));
  connect(btMergTx, &QPushButton::clicked, this, Guard(this, &TPL4120_1::btMergTxClick));
  connect(btPrinTx, &QPushButton::clicked, this, Guard(this, &TPL4120_1::btPrinTxClick));
  connect(bbNxPage, &QPushButton::clicked, this, Guard(this, &TPL4120_1::bbNxPageClick));
  connect(btViewTx, &QPushButton::clicked, this, Guard(this, &TPL4120_1::btViewTxClick));
  connect(mmText, &QPlainTextEdit::textChanged, this, Guard(this, &TPL4120_1::mmTextChange));
  connect(mmText, &TOemMemo::mouseMoved, this, Guard(this, &TPL4120_1::mmTextMouseMove));
  connect(mmText, &TOemMemo::mousePressed, this, Guard(this, &TPL4120_1::mmTextMouseDown));
  connect(mmText, &TOemMemo::mouseReleased, this, Guard(this, &TPL4120_1::mmTextMouseUp));
  connect(mmText, &TOemMemo::keyReleased, this, Guard(this, &TPL4120_1::mmTextKeyUp));
  connect(edLPtx, &QLineEdit::textChanged, this, Guard(this, &TPL4120_1::edLPtxChange));

  // Menus: "File", "Text", "Help". A command that does what a button does runs its handler.
  connect(Save3, &QAction::triggered, this, Guard(this, &TPL4120_1::Save3Click));
  connect(Save4, &QAction::triggered, this, Guard(this, &TPL4120_1::Save4Click));
  connect(Quit1, &QAction::triggered, this, Guard(this, &TPL4120_1::QuitNoSvClick));
  connect(Save1, &QAction::triggered, this, Guard(this, &TPL4120_1::btLoadTxClick));
  connect(MergeText1, &QAction::triggered, this, Guard(this, &TPL4120_1::btMergTxClick));
  connect(SaveText1, &QAction::triggered, this, Guard(this, &TPL4120_1::SaveText1Click));
  connect(Save2, &QAction::triggered, this, Guard(this, &TPL4120_1::Save2Click));
  connect(About1, &QAction::triggered, this, Guard(this, &TPL4120_1::InstrucClick));
  connect(About2, &QAction::triggered, this, Guard(this, &TPL4120_1::About2Click));
}

void TPL4120_1::OnMouseMove(QWidget* control) {
  TrackMouseWithParts(control);
  control->installEventFilter(this);
  mouseMoveControls_.insert(control);
}

bool TPL4120_1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    if (mouseMoveControls_.contains(watched)) {
      auto* control = static_cast<QWidget*>(watched);
      auto* move = static_cast<QMouseEvent*>(event);
      // A move that Qt passes up from a control inside this one (a picture, a frame, a button
      // without a handler) belongs to that control: the container's handler must not run.
      const QWidget* under = control->childAt(move->position().toPoint());
      if (under == nullptr || IsPartOf(control, under)) {
        Guarded([&] { ShowMouseMoveText(control); });
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtGlobal>
#include <array>
#include <variant>

#include "ui/ErrorBox.h"
#include "ui/OemMemo.h"
#include "ui/Unit1.h"

namespace {

using PlainHandler = void (TPL4120_1::*)();
using MouseHandler = void (TPL4120_1::*)(QMouseEvent*);
using KeyHandler = void (TPL4120_1::*)(QKeyEvent*);

enum class On { Click, Change, MouseMove, MouseDown, MouseUp, KeyUp };

struct Wire {
  QWidget* control;
  On event;
  std::variant<PlainHandler, MouseHandler, KeyHandler> handler;
};

// Every event of the window that has a handler, and its handler. Events not listed here have
// none: no menu item, no other button (Instruc included) and no other control reacts to a click
// or a change.
std::array<Wire, 34> EventTable(const TPL4120_1& w) {
  using T = TPL4120_1;
  return {{
      {w.SetPrint1, On::Click, &T::SetPrint1Click},
      {w.QuitNoSv, On::Click, &T::QuitNoSvClick},
      {w.QuitSave, On::Click, &T::QuitSaveClick},
      {w.btLoadTx, On::Click, &T::btLoadTxClick},
      {w.btMergTx, On::Click, &T::btMergTxClick},
      {w.btPrinTx, On::Click, &T::btPrinTxClick},
      {w.bbNxPage, On::Click, &T::bbNxPageClick},
      {w.mmText, On::Change, &T::mmTextChange},
      {w.mmText, On::MouseMove, &T::mmTextMouseMove},
      {w.mmText, On::MouseDown, &T::mmTextMouseDown},
      {w.mmText, On::MouseUp, &T::mmTextMouseUp},
      {w.mmText, On::KeyUp, &T::mmTextKeyUp},
      {w.edLPtx, On::Change, &T::edLPtxChange},
      {w.StatusBar1, On::MouseMove, &T::StatusBar1MouseMove},
      {w.pcFeauts, On::MouseMove, &T::pcFeautsMouseMove},
      {w.PageSets, On::MouseMove, &T::PageSetsMouseMove},
      {w.WidthSet, On::MouseMove, &T::WidthSetMouseMove},
      {w.WidExten, On::MouseMove, &T::WidExtenMouseMove},
      {w.WidElite, On::MouseMove, &T::WidEliteMouseMove},
      {w.Wid12smb, On::MouseMove, &T::Wid12smbMouseMove},
      {w.Wid10smb, On::MouseMove, &T::Wid10smbMouseMove},
      {w.StyleSet, On::MouseMove, &T::StyleSetMouseMove},
      {w.StDouble, On::MouseMove, &T::StDoubleMouseMove},
      {w.StQuanty, On::MouseMove, &T::StQuantyMouseMove},
      {w.LangAltM, On::MouseMove, &T::LangAltMMouseMove},
      {w.LangKoi8, On::MouseMove, &T::LangKoi8MouseMove},
      {w.LangComn, On::MouseMove, &T::LangComnMouseMove},
      {w.StrOutPr, On::MouseMove, &T::StrOutPrMouseMove},
      {w.SetPrint1, On::MouseMove, &T::SetPrint1MouseMove},
      {w.Instruc, On::MouseMove, &T::InstrucMouseMove},
      {w.HeighSet, On::MouseMove, &T::HeighSetMouseMove},
      {w.Hei2spi, On::MouseMove, &T::Hei2spiMouseMove},
      {w.Hei3spi, On::MouseMove, &T::Hei3spiMouseMove},
      {w.Hei4spi, On::MouseMove, &T::Hei4spiMouseMove},
  }};
}

// A widget that Qt builds inside a control (the tab row of the page control, the size grip of
// the status bar) is part of that control; a widget of the window's own (it carries a name
// that does not start with "qt_") is a control of its own.
bool IsOwnControl(const QWidget* widget) {
  const QString name = widget->objectName();
  return !name.isEmpty() && !name.startsWith(u"qt_");
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

void TPL4120_1::WireEvents() {
  for (const Wire& wire : EventTable(*this)) {
    if (wire.control == nullptr) {
      qWarning("WireEvents: a control of the event table is missing");
      continue;
    }
    auto* memo = qobject_cast<TOemMemo*>(wire.control);
    auto plain = [this](PlainHandler h) { return [this, h] { Guarded([&] { (this->*h)(); }); }; };
    auto mouse = [this](MouseHandler h) {
      return [this, h](QMouseEvent* e) { Guarded([&] { (this->*h)(e); }); };
    };
    switch (wire.event) {
      case On::Click:
        connect(qobject_cast<QAbstractButton*>(wire.control), &QAbstractButton::clicked, this,
                plain(std::get<PlainHandler>(wire.handler)));
        break;
      case On::Change:
        // Programmatic changes count as well: the handler follows the text, whoever changes it.
        if (memo != nullptr) {
          connect(memo, &QPlainTextEdit::textChanged, this,
                  plain(std::get<PlainHandler>(wire.handler)));
        } else {
          connect(qobject_cast<QLineEdit*>(wire.control), &QLineEdit::textChanged, this,
                  plain(std::get<PlainHandler>(wire.handler)));
        }
        break;
      case On::MouseMove:
        if (memo != nullptr) {
          memo->viewport()->setMouseTracking(true);
          connect(memo, &TOemMemo::mouseMoved, this, mouse(std::get<MouseHandler>(wire.handler)));
        } else {
          TrackMouseWithParts(wire.control);
          wire.control->installEventFilter(this);
        }
        break;
      case On::MouseDown:
        connect(memo, &TOemMemo::mousePressed, this, mouse(std::get<MouseHandler>(wire.handler)));
        break;
      case On::MouseUp:
        connect(memo, &TOemMemo::mouseReleased, this, mouse(std::get<MouseHandler>(wire.handler)));
        break;
      case On::KeyUp: {
        const KeyHandler h = std::get<KeyHandler>(wire.handler);
        connect(memo, &TOemMemo::keyReleased, this,
                [this, h](QKeyEvent* e) { Guarded([&] { (this->*h)(e); }); });
        break;
      }
    }
  }
}

bool TPL4120_1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseMove) {
    return QMainWindow::eventFilter(watched, event);
  }
  for (const Wire& wire : EventTable(*this)) {
    if (wire.event != On::MouseMove || wire.control != watched) {
      continue;
    }
    auto* move = static_cast<QMouseEvent*>(event);
    // A move that Qt passes up from a control inside this one (a picture, a frame, a button
    // without a handler) belongs to that control: the container's handler must not run.
    const QWidget* under = wire.control->childAt(move->position().toPoint());
    if (under == nullptr || IsPartOf(wire.control, under)) {
      const MouseHandler h = std::get<MouseHandler>(wire.handler);
      Guarded([&] { (this->*h)(move); });
    }
    break;
  }
  return QMainWindow::eventFilter(watched, event);
}

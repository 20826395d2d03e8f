#include <QStatusBar>
#include <QString>

#include "app/Application.h"
#include "ui/hints/HintManager.h"
#include "ui/hints/HintTexts.h"
#include "ui/window/Unit1.h"

namespace {

// The status line repaints only when its text really changes: mouse moves write it all the
// time, mostly with the text it already shows.
void WriteStatus(QStatusBar* bar, const QString& text) {
  if (bar && bar->currentMessage() != text) {
    bar->showMessage(text);
  }
}

}  // namespace

void TPL4120_1::ShowMouseMoveText(const QWidget* control) {
  WriteStatus(StatusBar1, MouseMoveText(control));
}

void TPL4120_1::ShowApplicationHint() {
  if (TApplication* app = TApplication::Instance()) {
    WriteStatus(StatusBar1, app->Hints().Hint());
  }
}

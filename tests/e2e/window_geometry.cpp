// Prints where the window lays out its controls, for the end-to-end script to click on: one
// line a control, "name left top width height", in pixels from the top left corner of the
// window's client area (the menu bar is inside it), then "tab:<page> ..." for each page's tab.
// Run it on the display and with the fonts of the program under test: the window is laid out
// there without being shown.
#include <QRect>
#include <QTabBar>
#include <QTabWidget>
#include <cstdio>

#include "app/Application.h"
#include "ui/window/Unit1.h"

namespace {

void Print(const QString& name, const QWidget* widget, const QRect& rect, const QWidget* window) {
  const QRect inWindow(widget->mapTo(window, rect.topLeft()), rect.size());
  std::printf("%s %d %d %d %d\n", qPrintable(name), inWindow.x(), inWindow.y(), inWindow.width(),
              inWindow.height());
}

}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  TPL4120_1 window;
  window.setAttribute(Qt::WA_DontShowOnScreen);
  window.show();
  QCoreApplication::processEvents();

  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    const QString name = widget->objectName();
    if (!name.isEmpty() && !name.startsWith(u"qt_")) {
      Print(name, widget, widget->rect(), &window);
    }
  }
  const QTabBar* tabs = window.findChild<QTabWidget*>(QStringLiteral("pcFeauts"))->tabBar();
  for (int i = 0; i < tabs->count(); ++i) {
    Print(QStringLiteral("tab:") +
              window.findChild<QTabWidget*>(QStringLiteral("pcFeauts"))->widget(i)->objectName(),
          tabs, tabs->tabRect(i), &window);
  }
  return 0;
}

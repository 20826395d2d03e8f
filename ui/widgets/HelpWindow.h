#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

/// The manual: a window of its own beside the main window, not modal, that shows the Russian
/// help compiled into the program (what each setting sends, how to name the output device, why
/// a device refuses, the file format, the counters, the preview). Opening it from the window's
/// menu and buttons is not its business: the window calls ShowHelp.
class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  /// The browser that shows the manual (objectName "HelpText").
  QTextBrowser* Browser() const;

 private:
  QTextBrowser* browser_ = nullptr;
};

/// Opens the manual for `parent` without waiting for it: the first call creates its window
/// (owned by parent, a top-level window of its own), later calls bring the open one to the
/// front. Closing the window destroys it. Returns the window.
THelpWindow* ShowHelp(QWidget* parent);

/// The text of the box "О программе" (rich text): the program's name and version, its
/// copyright and its licence.
QString AboutText();

/// Shows the box "О программе" over `parent`: AboutText() with the program's icon and one
/// button, and the licence's full text among its details. Returns when the box is closed.
void ShowAbout(QWidget* parent);

#pragma once

#include <QString>
#include <QStringList>

class QObject;
class QWidget;

/// The hint texts of the window and its controls, kept in one table (HintTexts.cpp): each
/// control's own hint and, for the controls with a mouse-move handler, the fixed text that
/// handler writes into the status line. A control not in the table has neither.

/// The own hint of a control: short part "|" long part. The main window (class TPL4120_1) has
/// the window's hint whatever its objectName. Empty when it has none.
QString OwnHint(const QObject* control);

/// The control's own hint if not empty, else that of the nearest control that contains it
/// (its parent, the parent's parent, ... up to its window); empty if none has one.
QString EffectiveHint(const QWidget* control);

/// The tooltip part of a hint (before the first "|"; the whole text without one).
QString ShortHint(const QString& hint);
/// The status-line part of a hint (after the first "|"; the whole text without one).
QString LongHint(const QString& hint);

/// What the control's mouse-move handler writes into the status line; empty for a control
/// without such a handler.
QString MouseMoveText(const QObject* control);

/// The objectNames of the controls that have a mouse-move handler, in the table's order: the
/// window hangs the handler on each of them.
QStringList MouseMoveControls();

/// Whether a widget is a control of the window's own: it carries a name, and the name does not
/// start with "qt_". The widgets that Qt builds inside a control (the tab row of the page
/// control, the size grip of the status bar, the edit of a spin box) carry "qt_" names or none,
/// and belong to the control around them.
bool IsOwnControl(const QWidget* widget);

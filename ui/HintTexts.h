#pragma once

#include <QString>
#include <span>

class QObject;
class QWidget;

/// One control's own hint: the control's objectName and its hint text (UTF-8), short part and
/// long part separated by the first "|".
struct THintEntry {
  const char* control;
  const char* hint;
};

/// Every own hint of the main window and its controls; a control not listed has none. The
/// window itself is listed under its instance name "PL4120_1".
std::span<const THintEntry> HintTable();

/// The own hint of a control: the table entry of its objectName; the main window (class
/// TPL4120_1) has the window's hint whatever its objectName. Empty when it has none.
QString OwnHint(const QObject* control);

/// The control's own hint if not empty, else that of the nearest control that contains it
/// (its parent, the parent's parent, ... up to its window); empty if none has one.
QString EffectiveHint(const QWidget* control);

/// The tooltip part of a hint (before the first "|"; the whole text without one).
QString ShortHint(const QString& hint);
/// The status-line part of a hint (after the first "|"; the whole text without one).
QString LongHint(const QString& hint);

#pragma once

#include <QRect>
#include <span>
#include <variant>

#include "ui/Unit1.h"

/// The window's inventory as data: BuildLayout walks these tables to create every control.
namespace pl4120::layout {

/// Where a created control is stored: a member of TPL4120_1 of the control's own class. The
/// class of the member decides what is created.
using Slot =
    std::variant<QWidget * TPL4120_1::*, QGroupBox * TPL4120_1::*, QCheckBox * TPL4120_1::*,
                 QRadioButton * TPL4120_1::*, QLineEdit * TPL4120_1::*, QPushButton * TPL4120_1::*,
                 QLabel * TPL4120_1::*, QFrame * TPL4120_1::*, TSpinEdit * TPL4120_1::*,
                 TOemMemo * TPL4120_1::*>;

/// How a control looks beyond what its class gives it.
enum class Look {
  Plain,
  FlatEdit,     ///< single-line edit with a thin flat border
  SunkenEdit,   ///< single-line edit with the sunken three-dimensional border
  Picture,      ///< label that shows the printer picture at its own size
  RaisedPanel,  ///< frame with a one-pixel raised bevel
};

/// State a control has at start.
enum class Init { None, Checked, ReadOnly };

/// Font families of the window; neither exists on this platform, both are substituted.
inline constexpr const char* kWindowFamily = "MS Sans Serif";
inline constexpr const char* kEditorFamily = "Terminal";
/// Horizontal stretch (percent) of the window's family.
inline constexpr int kWindowStretch = 82;

/// Controls of the pages, in creation order; a control's parent precedes it.
struct Control {
  Slot slot;
  const char* name;
  const char* parent;  ///< objectName of the parent (a page, group box or panel)
  Look look;
  const char* caption;  ///< UTF-8; nullptr when the control has none
  QRect bounds;         ///< relative to the parent
  int tab;              ///< tab order within the parent, -1 when none
  int px;               ///< font height in pixels
  bool bold;
  Init init;
  const char* family;  ///< nullptr: the window's family
};

/// Pages of pcFeauts, from the left tab to the right one.
struct Page {
  QWidget* TPL4120_1::*slot;
  const char* name;
  const char* caption;
};

/// Entries of a menu, top to bottom; a null caption is a separator.
struct MenuItem {
  QAction* TPL4120_1::*slot;
  const char* name;
  const char* caption;
};

/// Menus of the bar, from left to right.
struct Menu {
  QMenu* TPL4120_1::*slot;
  const char* name;
  const char* caption;
  std::span<const MenuItem> items;
};

/// Radio buttons that form one exclusive set.
struct RadioSet {
  const char* name;
  std::span<QRadioButton * TPL4120_1::*const> members;
};

/// Start values of a spin edit.
struct SpinDefaults {
  TSpinEdit* TPL4120_1::*slot;
  int value;
  int min;
  int max;
};

std::span<const Page> Pages();
std::span<const Control> Controls();
std::span<const Menu> Menus();
std::span<const RadioSet> RadioSets();
std::span<const SpinDefaults> Spins();

/// The window's caption, also the first text of the status line.
inline constexpr const char* kCaption = "Работа с принтером \"ПЛ 4120\"";
/// Client area below the menu bar, and the status bar's height within it.
inline constexpr int kClientWidth = 632;
inline constexpr int kClientHeight = 466;
inline constexpr int kStatusHeight = 24;
/// Width the text page's button panel keeps when the window is resized.
inline constexpr int kPanelWidth = 110;

}  // namespace pl4120::layout

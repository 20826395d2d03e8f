#pragma once

#include <QRect>
#include <array>
#include <span>
#include <variant>

#include "ui/window/Unit1.h"

/// The window's inventory as data: BuildLayout walks these tables to create every control.
/// The settings page's initial states (checked buttons, the device name, the spin values and
/// limits) are not here: they come from pl4120::PrinterSettings.
namespace pl4120::layout {

/// Where a created control is stored: a member of TPL4120_1 of the control's own class. The
/// class of the member decides what is created.
using Member =
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

/// Font families of the window; neither exists on this platform, both are substituted.
inline constexpr const char* kWindowFamily = "MS Sans Serif";
inline constexpr const char* kEditorFamily = "Terminal";
/// Horizontal stretch (percent) of the window's family.
inline constexpr int kWindowStretch = 82;

/// A control of a page; the table lists them in creation order, a parent before its children.
struct Control {
  const char* name;  ///< objectName, the same as the member's name
  Member member;
  const char* parent;             ///< objectName of the parent (a page, group box or panel)
  const char* caption = nullptr;  ///< UTF-8; nullptr when the control has none
  QRect bounds;                   ///< relative to the parent
  int tab = -1;                   ///< tab order within the parent, -1 when none
  int px = 11;                    ///< font height in pixels
  bool bold = false;
  const char* family = kWindowFamily;
  Look look = Look::Plain;
  bool readOnly = false;
  bool checked = false;  ///< only for the text page: the settings page's states are settings
};

/// A page of pcFeauts; the table goes from the left tab to the right one.
struct Page {
  const char* name;
  QWidget* TPL4120_1::*member;
  const char* caption;
};

/// An entry of a menu; a null caption is a separator.
struct MenuItem {
  const char* name;
  QAction* TPL4120_1::*member;
  const char* caption;
};

/// A menu of the bar, with its entries from top to bottom.
struct Menu {
  const char* name;
  QMenu* TPL4120_1::*member;
  const char* caption;
  std::span<const MenuItem> items;
};

/// The tables themselves; a friend of the window, so that they can name its private controls.
struct TWindowLayout {
  static std::span<const Page> Pages();
  static std::span<const Control> Controls();
  static std::span<const Menu> Menus();

  /// The radio sets of the settings page. Each button of a set clears the others; each set
  /// lists its buttons in the order of the values of its enum (CharTable, Pitch, LineSpacing).
  static constexpr std::array<QRadioButton * TPL4120_1::*, 6> kCharTableSet{
      &TPL4120_1::LangAltM,     &TPL4120_1::LangKoi8,     &TPL4120_1::LangComn,
      &TPL4120_1::RadioButton1, &TPL4120_1::RadioButton2, &TPL4120_1::RadioButton3};
  static constexpr std::array<QRadioButton * TPL4120_1::*, 2> kPitchSet{&TPL4120_1::Wid12smb,
                                                                        &TPL4120_1::Wid10smb};
  static constexpr std::array<QRadioButton * TPL4120_1::*, 5> kSpacingSet{
      &TPL4120_1::Hei2spi, &TPL4120_1::Hei3spi, &TPL4120_1::Hei4spi, &TPL4120_1::Hei0353,
      &TPL4120_1::Hei0118};
};

/// The window's caption, also the first text of the status line.
inline constexpr const char* kCaption = "Работа с принтером \"ПЛ 4120\"";
/// Client area below the menu bar, and the status bar's height within it.
inline constexpr int kClientWidth = 632;
inline constexpr int kClientHeight = 466;
inline constexpr int kStatusHeight = 24;
/// Width the text page's button panel keeps when the window is resized.
inline constexpr int kPanelWidth = 110;

}  // namespace pl4120::layout

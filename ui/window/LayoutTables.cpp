#include "ui/window/LayoutTables.h"

namespace pl4120::layout {

std::span<const Page> TWindowLayout::Pages() {
  static constexpr Page kPages[] = {
      {.name = "PageSets", .member = &TPL4120_1::PageSets, .caption = "Установки"},
      {.name = "pgTxtEdt", .member = &TPL4120_1::pgTxtEdt, .caption = "Тексты"},
      {.name = "PageSymb", .member = &TPL4120_1::PageSymb, .caption = "Символы"},
      {.name = "PageGraf", .member = &TPL4120_1::PageGraf, .caption = "PageGraf"},
      {.name = "PageCtrA", .member = &TPL4120_1::PageCtrA, .caption = "Доп. Уст."},
      {.name = "Empty4", .member = &TPL4120_1::Empty4, .caption = "Empty4"},
      {.name = "Empty5", .member = &TPL4120_1::Empty5, .caption = "Empty5"},
  };
  return kPages;
}

std::span<const Control> TWindowLayout::Controls() {
  // Font heights: 11 px unless a row says otherwise; the group boxes 16 px, their check boxes and
  // radio buttons 13 px. The buttons checked at start are bold, and stay so.
  // clang-format off
static constexpr Control kControls[] = {
    // Settings page.
    {.name = "imMyPrnt", .member = &TPL4120_1::imMyPrnt, .parent = "PageSets",
     .bounds = {336, 8, 256, 164}, .look = Look::Picture},
    {.name = "WidthSet", .member = &TPL4120_1::WidthSet, .parent = "PageSets",
     .caption = "Ширина", .bounds = {8, 144, 201, 105}, .tab = 0, .px = 16},
    {.name = "WidExten", .member = &TPL4120_1::WidExten, .parent = "WidthSet",
     .caption = "Двойная ширина", .bounds = {8, 40, 137, 17}, .tab = 0, .px = 13},
    {.name = "WidElite", .member = &TPL4120_1::WidElite, .parent = "WidthSet",
     .caption = "Уплотнённая печать", .bounds = {8, 24, 161, 17}, .tab = 1, .px = 13},
    {.name = "Wid12smb", .member = &TPL4120_1::Wid12smb, .parent = "WidthSet",
     .caption = "12 символов на дюйм", .bounds = {8, 64, 185, 17},
     .tab = 2, .px = 13, .bold = true},
    {.name = "Wid10smb", .member = &TPL4120_1::Wid10smb, .parent = "WidthSet",
     .caption = "10 символов на дюйм", .bounds = {8, 80, 161, 17}, .tab = 3, .px = 13},
    {.name = "StyleSet", .member = &TPL4120_1::StyleSet, .parent = "PageSets",
     .caption = "Стиль", .bounds = {8, 256, 201, 65}, .tab = 1, .px = 16},
    {.name = "StDouble", .member = &TPL4120_1::StDouble, .parent = "StyleSet",
     .caption = "Двупроходная печать", .bounds = {8, 24, 169, 17}, .tab = 0, .px = 13},
    {.name = "StQuanty", .member = &TPL4120_1::StQuanty, .parent = "StyleSet",
     .caption = "Качественная печать", .bounds = {8, 40, 169, 17}, .tab = 1, .px = 13},
    {.name = "Language", .member = &TPL4120_1::Language, .parent = "PageSets",
     .caption = "Кодировка", .bounds = {8, 8, 313, 129}, .tab = 2, .px = 16},
    {.name = "LangAltM", .member = &TPL4120_1::LangAltM, .parent = "PageSets",
     .caption = "Альтернативная кодировка ГОСТа", .bounds = {16, 32, 297, 17},
     .tab = 3, .px = 13, .bold = true},
    {.name = "LangKoi8", .member = &TPL4120_1::LangKoi8, .parent = "PageSets",
     .caption = "Кодировка КОИ-8  (UNIX-тексты)", .bounds = {16, 48, 289, 17}, .tab = 4, .px = 13},
    {.name = "LangComn", .member = &TPL4120_1::LangComn, .parent = "PageSets",
     .caption = "Совмещённая кодовая таблица", .bounds = {16, 64, 297, 17}, .tab = 5, .px = 13},
    {.name = "StrOutPr", .member = &TPL4120_1::StrOutPr, .parent = "PageSets",
     .bounds = {336, 172, 241, 19}, .tab = 6, .look = Look::FlatEdit},
    {.name = "SetPrint1", .member = &TPL4120_1::SetPrint1, .parent = "PageSets",
     .caption = "Инициализировать принтер", .bounds = {332, 200, 265, 49},
     .tab = 7, .px = 16, .bold = true},
    {.name = "Instruc", .member = &TPL4120_1::Instruc, .parent = "PageSets",
     .caption = "Помощь", .bounds = {412, 256, 105, 33}, .tab = 8},
    {.name = "HeighSet", .member = &TPL4120_1::HeighSet, .parent = "PageSets",
     .caption = "Высота", .bounds = {216, 144, 105, 177}, .tab = 9, .px = 16},
    {.name = "Hei2spi", .member = &TPL4120_1::Hei2spi, .parent = "HeighSet",
     .caption = "2,54 mm", .bounds = {8, 24, 73, 17}, .tab = 0, .px = 13},
    {.name = "Hei3spi", .member = &TPL4120_1::Hei3spi, .parent = "HeighSet",
     .caption = "3,175 mm", .bounds = {8, 40, 83, 17}, .tab = 1, .px = 13, .bold = true},
    {.name = "Hei4spi", .member = &TPL4120_1::Hei4spi, .parent = "HeighSet",
     .caption = "4,23 mm", .bounds = {8, 56, 73, 17}, .tab = 2, .px = 13},
    {.name = "Hei0353", .member = &TPL4120_1::Hei0353, .parent = "HeighSet",
     .caption = "x 0,353 mm", .bounds = {8, 80, 89, 17}, .tab = 3, .px = 13},
    {.name = "SpinEdit1", .member = &TPL4120_1::SpinEdit1, .parent = "HeighSet",
     .bounds = {24, 96, 65, 22}, .tab = 5},
    {.name = "Hei0118", .member = &TPL4120_1::Hei0118, .parent = "HeighSet",
     .caption = "x 0,118 mm", .bounds = {8, 128, 89, 17}, .tab = 4, .px = 13},
    {.name = "SpinEdit2", .member = &TPL4120_1::SpinEdit2, .parent = "HeighSet",
     .bounds = {24, 144, 65, 22}, .tab = 6},
    {.name = "QuitNoSv", .member = &TPL4120_1::QuitNoSv, .parent = "PageSets",
     .caption = "Выход без сохранения", .bounds = {336, 296, 121, 33}, .tab = 10},
    {.name = "QuitSave", .member = &TPL4120_1::QuitSave, .parent = "PageSets",
     .caption = "Выход с сохранением", .bounds = {472, 296, 121, 33}, .tab = 11},
    {.name = "RadioButton1", .member = &TPL4120_1::RadioButton1, .parent = "PageSets",
     .caption = "RadioButton1", .bounds = {16, 80, 145, 17}, .tab = 12},
    {.name = "RadioButton2", .member = &TPL4120_1::RadioButton2, .parent = "PageSets",
     .caption = "RadioButton2", .bounds = {16, 96, 121, 17}, .tab = 13},
    {.name = "RadioButton3", .member = &TPL4120_1::RadioButton3, .parent = "PageSets",
     .caption = "RadioButton3", .bounds = {16, 112, 113, 17}, .tab = 14},
    {.name = "PrnName", .member = &TPL4120_1::PrnName, .parent = "PageSets",
     .bounds = {464, 79, 70, 19}, .tab = 15, .bold = true, .look = Look::FlatEdit},
    {.name = "InitCrLf", .member = &TPL4120_1::InitCrLf, .parent = "PageSets",
     .caption = "InitCrLf", .bounds = {578, 174, 17, 17}, .tab = 16},

    // Text page: the editor, and the button panel at the right edge.
    {.name = "mmText", .member = &TPL4120_1::mmText, .parent = "pgTxtEdt",
     .bounds = {0, 0, 514, 414}, .tab = 0, .px = 19, .family = kEditorFamily},
    {.name = "pnTextBt", .member = &TPL4120_1::pnTextBt, .parent = "pgTxtEdt",
     .bounds = {514, 0, 110, 414}, .tab = 1, .look = Look::RaisedPanel},
    {.name = "btLoadTx", .member = &TPL4120_1::btLoadTx, .parent = "pnTextBt",
     .caption = "Чтение текста", .bounds = {4, 8, 105, 25}, .tab = 0},
    {.name = "btMergTx", .member = &TPL4120_1::btMergTx, .parent = "pnTextBt",
     .caption = "Подгрузка текста", .bounds = {4, 40, 105, 25}, .tab = 2},
    {.name = "edTextFN", .member = &TPL4120_1::edTextFN, .parent = "pnTextBt",
     .caption = "Нет текста", .bounds = {4, 72, 105, 19},
     .tab = 3, .look = Look::FlatEdit, .readOnly = true},
    {.name = "lbLPtx", .member = &TPL4120_1::lbLPtx, .parent = "pnTextBt",
     .caption = "Строк/Стран", .bounds = {8, 108, 65, 13}},
    {.name = "edLPtx", .member = &TPL4120_1::edLPtx, .parent = "pnTextBt",
     .caption = "70", .bounds = {80, 104, 25, 21}, .tab = 6, .look = Look::SunkenEdit},
    {.name = "lbLnTx", .member = &TPL4120_1::lbLnTx, .parent = "pnTextBt",
     .caption = "Строк", .bounds = {8, 132, 30, 13}},
    {.name = "edLnTx", .member = &TPL4120_1::edLnTx, .parent = "pnTextBt",
     .caption = "0000", .bounds = {72, 128, 33, 19},
     .tab = 4, .look = Look::FlatEdit, .readOnly = true},
    {.name = "lbPgTx", .member = &TPL4120_1::lbPgTx, .parent = "pnTextBt",
     .caption = "Страниц", .bounds = {8, 156, 42, 13}},
    {.name = "edPgTx", .member = &TPL4120_1::edPgTx, .parent = "pnTextBt",
     .caption = "0000", .bounds = {72, 152, 33, 19},
     .tab = 5, .look = Look::FlatEdit, .readOnly = true},
    {.name = "lbCurXps", .member = &TPL4120_1::lbCurXps, .parent = "pnTextBt",
     .caption = "Столбец  X=", .bounds = {8, 188, 61, 13}},
    {.name = "edCurXps", .member = &TPL4120_1::edCurXps, .parent = "pnTextBt",
     .caption = "1", .bounds = {72, 184, 33, 19},
     .tab = 9, .look = Look::FlatEdit, .readOnly = true},
    {.name = "lbCurYps", .member = &TPL4120_1::lbCurYps, .parent = "pnTextBt",
     .caption = "Строка    Y=", .bounds = {8, 212, 61, 13}},
    {.name = "edCurYps", .member = &TPL4120_1::edCurYps, .parent = "pnTextBt",
     .caption = "1", .bounds = {72, 208, 33, 19},
     .tab = 10, .look = Look::FlatEdit, .readOnly = true},
    {.name = "cbLfCrTx", .member = &TPL4120_1::cbLfCrTx, .parent = "pnTextBt",
     .caption = "Добавлять (13)", .bounds = {8, 238, 95, 17}, .tab = 7},
    {.name = "cbNxPage", .member = &TPL4120_1::cbNxPage, .parent = "pnTextBt",
     .caption = "Выброс листа", .bounds = {8, 256, 97, 17}, .tab = 11, .checked = true},
    {.name = "btPrinTx", .member = &TPL4120_1::btPrinTx, .parent = "pnTextBt",
     .caption = "Распечатка текста", .bounds = {4, 288, 105, 25}, .tab = 1},
    // Right after btPrinTx in the tab order: equal numbers keep the order of this table.
    {.name = "btViewTx", .member = &TPL4120_1::btViewTx, .parent = "pnTextBt",
     .caption = "Просмотр", .bounds = {4, 320, 105, 25}, .tab = 1},
    {.name = "bbNxPage", .member = &TPL4120_1::bbNxPage, .parent = "pnTextBt",
     .caption = "Выброс листа", .bounds = {4, 384, 105, 25}, .tab = 8},
};
  return kControls;
}
// clang-format on

std::span<const Menu> TWindowLayout::Menus() {
  static constexpr MenuItem kFileItems[] = {
      {.name = "Save3", .member = &TPL4120_1::Save3, .caption = "Load"},
      {.name = "Save4", .member = &TPL4120_1::Save4, .caption = "Save"},
      {.name = "N1", .member = &TPL4120_1::N1, .caption = nullptr},
      {.name = "Quit1", .member = &TPL4120_1::Quit1, .caption = "Quit"},
  };
  static constexpr MenuItem kTextItems[] = {
      {.name = "Save1", .member = &TPL4120_1::Save1, .caption = "Load Text"},
      {.name = "MergeText1", .member = &TPL4120_1::MergeText1, .caption = "Merge Text"},
      {.name = "SaveText1", .member = &TPL4120_1::SaveText1, .caption = "Save Text"},
      {.name = "Save2", .member = &TPL4120_1::Save2, .caption = "Save Text As ..."},
  };
  static constexpr MenuItem kHelpItems[] = {
      {.name = "About1", .member = &TPL4120_1::About1, .caption = "Index"},
      {.name = "About2", .member = &TPL4120_1::About2, .caption = "About"},
  };
  static constexpr Menu kMenus[] = {
      {.name = "File2", .member = &TPL4120_1::File2, .caption = "File", .items = kFileItems},
      {.name = "File1", .member = &TPL4120_1::File1, .caption = "Text", .items = kTextItems},
      {.name = "Help1", .member = &TPL4120_1::Help1, .caption = "Help", .items = kHelpItems},
  };

  return kMenus;
}

}  // namespace pl4120::layout

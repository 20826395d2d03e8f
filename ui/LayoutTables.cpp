#include "ui/LayoutTables.h"

#include <array>

namespace pl4120::layout {
namespace {

// A member and its name, which is also the control's objectName.
#define M(member) &TPL4120_1::member, #member

constexpr Look P = Look::Plain;
constexpr Init N = Init::None;
constexpr Init C = Init::Checked;
constexpr Init R = Init::ReadOnly;

const std::array kPages{
    Page{M(PageSets), "Установки"}, Page{M(pgTxtEdt), "Тексты"},    Page{M(PageSymb), "Символы"},
    Page{M(PageGraf), "PageGraf"},  Page{M(PageCtrA), "Доп. Уст."}, Page{M(Empty4), "Empty4"},
    Page{M(Empty5), "Empty5"},
};

// clang-format off
const std::array kControls{
    // Settings page.
    Control{M(imMyPrnt), "PageSets", Look::Picture, nullptr, {336, 8, 256, 164}, -1, 11, false, N, nullptr},
    Control{M(WidthSet), "PageSets", P, "Ширина", {8, 144, 201, 105}, 0, 16, false, N, nullptr},
    Control{M(WidExten), "WidthSet", P, "Двойная ширина", {8, 40, 137, 17}, 0, 13, false, N, nullptr},
    Control{M(WidElite), "WidthSet", P, "Уплотнённая печать", {8, 24, 161, 17}, 1, 13, false, N, nullptr},
    Control{M(Wid12smb), "WidthSet", P, "12 символов на дюйм", {8, 64, 185, 17}, 2, 13, true, C, nullptr},
    Control{M(Wid10smb), "WidthSet", P, "10 символов на дюйм", {8, 80, 161, 17}, 3, 13, false, N, nullptr},
    Control{M(StyleSet), "PageSets", P, "Стиль", {8, 256, 201, 65}, 1, 16, false, N, nullptr},
    Control{M(StDouble), "StyleSet", P, "Двупроходная печать", {8, 24, 169, 17}, 0, 13, false, N, nullptr},
    Control{M(StQuanty), "StyleSet", P, "Качественная печать", {8, 40, 169, 17}, 1, 13, false, N, nullptr},
    Control{M(Language), "PageSets", P, "Кодировка", {8, 8, 313, 129}, 2, 16, false, N, nullptr},
    Control{M(LangAltM), "PageSets", P, "Альтернативная кодировка ГОСТа", {16, 32, 297, 17}, 3, 13, true, C, nullptr},
    Control{M(LangKoi8), "PageSets", P, "Кодировка КОИ-8  (UNIX-тексты)", {16, 48, 289, 17}, 4, 13, false, N, nullptr},
    Control{M(LangComn), "PageSets", P, "Совмещённая кодовая таблица", {16, 64, 297, 17}, 5, 13, false, N, nullptr},
    Control{M(StrOutPr), "PageSets", Look::FlatEdit, "", {336, 172, 241, 19}, 6, 11, false, N, nullptr},
    Control{M(SetPrint1), "PageSets", P, "Инициализировать принтер", {332, 200, 265, 49}, 7, 16, true, N, nullptr},
    Control{M(Instruc), "PageSets", P, "Помощь", {412, 256, 105, 33}, 8, 11, false, N, nullptr},
    Control{M(HeighSet), "PageSets", P, "Высота", {224, 144, 97, 177}, 9, 16, false, N, nullptr},
    Control{M(Hei2spi), "HeighSet", P, "2,54 mm", {8, 24, 73, 17}, 0, 13, false, N, nullptr},
    Control{M(Hei3spi), "HeighSet", P, "3,175 mm", {8, 40, 83, 17}, 1, 13, true, C, nullptr},
    Control{M(Hei4spi), "HeighSet", P, "4,23 mm", {8, 56, 73, 17}, 2, 13, false, N, nullptr},
    Control{M(Hei0353), "HeighSet", P, "x 0,353 mm", {8, 80, 73, 17}, 3, 13, false, N, nullptr},
    Control{M(SpinEdit1), "HeighSet", P, nullptr, {24, 96, 65, 22}, 5, 11, false, N, nullptr},
    Control{M(Hei0118), "HeighSet", P, "x 0,118 mm", {8, 128, 73, 17}, 4, 13, false, N, nullptr},
    Control{M(SpinEdit2), "HeighSet", P, nullptr, {24, 144, 65, 22}, 6, 11, false, N, nullptr},
    Control{M(QuitNoSv), "PageSets", P, "Выход без сохранения", {336, 296, 121, 33}, 10, 11, false, N, nullptr},
    Control{M(QuitSave), "PageSets", P, "Выход с сохранением", {472, 296, 121, 33}, 11, 11, false, N, nullptr},
    Control{M(RadioButton1), "PageSets", P, "RadioButton1", {16, 80, 145, 17}, 12, 11, false, N, nullptr},
    Control{M(RadioButton2), "PageSets", P, "RadioButton2", {16, 96, 121, 17}, 13, 11, false, N, nullptr},
    Control{M(RadioButton3), "PageSets", P, "RadioButton3", {16, 112, 113, 17}, 14, 11, false, N, nullptr},
    Control{M(PrnName), "PageSets", Look::FlatEdit, "PRN", {464, 79, 70, 19}, 15, 11, true, N, nullptr},
    Control{M(InitCrLf), "PageSets", P, "InitCrLf", {578, 174, 17, 17}, 16, 11, false, N, nullptr},

    // Text page: the editor, and the button panel at the right edge.
    Control{M(mmText), "pgTxtEdt", P, nullptr, {0, 0, 514, 414}, 0, 19, false, N, kEditorFamily},
    Control{M(pnTextBt), "pgTxtEdt", Look::RaisedPanel, nullptr, {514, 0, 110, 414}, 1, 11, false, N, nullptr},
    Control{M(btLoadTx), "pnTextBt", P, "Чтение текста", {4, 8, 105, 25}, 0, 11, false, N, nullptr},
    Control{M(btMergTx), "pnTextBt", P, "Подгрузка текста", {4, 40, 105, 25}, 2, 11, false, N, nullptr},
    Control{M(edTextFN), "pnTextBt", Look::FlatEdit, "Нет текста", {4, 72, 105, 19}, 3, 11, false, R, nullptr},
    Control{M(lbLPtx), "pnTextBt", P, "Строк/Стран", {8, 108, 65, 13}, -1, 11, false, N, nullptr},
    Control{M(edLPtx), "pnTextBt", Look::SunkenEdit, "70", {80, 104, 25, 21}, 6, 11, false, N, nullptr},
    Control{M(lbLnTx), "pnTextBt", P, "Строк", {8, 132, 30, 13}, -1, 11, false, N, nullptr},
    Control{M(edLnTx), "pnTextBt", Look::FlatEdit, "0000", {72, 128, 33, 19}, 4, 11, false, R, nullptr},
    Control{M(lbPgTx), "pnTextBt", P, "Страниц", {8, 156, 42, 13}, -1, 11, false, N, nullptr},
    Control{M(edPgTx), "pnTextBt", Look::FlatEdit, "0000", {72, 152, 33, 19}, 5, 11, false, R, nullptr},
    Control{M(lbCurXps), "pnTextBt", P, "Столбец  X=", {8, 188, 61, 13}, -1, 11, false, N, nullptr},
    Control{M(edCurXps), "pnTextBt", Look::FlatEdit, "1", {72, 184, 33, 19}, 9, 11, false, R, nullptr},
    Control{M(lbCurYps), "pnTextBt", P, "Строка    Y=", {8, 212, 61, 13}, -1, 11, false, N, nullptr},
    Control{M(edCurYps), "pnTextBt", Look::FlatEdit, "1", {72, 208, 33, 19}, 10, 11, false, R, nullptr},
    Control{M(cbLfCrTx), "pnTextBt", P, "Добавлять (13)", {8, 238, 95, 17}, 7, 11, false, N, nullptr},
    Control{M(cbNxPage), "pnTextBt", P, "Выброс листа", {8, 256, 97, 17}, 11, 11, false, C, nullptr},
    Control{M(btPrinTx), "pnTextBt", P, "Распечатка текста", {4, 288, 105, 25}, 1, 11, false, N, nullptr},
    Control{M(bbNxPage), "pnTextBt", P, "Выброс листа", {4, 384, 105, 25}, 8, 11, false, N, nullptr},
};
// clang-format on

const std::array kFileItems{
    MenuItem{M(Save3), "Load"},
    MenuItem{M(Save4), "Save"},
    MenuItem{M(N1), nullptr},
    MenuItem{M(Quit1), "Quit"},
};
const std::array kTextItems{
    MenuItem{M(Save1), "Load Text"},
    MenuItem{M(MergeText1), "Merge Text"},
    MenuItem{M(SaveText1), "Save Text"},
    MenuItem{M(Save2), "Save Text As ..."},
};
const std::array kHelpItems{
    MenuItem{M(About1), "Index"},
    MenuItem{M(About2), "About"},
};
const std::array kMenus{
    Menu{M(File2), "File", kFileItems},
    Menu{M(File1), "Text", kTextItems},
    Menu{M(Help1), "Help", kHelpItems},
};

#undef M

const std::array kCharTableSet{&TPL4120_1::LangAltM,     &TPL4120_1::LangKoi8,
                               &TPL4120_1::LangComn,     &TPL4120_1::RadioButton1,
                               &TPL4120_1::RadioButton2, &TPL4120_1::RadioButton3};
const std::array kPitchSet{&TPL4120_1::Wid12smb, &TPL4120_1::Wid10smb};
const std::array kSpacingSet{&TPL4120_1::Hei2spi, &TPL4120_1::Hei3spi, &TPL4120_1::Hei4spi,
                             &TPL4120_1::Hei0353, &TPL4120_1::Hei0118};
const std::array kRadioSets{
    RadioSet{"charTableSet", kCharTableSet},
    RadioSet{"pitchSet", kPitchSet},
    RadioSet{"spacingSet", kSpacingSet},
};

const std::array kSpins{
    SpinDefaults{&TPL4120_1::SpinEdit1, 8, 0, 85},
    SpinDefaults{&TPL4120_1::SpinEdit2, 24, 0, 0},  // equal limits: no limit at all
};

}  // namespace

std::span<const Page> Pages() {
  return kPages;
}
std::span<const Control> Controls() {
  return kControls;
}
std::span<const Menu> Menus() {
  return kMenus;
}
std::span<const RadioSet> RadioSets() {
  return kRadioSets;
}
std::span<const SpinDefaults> Spins() {
  return kSpins;
}

}  // namespace pl4120::layout

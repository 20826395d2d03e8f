#include "printer/InitSequence.h"

#include <string_view>

#include "printer/Commands.h"

namespace pl4120 {
namespace {

// One choice of the settings page: the code sent when its flag is set, and the one sent when
// it is clear (empty where a clear flag sends nothing). The rows are in the order the printer
// receives them.
struct Step {
  bool PrinterSettings::*flag;
  std::string_view whenSet;
  std::string_view whenClear;
};

constexpr Step kSteps[] = {
    {&PrinterSettings::LangAltM, cmd::kCharTable, {}},
    {&PrinterSettings::LangKoi8, cmd::kCharTable, {}},
    {&PrinterSettings::LangComn, cmd::kCharTable, {}},
    {&PrinterSettings::WidElite, cmd::kCondensedOn, cmd::kCondensedOff},
    {&PrinterSettings::WidExten, cmd::kDoubleWidthOn, cmd::kDoubleWidthOff},
    {&PrinterSettings::Wid12smb, cmd::kPitch12, {}},
    {&PrinterSettings::Wid10smb, cmd::kPitch10, {}},
    {&PrinterSettings::Hei2spi, cmd::kSpacing254, {}},
    {&PrinterSettings::Hei3spi, cmd::kSpacing3175, {}},
    {&PrinterSettings::Hei4spi, cmd::kSpacing423, {}},
    {&PrinterSettings::StQuanty, cmd::kQualityOn, cmd::kQualityOff},
    {&PrinterSettings::StDouble, cmd::kDoublePassOn, cmd::kDoublePassOff},
};

}  // namespace

std::string BuildInitSequence(const PrinterSettings& settings) {
  std::string sequence(cmd::kReset);
  for (const Step& step : kSteps) {
    sequence += settings.*step.flag ? step.whenSet : step.whenClear;
  }
  sequence += settings.StrOutPr;
  if (settings.InitCrLf) {
    sequence += cmd::kTestLineEnd;
  }
  sequence += cmd::kFinal;
  return sequence;
}

}  // namespace pl4120

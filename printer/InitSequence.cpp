#include "printer/InitSequence.h"

namespace pl4120 {
std::string BuildInitSequence(const PrinterSettings& /*settings*/) { return {}; }
}  // namespace pl4120

#include "printer/DeviceChannel.h"

namespace pl4120 {
WriteResult WriteToDevice(std::string_view /*name*/, std::string_view /*data*/) { return {}; }
}  // namespace pl4120

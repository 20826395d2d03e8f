// The mapping of DOS device names onto this system's devices, with a made-up answer to "does
// this path exist": nothing is opened or looked up on the machine.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "printer/DeviceChannel.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using pl4120::fuzz::Check;

// Every device name in capitals with its port: PRN is the first parallel port; 0 for NUL.
struct Port {
  char family;  // 'L' parallel, 'C' serial, 'N' the null device
  int number;
};

const std::map<std::string, Port>& DeviceNames() {
  static const std::map<std::string, Port> names = [] {
    std::map<std::string, Port> table{{"PRN", {'L', 1}}, {"NUL", {'N', 0}}};
    for (int n = 1; n <= 9; ++n) {
      table["LPT" + std::to_string(n)] = {'L', n};
      table["COM" + std::to_string(n)] = {'C', n};
    }
    return table;
  }();
  return names;
}

std::string Capitals(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto usbPrinters = input.ConsumeIntegral<std::uint16_t>();  // bit n: /dev/usb/lp<n>
  const std::string name = input.ConsumeRemainingBytesAsString();

  std::vector<std::string> asked;
  const pl4120::DeviceTarget target = pl4120::ResolveDeviceName(name, [&](const std::string& path) {
    asked.push_back(path);
    for (int n = 0; n < 16; ++n) {
      if (path == "/dev/usb/lp" + std::to_string(n)) {
        return (usbPrinters >> n & 1) != 0;
      }
    }
    return false;
  });

  std::string bare = name;
  if (!bare.empty() && bare.back() == ':') {
    bare.pop_back();
  }
  const auto found = DeviceNames().find(Capitals(bare));
  if (found == DeviceNames().end()) {
    Check(!target.device && target.path == name, "any other name stays as it is");
    Check(asked.empty(), "an ordinary name needs no look-up");
    return 0;
  }
  Check(target.device, "a device name is a device");
  const Port port = found->second;
  const std::string index = std::to_string(port.number - 1);
  switch (port.family) {
    case 'N':
      Check(target.path == "/dev/null" && asked.empty(), "NUL is /dev/null");
      break;
    case 'C':
      Check(target.path == "/dev/ttyS" + index && asked.empty(), "COMn is /dev/ttyS(n-1)");
      break;
    default: {
      const std::string usb = "/dev/usb/lp" + index;
      Check(asked == std::vector<std::string>{usb}, "a parallel port asks once for its USB node");
      const bool present = (usbPrinters >> (port.number - 1) & 1) != 0;
      Check(target.path == (present ? usb : "/dev/lp" + index),
            "a parallel port is its USB printer where there is one, else /dev/lp(n-1)");
      break;
    }
  }
  return 0;
}

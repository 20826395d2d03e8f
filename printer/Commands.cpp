#include "printer/Commands.h"

#include <stdexcept>

namespace pl4120::cmd {

std::string Encode(Op op, std::initializer_list<std::uint8_t> args) {
  const Command& command = Lookup(op);
  if (args.size() != command.argBytes) {
    throw std::invalid_argument("wrong number of arguments for " + std::string(command.mnemonic));
  }
  std::string bytes(command.code);
  for (const std::uint8_t arg : args) {
    bytes.push_back(static_cast<char>(arg));
  }
  return bytes;
}

}  // namespace pl4120::cmd

#include "text/PrintPayload.h"

namespace pl4120 {

std::string PrintPayload(std::string subject, bool formFeed) {
  if (formFeed)
    subject.push_back(kFormFeed);
  return subject;
}

std::string EjectPayload() {
  return std::string(1, kFormFeed);
}

}  // namespace pl4120

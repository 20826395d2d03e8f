#include "printer/PrintService.h"

#include <cups/cups.h>
#include <dirent.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "printer/OutputKinds.h"

namespace pl4120 {
namespace {

bool AllDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The printer nodes of one folder, as (number, path).
std::vector<std::pair<long, std::string>> PrinterNodes(const std::string& folder) {
  std::vector<std::pair<long, std::string>> nodes;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
  if (!dir) {
    return nodes;
  }
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.size() > 2 && name.size() < 12 && name.starts_with("lp") &&
        AllDigits(name.substr(2)) && entry->d_type != DT_DIR) {
      nodes.emplace_back(std::stol(name.substr(2)), folder + "/" + name);
    }
  }
  std::sort(nodes.begin(), nodes.end());
  return nodes;
}

const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
  return nullptr;
}

// One question to the print service, asked on a thread of its own.
struct QueueQuestion {
  detail::ServiceAddress service;
  http_encryption_t encryption = HTTP_ENCRYPTION_IF_REQUESTED;
  int timeoutMs = 0;
  std::vector<std::string> queues;
};

void Ask(QueueQuestion& q) {
  cupsSetPasswordCB2(NoPassword, nullptr);
  http_t* http = httpConnect2(q.service.host.c_str(), q.service.port, nullptr, AF_UNSPEC,
                              q.encryption, 1, q.timeoutMs, nullptr);
  if (http == nullptr) {
    return;
  }
  httpSetTimeout(http, q.timeoutMs / 1000.0, nullptr, nullptr);
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "printer-name");
  ipp_t* response = cupsDoRequest(http, request, "/");
  for (ipp_attribute_t* a = ippFindAttribute(response, "printer-name", IPP_TAG_ZERO); a != nullptr;
       a = ippFindNextAttribute(response, "printer-name", IPP_TAG_ZERO)) {
    if (const char* name = ippGetString(a, 0, nullptr); name != nullptr && *name != '\0') {
      q.queues.push_back(std::string("cups:") + name);
    }
  }
  ippDelete(response);
  httpClose(http);
  std::sort(q.queues.begin(), q.queues.end());
}

}  // namespace

std::vector<std::string> ListPrintQueues(const std::string& printService,
                                         std::chrono::milliseconds timeout,
                                         const CancelToken* cancel) {
  auto question = std::make_shared<QueueQuestion>();
  question->service = detail::PrintServiceAddress(printService);
  question->encryption = cupsEncryption();
  question->timeoutMs = static_cast<int>(std::max<std::int64_t>(timeout.count(), 1));
  const bool answered = detail::RunUntilDone([question] { Ask(*question); }, cancel,
                                             std::chrono::steady_clock::now() + timeout);
  return answered ? question->queues : std::vector<std::string>();
}

std::vector<std::string> ListDeviceNodes(const std::string& devRoot) {
  std::vector<std::string> paths;
  for (const std::string& folder : {devRoot + "/usb", devRoot}) {
    for (auto& node : PrinterNodes(folder)) {
      paths.push_back(std::move(node.second));
    }
  }
  return paths;
}

namespace detail {

ServiceAddress PrintServiceAddress(const std::string& configured) {
  if (configured.empty()) {
    return {cupsServer(), ippPort()};
  }
  if (configured.front() == '/') {
    return {configured, ippPort()};
  }
  std::string host = configured;
  int port = ippPort();
  const std::size_t colon = configured.rfind(':');
  const std::size_t bracket = configured.rfind(']');
  if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket) &&
      AllDigits(configured.substr(colon + 1)) && configured.size() - colon <= 6) {
    host = configured.substr(0, colon);
    port = std::stoi(configured.substr(colon + 1));
  }
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  return {host, port};
}

void LookForPrinters(const JobOptions& options, const CancelToken* cancel, WriteResult& result) {
  result.lookedForPrinters = true;
  result.queues = ListPrintQueues(options.printService, options.queueListTimeout, cancel);
  result.devices = ListDeviceNodes();
}

}  // namespace detail
}  // namespace pl4120

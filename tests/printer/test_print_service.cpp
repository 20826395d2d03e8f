#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer/Destination.h"
#include "printer/InitSequence.h"
#include "printer/PrintService.h"
#include "tests/printer/JobTestSupport.h"
#include "tests/support/PrintRig.h"

namespace pl4120 {
namespace {

using namespace pl4120::testing;
using Status = WriteResult::Status;

// A print service of its own, with a raw queue "Raw" that delivers to a TCP printer.
class PrintService : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string problem = service_.Start();
    if (!problem.empty()) {
      GTEST_SKIP() << "no private print service to test with: " << problem;
    }
    ASSERT_EQ(service_.AddQueue("Raw", printer_.uri()), "");
    options_.printService = service_.server();
  }

  JobRecord Job(const std::string& queue, int id, const std::string& requester = {}) const {
    const std::string port = service_.server().substr(service_.server().rfind(':') + 1);
    return AskAboutJob("127.0.0.1", std::stoi(port),
                       "ipp://127.0.0.1:" + port + "/printers/" + queue, id, requester);
  }

  rig::TcpSink printer_;
  rig::PrivateCupsd service_;
  JobOptions options_;
};

TEST_F(PrintService, QueuePassesEveryByteToThePrinter) {
  struct Case {
    const char* name;
    const char* title;
    std::string data;
  } const cases[] = {
      {"cups:Raw", "ПЛ 4120: инициализация", BuildInitSequence(PrinterSettings{})},
      {"CUPS:Raw", "ПЛ 4120: письмо.txt", PrinterText()},
      {"cups:", "ПЛ 4120: выброс листа", "\x0C"},  // the default queue
  };
  ASSERT_EQ(service_.SetDefault("Raw"), "");
  std::size_t delivered = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    options_.title = c.title;

    const WriteResult r = SendJob(c.name, c.data, options_);

    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.kind, DestinationKind::Queue);
    EXPECT_EQ(r.path, "Raw");
    ASSERT_GT(r.jobId, 0);
    // The service prints the job on its own time: wait for the printer to get it.
    ASSERT_TRUE(printer_.WaitForEnded(++delivered, std::chrono::seconds(20)));
    EXPECT_TRUE(printer_.Received(delivered - 1) == c.data);
    const JobRecord job = Job("Raw", r.jobId);
    EXPECT_EQ(job.name, c.title);
    EXPECT_EQ(job.user, ThisUser());
  }
}

TEST_F(PrintService, ListsItsQueuesAndNamesThemWhenADeviceIsMissing) {
  ASSERT_EQ(service_.AddQueue("Second", printer_.uri()), "");

  EXPECT_EQ(ListPrintQueues(service_.server()),
            (std::vector<std::string>{"cups:Raw", "cups:Second"}));

  // A parallel port that is not there: the error lists what can be printed to instead.
  std::string port;
  for (const char* name : {"LPT9", "LPT8", "LPT7"}) {
    if (access(("/dev/lp" + std::to_string(name[3] - '1')).c_str(), F_OK) != 0 &&
        access(("/dev/usb/lp" + std::to_string(name[3] - '1')).c_str(), F_OK) != 0) {
      port = name;
      break;
    }
  }
  ASSERT_FALSE(port.empty()) << "every port tried exists here";
  const WriteResult r = SendJob(port, "x", options_);
  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_TRUE(r.lookedForPrinters);
  EXPECT_EQ(r.queues, (std::vector<std::string>{"cups:Raw", "cups:Second"}));
  EXPECT_EQ(r.devices, ListDeviceNodes());
  // An ordinary file name that cannot be opened is no missing printer.
  const WriteResult file = SendJob("/nonexistent-folder/out.prn", "x", options_);
  EXPECT_FALSE(file.lookedForPrinters);
}

TEST_F(PrintService, FoundWhereTheEnvironmentSaysLikeByAnyClient) {
  ASSERT_EQ(setenv("CUPS_SERVER", service_.server().c_str(), 1), 0);

  // A thread of its own reads the library's settings afresh, as the program's worker does.
  BackgroundJob job("cups:Raw", PrinterText());
  auto queues = std::async(std::launch::async, [] { return ListPrintQueues(); });

  ASSERT_TRUE(job.Wait(std::chrono::seconds(10)));
  const WriteResult r = job.Result();
  const std::vector<std::string> listed = queues.get();
  unsetenv("CUPS_SERVER");
  EXPECT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(listed, std::vector<std::string>{"cups:Raw"});
  ASSERT_TRUE(printer_.WaitForEnded(1, std::chrono::seconds(20)));
  EXPECT_TRUE(printer_.Received() == PrinterText());
}

TEST_F(PrintService, FailuresSayWhatWentWrong) {
  ASSERT_EQ(service_.AddQueue("Closed", printer_.uri()), "");
  ASSERT_EQ(service_.Reject("Closed"), "");
  struct Case {
    const char* title;
    std::string name;
    std::string service;
    FailureKind failure;
    bool listsQueues;
  } const cases[] = {
      {"no such queue", "cups:Nope", service_.server(), FailureKind::NotFound, true},
      {"no default queue", "cups:", service_.server(), FailureKind::NoDefaultQueue, true},
      {"queue refuses jobs", "cups:Closed", service_.server(), FailureKind::NotAccepting, false},
      {"no service on the port", "cups:Raw", "127.0.0.1:" + std::to_string(rig::FreePort()),
       FailureKind::ServiceAbsent, false},
      {"no service socket", "cups:Raw", "/nonexistent/cups.sock", FailureKind::ServiceAbsent,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    options_.printService = c.service;
    const auto start = Clock::now();

    const WriteResult r = SendJob(c.name, "x", options_);

    EXPECT_LT(Ms(Clock::now() - start), 2000);
    EXPECT_EQ(r.status, Status::OpenFailed);
    EXPECT_EQ(r.failure, c.failure) << r.message;
    EXPECT_EQ(r.kind, DestinationKind::Queue);
    if (c.listsQueues) {
      EXPECT_TRUE(r.lookedForPrinters);
      EXPECT_EQ(r.queues, (std::vector<std::string>{"cups:Closed", "cups:Raw"}));
    }
  }
  // No service: no queues, and no wait for them either.
  const auto start = Clock::now();
  EXPECT_TRUE(ListPrintQueues("127.0.0.1:" + std::to_string(rig::FreePort())).empty());
  EXPECT_TRUE(ListPrintQueues("/nonexistent/cups.sock").empty());
  EXPECT_LT(Ms(Clock::now() - start), 500);
}

TEST_F(PrintService, CancelDuringTheUploadCancelsTheJob) {
  const std::string data = RandomBytes(16 << 20);
  CancelToken cancel;
  options_.title = "ПЛ 4120: отмена";
  options_.progressInterval = milliseconds(0);
  options_.onProgress = [&](const Progress& p) {
    if (p.sent >= (1 << 20)) {
      cancel.Cancel();
    }
  };

  const WriteResult r = SendJob("cups:Raw", data, options_, &cancel);

  EXPECT_TRUE(r.cancelled());
  // Confirmed at once by a quick server; a slow one gets the request all the same.
  EXPECT_TRUE(r.cancelledOnServer || r.cancelPending);
  ASSERT_TRUE(FinishLeftWork(std::chrono::seconds(5)));
  ASSERT_GT(r.jobId, 0);
  EXPECT_LT(r.sent, data.size());
  EXPECT_EQ(Job("Raw", r.jobId).state, 7) << "the job should be cancelled, not printed";
}

TEST_F(PrintService, JobAndItsCancelCarryTheUserItIsGiven) {
  options_.user = "pl4120-tester";
  options_.title = "ПЛ 4120: пользователь";

  const WriteResult printed = SendJob("cups:Raw", "x", options_);

  ASSERT_TRUE(printed.ok()) << printed.message;
  EXPECT_EQ(Job("Raw", printed.jobId, "pl4120-tester").user, "pl4120-tester");

  // The cancel goes to the server as the same user.
  const std::string data = RandomBytes(16 << 20);
  CancelToken cancel;
  options_.progressInterval = milliseconds(0);
  options_.onProgress = [&](const Progress& p) {
    if (p.sent >= (1 << 20)) {
      cancel.Cancel();
    }
  };
  const WriteResult cancelled = SendJob("cups:Raw", data, options_, &cancel);
  ASSERT_TRUE(FinishLeftWork(std::chrono::seconds(5)));
  ASSERT_GT(cancelled.jobId, 0);
  const JobRecord job = Job("Raw", cancelled.jobId, "pl4120-tester");
  EXPECT_EQ(job.user, "pl4120-tester");
  EXPECT_EQ(job.state, 7) << "the job should be cancelled, not printed";
}

TEST(PrinterDevices, ListedInNumberOrderUsbFirst) {
  rig::TempDir dev("pl4120-dev");
  ASSERT_EQ(mkdir((dev / "usb").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dev / "lp3").c_str(), 0755), 0);  // a folder is no device
  for (const char* name : {"lp10", "lp2", "lp0", "lpx", "lp", "tty0", "usb/lp1", "usb/lp0x"}) {
    close(open((dev / name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
  }

  const std::vector<std::string> nodes = ListDeviceNodes(dev.path());

  EXPECT_EQ(nodes,
            (std::vector<std::string>{dev / "usb/lp1", dev / "lp0", dev / "lp2", dev / "lp10"}));
  EXPECT_TRUE(ListDeviceNodes(dev / "missing").empty());
}

}  // namespace
}  // namespace pl4120

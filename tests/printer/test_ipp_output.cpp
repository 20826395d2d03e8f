#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "printer/Destination.h"
#include "printer/InitSequence.h"
#include "tests/printer/JobTestSupport.h"
#include "tests/support/PrintRig.h"

namespace pl4120 {
namespace {

using namespace pl4120::testing;
using Status = WriteResult::Status;

// Each test has a printer of its own that keeps every job's bytes.
class IppPrinter : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string problem = printer_.Start();
    if (!problem.empty()) {
      GTEST_SKIP() << "no IPP printer to test with: " << problem;
    }
  }

  // The printer now and then answers "busy" between jobs; the job asks again, which this
  // checks as well as the bytes.
  WriteResult Send(const std::string& data, const std::string& title,
                   JobOptions options = {}) const {
    options.title = title;
    return SendJob(printer_.uri(), data, options);
  }

  JobRecord Job(int id) const {
    return AskAboutJob("localhost", printer_.port(), printer_.uri(), id);
  }

  rig::IppEvePrinter printer_;
};

struct JobCase {
  const char* title;
  std::string data;
};

TEST_F(IppPrinter, KeepsEveryByteOfEachJobWithItsTitleAndUser) {
  const JobCase cases[] = {
      {"ПЛ 4120: инициализация", BuildInitSequence(PrinterSettings{})},
      {"ПЛ 4120: письмо.txt", PrinterText()},
      {"ПЛ 4120: большой.txt", RandomBytes(10 << 20)},
  };
  for (const JobCase& c : cases) {
    SCOPED_TRACE(c.title);

    const WriteResult r = Send(c.data, c.title);

    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.kind, DestinationKind::Ipp);
    EXPECT_EQ(r.sent, c.data.size());
    ASSERT_GT(r.jobId, 0);
    std::string kept;
    ASSERT_TRUE(printer_.JobBytes(r.jobId, &kept));
    EXPECT_EQ(kept.size(), c.data.size());
    EXPECT_TRUE(kept == c.data);
    const JobRecord job = Job(r.jobId);
    EXPECT_EQ(job.name, c.title);
    EXPECT_EQ(job.user, ThisUser());
  }
}

TEST_F(IppPrinter, JobCarriesTheUserItIsGivenAndTheThreadKeepsItsOwn) {
  JobOptions named;
  named.user = "pl4120-tester";

  const WriteResult first = Send("a", "ПЛ 4120: пользователь", named);
  const WriteResult second = Send("b", "ПЛ 4120: без пользователя");

  ASSERT_TRUE(first.ok()) << first.message;
  ASSERT_TRUE(second.ok()) << second.message;
  EXPECT_EQ(Job(first.jobId).user, "pl4120-tester");
  // The next job on the same thread without a user of its own is the thread's user's again.
  EXPECT_EQ(Job(second.jobId).user, ThisUser());
}

TEST_F(IppPrinter, CancelMidwayLeavesAShorterCancelledJob) {
  const std::string data = RandomBytes(32 << 20);
  CancelToken cancel;
  JobOptions options;
  options.title = "ПЛ 4120: отмена";
  options.progressInterval = milliseconds(0);
  options.onProgress = [&](const Progress& p) {
    if (p.sent >= (1 << 20)) {
      cancel.Cancel();
    }
  };

  const WriteResult r = SendJob(printer_.uri(), data, options, &cancel);

  EXPECT_TRUE(r.cancelled());
  // Confirmed at once by a quick server; a slow one gets the request all the same.
  EXPECT_TRUE(r.cancelledOnServer || r.cancelPending);
  ASSERT_TRUE(FinishLeftWork(std::chrono::seconds(5)));
  ASSERT_GT(r.jobId, 0);
  EXPECT_GE(r.sent, 1u << 20);
  EXPECT_LT(r.sent, data.size());
  std::string kept;
  ASSERT_TRUE(printer_.JobBytes(r.jobId, &kept));
  EXPECT_LT(kept.size(), data.size());
  EXPECT_TRUE(data.starts_with(kept)) << "the printer got something else than the start";
  EXPECT_EQ(Job(r.jobId).state, 7) << "the job should be cancelled, not printed";
}

struct FailureCase {
  const char* title;
  std::string uri;
  Status status;
  FailureKind failure;
};

TEST_F(IppPrinter, FailuresSayWhatWentWrong) {
  const std::string port = std::to_string(printer_.port());
  const std::string closed = std::to_string(rig::FreePort());
  const FailureCase cases[] = {
      {"closed port", "ipp://localhost:" + closed + "/ipp/print", Status::OpenFailed,
       FailureKind::ConnectionRefused},
      {"wrong path", "ipp://localhost:" + port + "/ipp/nothing", Status::OpenFailed,
       FailureKind::NotFound},
      {"no host", "ipp:///ipp/print", Status::OpenFailed, FailureKind::BadAddress},
      {"no slashes", "ipp:printer", Status::OpenFailed, FailureKind::BadAddress},
      {"port out of range", "ipp://localhost:99999/ipp/print", Status::OpenFailed,
       FailureKind::BadAddress},
      {"unknown host", "ipps://pl4120-no-such-printer.invalid/ipp/print", Status::OpenFailed,
       FailureKind::HostNotFound},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.title);
    const auto start = Clock::now();

    const WriteResult r = SendJob(c.uri, "x");

    EXPECT_LT(Ms(Clock::now() - start), 3000);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.failure, c.failure) << r.message;
    EXPECT_EQ(r.kind, DestinationKind::Ipp);
    EXPECT_EQ(r.sent, 0u);
  }
  EXPECT_TRUE(printer_.Jobs().empty()) << "a failed send left a job behind";
}

TEST_F(IppPrinter, HungPrinterIsReportedStalledThenTimesOut) {
  printer_.Freeze();
  JobOptions options;
  options.stallDelay = milliseconds(200);
  options.transferTimeout = milliseconds(800);
  const auto start = Clock::now();

  BackgroundJob job(printer_.uri(), PrinterText(), options);

  const auto stalled = job.log().WaitForStall(milliseconds(3000));
  ASSERT_TRUE(stalled.has_value());
  EXPECT_GE(Ms(*stalled - start), 190);
  ASSERT_TRUE(job.Wait(milliseconds(3000)));
  EXPECT_GE(Ms(job.ended() - start), 790);
  const WriteResult r = job.Result();
  EXPECT_EQ(r.failure, FailureKind::TransferTimeout);
  EXPECT_FALSE(r.ok());
  printer_.Thaw();
}

TEST_F(IppPrinter, CancelStopsWithin200msWhateverThePrinterDoes) {
  // Hung before the job: the printer never answers.
  {
    printer_.Freeze();
    BackgroundJob job(printer_.uri(), PrinterText());
    ASSERT_FALSE(job.Wait(milliseconds(300)));

    const auto cancelled = job.Cancel();

    ASSERT_TRUE(job.Wait(milliseconds(2000)));
    EXPECT_LT(Ms(job.ended() - cancelled), 200);
    EXPECT_TRUE(job.Result().cancelled());
    printer_.Thaw();
  }
  // Hung in the middle of the document: the upload fills every buffer (the system may let
  // the printer's side alone take 32 MB) and waits.
  {
    const std::string data(64 << 20, 'x');
    JobOptions options;
    options.stallDelay = milliseconds(200);
    std::atomic<bool> frozen{false};
    options.onProgress = [&](const Progress& p) {
      if (p.sent > (1 << 20) && !frozen.exchange(true)) {
        printer_.Freeze();
      }
    };
    options.title = "ПЛ 4120: зависший";
    CancelToken cancel;
    std::future<WriteResult> result = std::async(
        std::launch::async, [&] { return SendJob(printer_.uri(), data, options, &cancel); });
    // The stall is the sign that the upload waits on the hung printer.
    ASSERT_NE(result.wait_for(milliseconds(1500)), std::future_status::ready);
    ASSERT_TRUE(frozen);

    const auto cancelled = Clock::now();
    cancel.Cancel();

    ASSERT_EQ(result.wait_for(milliseconds(2000)), std::future_status::ready);
    EXPECT_LT(Ms(Clock::now() - cancelled), 200);
    const WriteResult r = result.get();
    EXPECT_TRUE(r.cancelled()) << int(r.status) << " " << int(r.failure) << " " << r.message;
    EXPECT_LT(r.sent, data.size());
    printer_.Thaw();
  }
}

}  // namespace
}  // namespace pl4120

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
using rig::SinkBehaviour;
using rig::TcpSink;
using Status = WriteResult::Status;

struct DeliveryCase {
  const char* title;
  std::string data;
  std::string suffix;  // after socket://127.0.0.1:PORT
};

TEST(SocketOutput, PrinterGetsEveryByteAndTheJobWaitsForItsClose) {
  const DeliveryCase cases[] = {
      {"initialisation", BuildInitSequence(PrinterSettings{}), ""},
      {"text with control bytes and 80..FF", PrinterText(), "/"},
      {"3 MB in many pieces", RandomBytes(3 << 20), ""},
      {"nothing", "", ""},
  };
  for (const DeliveryCase& c : cases) {
    SCOPED_TRACE(c.title);
    TcpSink printer;
    ASSERT_NE(printer.port(), 0);

    const WriteResult r = SendJob(printer.uri() + c.suffix, c.data);

    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.kind, DestinationKind::Socket);
    EXPECT_EQ(r.sent, c.data.size());
    // The job ends only after the printer has closed: it has read everything by then.
    ASSERT_TRUE(printer.WaitForEnded(1, milliseconds(0)));
    EXPECT_TRUE(printer.Received(0) == c.data) << printer.Received(0).size() << " bytes arrived";
  }
}

TEST(SocketOutput, NothingListeningIsRefusedWithinASecond) {
  const int port = rig::FreePort();
  const auto start = Clock::now();

  const WriteResult r = SendJob("socket://127.0.0.1:" + std::to_string(port), "x");

  EXPECT_LT(Ms(Clock::now() - start), 1000);
  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_EQ(r.failure, FailureKind::ConnectionRefused);
  EXPECT_EQ(r.error, ECONNREFUSED);
  EXPECT_EQ(r.host, "127.0.0.1");
  EXPECT_EQ(r.path, "127.0.0.1:" + std::to_string(port));
  EXPECT_EQ(r.sent, 0u);
}

TEST(SocketOutput, PrinterClosingMidwayIsAnErrorWithTheBytesSent) {
  TcpSink printer(SinkBehaviour{.closeAfter = 64 * 1024, .receiveBuffer = 16384});
  const std::string data = RandomBytes(8 << 20);

  const WriteResult r = SendJob(printer.uri(), data);

  EXPECT_EQ(r.status, Status::WriteFailed);
  EXPECT_EQ(r.failure, FailureKind::System);
  EXPECT_TRUE(r.error == ECONNRESET || r.error == EPIPE) << r.error << " " << r.message;
  EXPECT_GE(r.sent, 64u * 1024);
  EXPECT_LT(r.sent, data.size());
}

TEST(SocketOutput, UnknownHostIsNamed) {
  const WriteResult r = SendJob("socket://pl4120-no-such-printer.invalid", "x");

  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_EQ(r.failure, FailureKind::HostNotFound);
  EXPECT_EQ(r.host, "pl4120-no-such-printer.invalid");
  EXPECT_FALSE(r.message.empty());
}

TEST(SocketOutput, ConnectTimeOutEndsTheJob) {
  rig::HangingListener silent;
  JobOptions options;
  options.connectTimeout = milliseconds(300);
  const auto start = Clock::now();

  const WriteResult r =
      SendJob("socket://127.0.0.1:" + std::to_string(silent.port()), "x", options);

  const long long took = Ms(Clock::now() - start);
  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_EQ(r.failure, FailureKind::ConnectTimeout);
  EXPECT_GE(took, 290);
  EXPECT_LT(took, 1000);
}

TEST(SocketOutput, CancelWhileConnectingStopsWithin200ms) {
  rig::HangingListener silent;
  BackgroundJob job("socket://127.0.0.1:" + std::to_string(silent.port()), "x");
  ASSERT_FALSE(job.Wait(milliseconds(150)));  // still connecting

  const auto cancelled = job.Cancel();

  ASSERT_TRUE(job.Wait(milliseconds(1000)));
  EXPECT_LT(Ms(job.ended() - cancelled), 200);
  const WriteResult r = job.Result();
  EXPECT_TRUE(r.cancelled());
  EXPECT_EQ(r.sent, 0u);
}

TEST(SocketOutput, SlowPrinterShowsProgressAndNoStall) {
  TcpSink printer(SinkBehaviour{.bytesPerSecond = 400 * 1024, .receiveBuffer = 4096});
  const std::string data = RandomBytes(300 * 1024);
  JobOptions options;
  options.stallDelay = milliseconds(400);
  options.progressInterval = milliseconds(50);

  BackgroundJob job(printer.uri(), data, options);

  ASSERT_TRUE(job.Wait(milliseconds(5000)));
  const WriteResult r = job.Result();
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_TRUE(printer.Received(0) == data);
  const std::vector<Progress> reports = job.log().reports();
  ASSERT_GE(reports.size(), 5u);
  EXPECT_EQ(reports.front().sent, 0u);
  EXPECT_EQ(reports.back().sent, data.size());
  int between = 0;
  for (std::size_t i = 1; i < reports.size(); ++i) {
    EXPECT_GE(reports[i].sent, reports[i - 1].sent);
    EXPECT_EQ(reports[i].total, data.size());
    EXPECT_FALSE(reports[i].stalled);
    between += reports[i].sent > 0 && reports[i].sent < data.size();
  }
  EXPECT_GE(between, 3) << "the progress should move in steps, not jump to the end";
}

TEST(SocketOutput, StalledPrinterIsReportedAndCancelStopsWithin200ms) {
  TcpSink printer(SinkBehaviour{.stopReadingAfter = 100 * 1024, .receiveBuffer = 4096});
  const std::string data = RandomBytes(16 << 20);
  JobOptions options;
  options.stallDelay = milliseconds(300);

  BackgroundJob job(printer.uri(), data, options);
  ASSERT_TRUE(printer.WaitForBytes(100 * 1024, milliseconds(5000)));
  const auto stoppedReading = Clock::now();
  const auto stalled = job.log().WaitForStall(milliseconds(5000));
  ASSERT_TRUE(stalled.has_value());
  EXPECT_GE(Ms(*stalled - stoppedReading), 250);
  EXPECT_FALSE(job.Wait(milliseconds(0))) << "a stall alone must not end the job";

  const auto cancelled = job.Cancel();

  ASSERT_TRUE(job.Wait(milliseconds(1000)));
  EXPECT_LT(Ms(job.ended() - cancelled), 200);
  const WriteResult r = job.Result();
  EXPECT_TRUE(r.cancelled());
  EXPECT_GE(r.sent, 100u * 1024);
  EXPECT_LT(r.sent, data.size());
  // What the printer read is what the job says was sent, at most: the rest was dropped.
  EXPECT_LE(printer.total(), r.sent);
}

}  // namespace
}  // namespace pl4120

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "printer/Destination.h"
#include "printer/DeviceChannel.h"
#include "tests/printer/JobTestSupport.h"
#include "tests/support/PrintRig.h"

namespace pl4120 {
namespace {

namespace fs = std::filesystem;
using Status = WriteResult::Status;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void PutFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

using testing::AllBytes;

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

[[noreturn]] void Watchdog(int) {
  constexpr char kMessage[] = "\nwatchdog: the test hung in a send\n";
  (void)!write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  _exit(3);
}

// Each test runs in a fresh temporary folder, under a watchdog: a send that blocks instead of
// failing ends the program with a message instead of hanging the test run.
class DeviceChannel : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pl4120-channel-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    signal(SIGALRM, Watchdog);
    alarm(20);
  }
  void TearDown() override {
    alarm(0);
    signal(SIGALRM, SIG_DFL);
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir_, ignored);
  }
  std::string In(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

struct FileCase {
  const char* title;
  std::optional<std::string> before;  // content before the send; none: no such file
  std::string data;
};

TEST_F(DeviceChannel, OrdinaryFileHoldsExactlyTheSentBytes) {
  const FileCase cases[] = {
      {"new file", std::nullopt, "ab"},
      {"longer content replaced", std::string(5000, 'x'), "ab"},
      {"empty data on existing file", "old content", ""},
      {"empty data creates an empty file", std::nullopt, ""},
      {"every byte value", "x", AllBytes(256 * 3)},
      {"more than a pipe holds", std::nullopt, AllBytes(1 << 20)},
  };
  int n = 0;
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.title);
    const std::string path = In("out" + std::to_string(n++) + ".prn");
    if (c.before) {
      PutFile(path, *c.before);
    }
    const WriteResult r = WriteToDevice(path, c.data);
    EXPECT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.status, Status::Written);
    EXPECT_EQ(r.error, 0);
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(r.path, path);
    ASSERT_TRUE(Exists(path));
    EXPECT_EQ(ReadFile(path), c.data);
  }
}

TEST_F(DeviceChannel, SecondSendReplacesFirst) {
  const std::string path = In("twice.prn");
  ASSERT_TRUE(WriteToDevice(path, "first, the longer one").ok());
  ASSERT_TRUE(WriteToDevice(path, "2nd").ok());
  EXPECT_EQ(ReadFile(path), "2nd");
}

TEST_F(DeviceChannel, NewFileGetsUsualPermissions) {
  const mode_t saved = umask(027);
  const WriteResult r = WriteToDevice(In("mode.prn"), "m");
  umask(saved);
  ASSERT_TRUE(r.ok()) << r.message;
  struct stat st {};
  ASSERT_EQ(stat(In("mode.prn").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

struct OpenFailCase {
  const char* title;
  std::string name;
  int error;
};

TEST_F(DeviceChannel, NamesThatCannotBeOpenedFail) {
  fs::create_directory(dir_ / "folder");
  const OpenFailCase cases[] = {
      {"empty name", "", ENOENT},
      {"missing folder", In("no/such/folder/out.prn"), ENOENT},
      {"a folder", In("folder"), EISDIR},
      {"NUL byte inside", In("cut") + std::string(1, '\0') + "rest", EINVAL},
  };
  for (const OpenFailCase& c : cases) {
    SCOPED_TRACE(c.title);
    const WriteResult r = WriteToDevice(c.name, "data");
    EXPECT_EQ(r.status, Status::OpenFailed);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error, c.error);
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(r.path, c.name);
  }
  // Nothing was created by the failed sends: not the cut-off name, not the missing folder.
  EXPECT_FALSE(Exists(In("cut")));
  EXPECT_FALSE(Exists(In("no")));
  // A name is used unchanged, blanks included.
  const WriteResult blank = WriteToDevice(In("folder") + "/ ", "b");
  ASSERT_TRUE(blank.ok()) << blank.message;
  EXPECT_EQ(ReadFile(dir_ / "folder" / " "), "b");
}

TEST_F(DeviceChannel, FolderWithoutRightsFails) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "root is not stopped by permissions";
  }
  fs::create_directory(dir_ / "locked");
  fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  const WriteResult r = WriteToDevice(In("locked/out.prn"), "x");
  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_EQ(r.error, EACCES);
}

TEST_F(DeviceChannel, HeldLockFailsAndLeavesTheFileAlone) {
  const std::string path = In("busy.prn");
  PutFile(path, "the other writer's output");
  const int holder = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);

  const WriteResult r = WriteToDevice(path, "mine");
  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_EQ(r.error, EWOULDBLOCK);
  EXPECT_FALSE(r.message.empty());
  EXPECT_EQ(ReadFile(path), "the other writer's output");

  close(holder);
  ASSERT_TRUE(WriteToDevice(path, "mine").ok());
  EXPECT_EQ(ReadFile(path), "mine");
}

TEST_F(DeviceChannel, FifoWithoutReaderFailsAtOnce) {
  const std::string path = In("pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  const WriteResult r = WriteToDevice(path, "nobody listens");
  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_EQ(r.error, ENXIO);
  EXPECT_EQ(r.path, path);
}

TEST_F(DeviceChannel, FifoWithReaderReceivesEveryByte) {
  const std::string path = In("pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  const std::string data = AllBytes(300 * 1024);  // several times what a pipe buffers
  rig::FifoSink reader(path);
  ASSERT_TRUE(reader.opened());
  const WriteResult r = WriteToDevice(path, data);
  EXPECT_TRUE(r.ok()) << r.message;
  ASSERT_TRUE(reader.WaitForEnded(1, std::chrono::seconds(10)));
  const std::string received = reader.Received();
  EXPECT_EQ(received.size(), data.size());
  EXPECT_TRUE(received == data);
}

TEST_F(DeviceChannel, ReaderLeavingMidwayIsAWriteFailureNotACrash) {
  const std::string path = In("pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  rig::FifoSink reader(path, rig::SinkBehaviour{.closeAfter = 1});
  ASSERT_TRUE(reader.opened());
  const WriteResult r = WriteToDevice(path, AllBytes(4 << 20));
  ASSERT_TRUE(reader.WaitForEnded(1, std::chrono::seconds(10)));
  EXPECT_EQ(r.status, Status::WriteFailed);
  EXPECT_EQ(r.error, EPIPE);
  // The SIGPIPE of the failed write was taken back, not left pending for the next unblock.
  sigset_t pending;
  sigemptyset(&pending);
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

TEST_F(DeviceChannel, NulSwallowsEverything) {
  for (const char* name : {"NUL", "nul", "Nul:", "NUL:"}) {
    SCOPED_TRACE(name);
    const WriteResult r = WriteToDevice(name, "discarded");
    EXPECT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.path, "/dev/null");
  }
}

TEST_F(DeviceChannel, FullDeviceIsAWriteFailure) {
  if (!Exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full here";
  }
  const WriteResult r = WriteToDevice("/dev/full", "no room");
  EXPECT_EQ(r.status, Status::WriteFailed);
  EXPECT_EQ(r.error, ENOSPC);
  EXPECT_FALSE(r.message.empty());
  EXPECT_EQ(r.path, "/dev/full");
  // Nothing to hand over: opened and closed, nothing failed.
  EXPECT_TRUE(WriteToDevice("/dev/full", "").ok());
}

TEST_F(DeviceChannel, MissingDevicesFailAndAreNeverCreated) {
  std::vector<std::string> names;
  for (int n = 1; n <= 9; ++n) {
    names.push_back("COM" + std::to_string(n));
    names.push_back("lpt" + std::to_string(n) + ":");
  }
  names.push_back("PRN");
  int tried = 0;
  for (const std::string& name : names) {
    const std::string path = ResolveDeviceName(name).path;
    if (Exists(path)) {
      continue;  // a real port: not something to send test bytes to
    }
    SCOPED_TRACE(name);
    const WriteResult r = WriteToDevice(name, "x");
    EXPECT_EQ(r.status, Status::OpenFailed);
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_EQ(r.path, path);
    EXPECT_FALSE(Exists(path));
    ++tried;
  }
  EXPECT_GT(tried, 0) << "every port exists here; nothing was tried";

  // A path typed straight into /dev is not created either, even by root.
  const std::string typed = "/dev/pl4120-no-such-device";
  ASSERT_FALSE(Exists(typed));
  const WriteResult r = WriteToDevice(typed, "x");
  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_EQ(r.error, ENOENT);
  EXPECT_FALSE(Exists(typed));
}

TEST_F(DeviceChannel, DanglingLinkIsNotFollowedToCreateItsTarget) {
  const std::string target = In("elsewhere.prn");
  const std::string link = In("link.prn");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  const WriteResult r = WriteToDevice(link, "x");
  EXPECT_EQ(r.status, Status::OpenFailed);
  EXPECT_FALSE(Exists(target));
  // A link to an existing file is written through as usual.
  PutFile(target, "old");
  ASSERT_TRUE(WriteToDevice(link, "new").ok());
  EXPECT_EQ(ReadFile(target), "new");
}

// The same sends as a worker runs them: in the background, with progress and a cancel.

TEST_F(DeviceChannel, ProgressFollowsASlowReader) {
  const std::string path = In("slow");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  rig::FifoSink reader(path, rig::SinkBehaviour{.bytesPerSecond = 400 * 1024});
  ASSERT_TRUE(reader.opened());
  const std::string data = AllBytes(200 * 1024);  // three times what the pipe holds
  JobOptions options;
  options.progressInterval = std::chrono::milliseconds(30);
  options.stallDelay = std::chrono::milliseconds(400);

  testing::BackgroundJob job(path, data, options);

  ASSERT_TRUE(job.Wait(std::chrono::seconds(5)));
  const WriteResult r = job.Result();
  ASSERT_TRUE(r.ok()) << r.message;
  const std::vector<Progress> reports = job.log().reports();
  ASSERT_GE(reports.size(), 3u);
  int between = 0;
  for (std::size_t i = 1; i < reports.size(); ++i) {
    EXPECT_GE(reports[i].sent, reports[i - 1].sent);
    EXPECT_FALSE(reports[i].stalled);
    // What still sits in the pipe is not counted as taken by the printer.
    between += reports[i].sent > 0 && reports[i].sent + 64 * 1024 < data.size();
  }
  EXPECT_GE(between, 2);
  EXPECT_EQ(reports.back().sent, data.size());
  ASSERT_TRUE(reader.WaitForEnded(1, std::chrono::seconds(5)));
  EXPECT_TRUE(reader.Received() == data);
}

TEST_F(DeviceChannel, StalledReaderIsReportedAndCancelStopsWithin200ms) {
  const std::string path = In("stalled");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  rig::FifoSink reader(path, rig::SinkBehaviour{.stopReadingAfter = 10 * 1024});
  ASSERT_TRUE(reader.opened());
  const std::string data = AllBytes(1 << 20);
  JobOptions options;
  options.stallDelay = std::chrono::milliseconds(300);

  testing::BackgroundJob job(path, data, options);
  ASSERT_TRUE(reader.WaitForBytes(10 * 1024, std::chrono::seconds(5)));
  const auto stoppedReading = testing::Clock::now();
  const auto stalled = job.log().WaitForStall(std::chrono::seconds(5));
  ASSERT_TRUE(stalled.has_value());
  EXPECT_GE(testing::Ms(*stalled - stoppedReading), 250);
  EXPECT_FALSE(job.Wait(std::chrono::milliseconds(0))) << "a stall alone must not end the job";

  const auto cancelled = job.Cancel();

  ASSERT_TRUE(job.Wait(std::chrono::seconds(1)));
  EXPECT_LT(testing::Ms(job.ended() - cancelled), 200);
  const WriteResult r = job.Result();
  EXPECT_EQ(r.status, Status::Cancelled);
  EXPECT_GT(r.sent, 10u * 1024);
  EXPECT_LT(r.sent, data.size());
  // The bytes reported sent are the ones the reader gets: what the pipe held still arrives.
  reader.Resume();
  ASSERT_TRUE(reader.WaitForEnded(1, std::chrono::seconds(5)));
  EXPECT_EQ(reader.total(), r.sent);
  EXPECT_TRUE(reader.Received() == data.substr(0, r.sent));
}

TEST_F(DeviceChannel, JobCancelledBeforeItStartsTouchesNothing) {
  const std::string path = In("kept.prn");
  PutFile(path, "the file as it was");
  CancelToken cancel;
  cancel.Cancel();

  const WriteResult r = SendJob(path, "new bytes", {}, &cancel);

  EXPECT_EQ(r.status, Status::Cancelled);
  EXPECT_EQ(r.sent, 0u);
  EXPECT_EQ(ReadFile(path), "the file as it was");
  EXPECT_FALSE(Exists(In("never.prn")) || SendJob(In("never.prn"), "x", {}, &cancel).ok());
  EXPECT_FALSE(Exists(In("never.prn")));
}

struct MapCase {
  std::string name;
  std::set<std::string> existing;  // what the injected check reports as present
  std::string path;
  bool device;
};

TEST(DeviceNames, MapOntoThisSystemsDevices) {
  const std::set<std::string> none;
  const std::set<std::string> usb0{"/dev/usb/lp0"};
  const std::set<std::string> usb2{"/dev/usb/lp2"};
  const MapCase cases[] = {
      {"PRN", none, "/dev/lp0", true},
      {"prn", usb0, "/dev/usb/lp0", true},
      {"Prn:", none, "/dev/lp0", true},
      {"LPT1", none, "/dev/lp0", true},
      {"LPT1", usb0, "/dev/usb/lp0", true},
      {"lpt3:", usb2, "/dev/usb/lp2", true},
      {"lPt3", usb0, "/dev/lp2", true},
      {"LPT9", none, "/dev/lp8", true},
      {"COM1", usb0, "/dev/ttyS0", true},
      {"com9:", none, "/dev/ttyS8", true},
      {"cOm4", none, "/dev/ttyS3", true},
      {"NUL", none, "/dev/null", true},
      {"nul:", none, "/dev/null", true},
      // Not device names: used unchanged.
      {"", none, "", false},
      {"LPT0", none, "LPT0", false},
      {"LPT10", none, "LPT10", false},
      {"COM0", none, "COM0", false},
      {"LPT", none, "LPT", false},
      {"PRN::", none, "PRN::", false},
      {" PRN", none, " PRN", false},
      {"PRN ", none, "PRN ", false},
      {"PRN.txt", none, "PRN.txt", false},
      {"NULL", none, "NULL", false},
      {":", none, ":", false},
      {"./PRN", none, "./PRN", false},
      {"/tmp/lpt1", none, "/tmp/lpt1", false},
      {"out.prn", usb0, "out.prn", false},
  };
  for (const MapCase& c : cases) {
    SCOPED_TRACE("name \"" + c.name + "\"");
    std::vector<std::string> asked;
    const DeviceTarget t = ResolveDeviceName(c.name, [&](const std::string& path) {
      asked.push_back(path);
      return c.existing.count(path) != 0;
    });
    EXPECT_EQ(t.path, c.path);
    EXPECT_EQ(t.device, c.device);
    for (const std::string& path : asked) {
      EXPECT_TRUE(path.starts_with("/dev/usb/lp")) << "asked about " << path;
    }
  }
}

}  // namespace
}  // namespace pl4120

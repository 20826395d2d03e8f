#include "tests/support/PrintRig.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

namespace pl4120::rig {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// "nobody": who the IPP printer runs as when the tests run as root.
constexpr uid_t kNobody = 65534;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int BoundPort(int fd) {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  return ntohs(address.sin_port);
}

// A listening socket on 127.0.0.1, port chosen by the system.
int Listen(int backlog, int receiveBuffer) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    return -1;
  }
  if (receiveBuffer > 0) {
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  }
  const sockaddr_in address = Loopback(0);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, backlog) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WaitForPath(const std::string& path, milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (access(path.c_str(), F_OK) != 0) {
    if (Clock::now() >= end) {
      return false;
    }
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

}  // namespace

// --- TempDir, programs, ports ---------------------------------------------------------------

TempDir::TempDir(const std::string& tag) {
  std::string pattern = (fs::temp_directory_path() / (tag + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) != nullptr) {
    path_ = pattern;
  }
}

TempDir::~TempDir() {
  if (!path_.empty()) {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
}

std::string FindProgram(const std::string& name) {
  std::string dirs = getenv("PATH") != nullptr ? getenv("PATH") : "";
  dirs += ":/usr/sbin:/sbin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string dir = dirs.substr(start, end - start);
    if (!dir.empty()) {
      const std::string path = dir + "/" + name;
      if (access(path.c_str(), X_OK) == 0) {
        return path;
      }
    }
    start = end + 1;
  }
  return {};
}

int FreePort() {
  const int fd = Listen(1, 0);
  if (fd < 0) {
    return 0;
  }
  const int port = BoundPort(fd);
  close(fd);
  return port;
}

bool WaitForPort(int port, milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  for (;;) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    const bool up = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    if (up) {
      return true;
    }
    if (Clock::now() >= end) {
      return false;
    }
    std::this_thread::sleep_for(milliseconds(10));
  }
}

namespace {

// True once `child`, still running, accepts connections on `port`; false when it ends first or
// `timeout` passes.
bool ListensWithin(Child& child, int port, milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (Clock::now() < end && child.running()) {
    if (WaitForPort(port, milliseconds(50))) {
      return true;
    }
  }
  return false;
}

}  // namespace

// --- Child processes ------------------------------------------------------------------------

bool Child::Start(const std::vector<std::string>& command, const std::vector<std::string>& env,
                  const std::string& log) {
  // A test that is killed leaves no printer or service behind: the child gets SIGKILL when
  // the thread that started it ends.
  std::vector<std::string> argv = command;
  static const std::string setpriv = FindProgram("setpriv");
  if (!setpriv.empty()) {
    if (argv.front() != setpriv) {
      argv.insert(argv.begin(), setpriv);
    }
    argv.insert(argv.begin() + 1, {"--pdeathsig", "KILL"});
  }
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    environment.emplace_back(*e);
  }
  environment.insert(environment.end(), env.begin(), env.end());
  std::vector<char*> args, envp;
  for (const std::string& a : argv) {
    args.push_back(const_cast<char*>(a.c_str()));
  }
  args.push_back(nullptr);
  for (const std::string& e : environment) {
    envp.push_back(const_cast<char*>(e.c_str()));
  }
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  const int failed = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    pid_ = -1;
    return false;
  }
  return true;
}

bool Child::running() {
  if (pid_ <= 0) {
    return false;
  }
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
}

void Child::Signal(int signal) const {
  if (pid_ > 0) {
    kill(pid_, signal);
  }
}

void Child::Stop(milliseconds grace) {
  if (pid_ <= 0) {
    return;
  }
  kill(pid_, SIGCONT);  // a frozen process cannot act on SIGTERM
  kill(pid_, SIGTERM);
  const auto end = Clock::now() + grace;
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() >= end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(milliseconds(5));
  }
  pid_ = -1;
}

int Child::Wait(milliseconds timeout) {
  if (pid_ <= 0) {
    return -1;
  }
  const auto end = Clock::now() + timeout;
  int status = 0;
  int result = -1;
  for (;;) {
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      result = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    if (done < 0 || Clock::now() >= end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(milliseconds(2));
  }
  pid_ = -1;
  return result;
}

int Run(const std::vector<std::string>& argv, std::string* output, milliseconds timeout) {
  TempDir dir("pl4120-run");
  const std::string log = dir / "output";
  Child child;
  if (!child.Start(argv, {}, log)) {
    return -1;
  }
  const int status = child.Wait(timeout);
  if (output != nullptr) {
    *output = ReadText(log);
  }
  return status;
}

// --- Readers --------------------------------------------------------------------------------

std::string Reader::Received(std::size_t i) const {
  std::lock_guard lock(mutex_);
  return i < received_.size() ? received_[i] : std::string();
}

std::size_t Reader::Connections() const {
  std::lock_guard lock(mutex_);
  return received_.size();
}

bool Reader::WaitForEnded(std::size_t count, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return ended_ >= count; });
}

bool Reader::WaitForBytes(std::size_t bytes, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return total_.load() >= bytes; });
}

void Reader::Resume() {
  resumed_ = true;
  const std::uint64_t one = 1;
  (void)!write(wake_, &one, sizeof one);
}

void Reader::StartThread(int fd, bool listening, const SinkBehaviour& behaviour) {
  behaviour_ = behaviour;
  fd_ = fd;
  listening_ = listening;
  wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  thread_ = std::thread([this] { Run(); });
}

void Reader::Stop() {
  if (thread_.joinable()) {
    stop_ = true;
    const std::uint64_t one = 1;
    (void)!write(wake_, &one, sizeof one);
    thread_.join();
  }
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
  if (wake_ >= 0) {
    close(wake_);
    wake_ = -1;
  }
}

// Waits for `events` on `fd` or for the wake-up; false when stopping.
bool Reader::WaitWake(int fd, short events, int timeoutMs) {
  pollfd fds[2] = {{wake_, POLLIN, 0}, {fd, events, 0}};
  while (poll(fds, fd >= 0 ? 2 : 1, timeoutMs) < 0 && errno == EINTR) {
  }
  if (fds[0].revents != 0) {
    std::uint64_t count = 0;
    (void)!read(wake_, &count, sizeof count);
  }
  return !stop_;
}

void Reader::Run() {
  if (!listening_) {
    ReadConnection(fd_);
    return;
  }
  while (!stop_) {
    if (!WaitWake(fd_, POLLIN, -1)) {
      return;
    }
    const int connection = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (connection >= 0) {
      ReadConnection(connection);
      close(connection);
    }
  }
}

void Reader::ReadConnection(int fd) {
  {
    std::lock_guard lock(mutex_);
    received_.emplace_back();
  }
  const std::size_t index = Connections() - 1;
  const std::size_t chunk = behaviour_.bytesPerSecond > 0
                                ? std::max<std::size_t>(behaviour_.bytesPerSecond / 50, 1)
                                : 64 * 1024;
  std::string buffer(chunk, '\0');
  std::size_t got = 0;
  while (!stop_) {
    if (got >= behaviour_.closeAfter) {
      break;
    }
    if (got >= behaviour_.stopReadingAfter && !resumed_) {
      if (!WaitWake(-1, 0, -1)) {
        break;
      }
      continue;
    }
    // Wait first: a FIFO that no writer has opened yet reads as ended.
    if (!WaitWake(fd, POLLIN, -1)) {
      break;
    }
    if (got >= behaviour_.stopReadingAfter && !resumed_) {
      continue;
    }
    std::size_t want = std::min(chunk, behaviour_.closeAfter - got);
    if (!resumed_) {
      want = std::min(want, behaviour_.stopReadingAfter - got);
    }
    const ssize_t n = read(fd, buffer.data(), want);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
      {
        std::lock_guard lock(mutex_);
        received_[index].append(buffer.data(), static_cast<std::size_t>(n));
        total_ += static_cast<std::size_t>(n);
      }
      changed_.notify_all();
      if (behaviour_.bytesPerSecond > 0) {
        WaitWake(-1, 0, 20);  // chunk / 20 ms: the pace asked for
      }
      continue;
    }
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      break;
    }
  }
  if (!listening_) {
    close(fd);
    fd_ = -1;
  }
  {
    std::lock_guard lock(mutex_);
    ++ended_;
  }
  changed_.notify_all();
}

TcpSink::TcpSink(const SinkBehaviour& behaviour) {
  const int fd = Listen(16, behaviour.receiveBuffer);
  if (fd >= 0) {
    port_ = BoundPort(fd);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    StartThread(fd, true, behaviour);
  }
}

FifoSink::FifoSink(const std::string& path, const SinkBehaviour& behaviour) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  opened_ = fd >= 0;
  if (opened_) {
    StartThread(fd, false, behaviour);
  }
}

HangingListener::HangingListener() {
  listener_ = Listen(0, 0);
  if (listener_ < 0) {
    return;
  }
  port_ = BoundPort(listener_);
  // A backlog of 0 holds one connection; those that come after it wait for a place.
  const sockaddr_in address = Loopback(port_);
  for (int i = 0; i < 2; ++i) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    fillers_.push_back(fd);
  }
  std::this_thread::sleep_for(milliseconds(20));
}

HangingListener::~HangingListener() {
  for (const int fd : fillers_) {
    close(fd);
  }
  if (listener_ >= 0) {
    close(listener_);
  }
}

// --- ippeveprinter --------------------------------------------------------------------------

std::string IppEvePrinter::Start() {
  const std::string eve = FindProgram("ippeveprinter");
  const std::string dbus = FindProgram("dbus-daemon");
  if (eve.empty()) {
    return "ippeveprinter is not installed (package cups-ipp-utils)";
  }
  if (dbus.empty()) {
    return "dbus-daemon is not installed (package dbus-daemon)";
  }
  if (!dir_.valid()) {
    return "no temporary folder";
  }
  std::vector<std::string> asUser;
  const std::string spool = dir_ / "spool";
  mkdir(spool.c_str(), 0755);
  if (geteuid() == 0) {
    const std::string setpriv = FindProgram("setpriv");
    if (setpriv.empty()) {
      return "setpriv is not installed (package util-linux)";
    }
    asUser = {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"};
    if (chown(dir_.path().c_str(), kNobody, kNobody) != 0 ||
        chown(spool.c_str(), kNobody, kNobody) != 0) {
      return "cannot hand the printer's folder to nobody";
    }
  }
  const std::string bus = dir_ / "bus.sock";
  std::vector<std::string> dbusArgs = asUser;
  for (const std::string& a : {dbus, std::string("--session"), "--address=unix:path=" + bus,
                               std::string("--nofork"), std::string("--nopidfile")}) {
    dbusArgs.push_back(a);
  }
  if (!dbus_.Start(dbusArgs, {}, dir_ / "dbus.log") || !WaitForPath(bus, milliseconds(5000))) {
    return "the private D-Bus did not start: " + ReadText(dir_ / "dbus.log");
  }
  // The port is free when asked but may be taken before the printer binds it: try again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    port_ = FreePort();
    std::vector<std::string> args = asUser;
    for (const std::string& a :
         {eve, std::string("-d"), spool, std::string("-k"), std::string("-f"),
          std::string("application/vnd.cups-raw,application/octet-stream"), std::string("-c"),
          std::string("/bin/true"), std::string("-D"), std::string("file:///dev/null"),
          std::string("-p"), std::to_string(port_), std::string("-n"), std::string("localhost"),
          std::string("-r"), std::string("off"), std::string("RawTest")}) {
      args.push_back(a);
    }
    if (!printer_.Start(args, {"HOME=" + dir_.path(), "DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + bus},
                        dir_ / "printer.log")) {
      return "ippeveprinter did not start";
    }
    if (ListensWithin(printer_, port_, milliseconds(5000))) {
      return {};
    }
    printer_.Stop();
  }
  return "ippeveprinter did not come up: " + ReadText(dir_ / "printer.log");
}

void IppEvePrinter::Stop() {
  printer_.Stop(milliseconds(50));
  dbus_.Stop(milliseconds(50));
}

std::vector<int> IppEvePrinter::Jobs() const {
  std::vector<int> jobs;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir((dir_ / "spool").c_str()), &closedir);
  while (dir) {
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) {
      break;
    }
    const std::string name = entry->d_name;
    if (name.ends_with(".dat") && name.find('-') != std::string::npos) {
      jobs.push_back(std::atoi(name.c_str()));
    }
  }
  std::sort(jobs.begin(), jobs.end());
  return jobs;
}

void IppEvePrinter::ClearSpool() const {
  for (const int id : Jobs()) {
    const std::string path = JobPath(id);
    if (!path.empty()) {
      unlink(path.c_str());
    }
  }
}

std::string IppEvePrinter::JobPath(int id) const {
  const std::string prefix = std::to_string(id) + "-";
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir((dir_ / "spool").c_str()), &closedir);
  while (dir) {
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) {
      break;
    }
    const std::string name = entry->d_name;
    if (name.starts_with(prefix) && name.ends_with(".dat")) {
      return dir_ / "spool" + "/" + name;
    }
  }
  return {};
}

bool IppEvePrinter::JobBytes(int id, std::string* bytes) const {
  const std::string path = JobPath(id);
  if (path.empty()) {
    return false;
  }
  *bytes = ReadText(path);
  return true;
}

void IppEvePrinter::Freeze() const {
  printer_.Signal(SIGSTOP);
}

void IppEvePrinter::Thaw() const {
  printer_.Signal(SIGCONT);
}

// --- cupsd ----------------------------------------------------------------------------------

std::string PrivateCupsd::Start() {
  if (geteuid() != 0) {
    return "a private print service needs root";
  }
  const std::string cupsd = FindProgram("cupsd");
  if (cupsd.empty() || FindProgram("lpadmin").empty()) {
    return "cupsd or lpadmin is not installed (packages cups-daemon, cups-client)";
  }
  if (access("/usr/lib/cups/backend/socket", X_OK) != 0) {
    return "the socket backend is not installed (package cups)";
  }
  if (!dir_.valid()) {
    return "no temporary folder";
  }
  // The backends run as "lp" and must reach the spool below this folder.
  chmod(dir_.path().c_str(), 0755);
  for (const char* sub : {"spool", "cache", "state", "tmp", "log"}) {
    mkdir((dir_ / sub).c_str(), 0755);
  }
  const std::string& d = dir_.path();
  WriteText(dir_ / "cups-files.conf",
            "ServerRoot " + d + "\nRequestRoot " + d + "/spool\nCacheDir " + d +
                "/cache\nStateDir " + d + "/state\nTempDir " + d + "/tmp\nAccessLog " + d +
                "/log/access_log\nErrorLog " + d + "/log/error_log\nPageLog " + d +
                "/log/page_log\nSystemGroup root\n");
  for (int attempt = 0; attempt < 3; ++attempt) {
    port_ = FreePort();
    WriteText(dir_ / "cupsd.conf", "Listen 127.0.0.1:" + std::to_string(port_) +
                                       "\nBrowsing No\nDefaultAuthType None\nWebInterface No\n"
                                       "LogLevel warn\nJobRetryInterval 1\n"
                                       "<Location />\n  Order allow,deny\n  Allow 127.0.0.1\n"
                                       "</Location>\n<Policy default>\n  <Limit All>\n"
                                       "    Order deny,allow\n  </Limit>\n</Policy>\n");
    if (!cupsd_.Start({cupsd, "-f", "-c", dir_ / "cupsd.conf", "-s", dir_ / "cups-files.conf"}, {},
                      dir_ / "cupsd.log")) {
      return "cupsd did not start";
    }
    if (ListensWithin(cupsd_, port_, milliseconds(5000))) {
      return {};
    }
    cupsd_.Stop();
  }
  return "cupsd did not come up: " + ReadText(dir_ / "cupsd.log") +
         ReadText(dir_ / "log/error_log");
}

void PrivateCupsd::Stop() {
  cupsd_.Stop(milliseconds(500));
}

std::string PrivateCupsd::AddQueue(const std::string& name, const std::string& deviceUri) {
  std::string output;
  const int status =
      Run({FindProgram("lpadmin"), "-h", server(), "-p", name, "-E", "-v", deviceUri}, &output);
  return status == 0 ? std::string() : "lpadmin failed: " + output;
}

std::string PrivateCupsd::SetDefault(const std::string& name) {
  std::string output;
  const int status = Run({FindProgram("lpadmin"), "-h", server(), "-d", name}, &output);
  return status == 0 ? std::string() : "lpadmin failed: " + output;
}

std::string PrivateCupsd::Reject(const std::string& name) {
  std::string output;
  const int status = Run({FindProgram("cupsreject"), "-h", server(), name}, &output);
  return status == 0 ? std::string() : "cupsreject failed: " + output;
}

}  // namespace pl4120::rig

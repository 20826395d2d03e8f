#pragma once

// Real print components for tests and benchmarks, started and stopped by the test itself:
// an IPP printer that keeps every job's bytes, a private print service, TCP and FIFO readers
// that take bytes fast, slowly or not at all. Standard library and POSIX only.

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pl4120::rig {

using std::chrono::milliseconds;

/// A private temporary folder, removed with everything in it.
class TempDir {
 public:
  explicit TempDir(const std::string& tag = "pl4120");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  bool valid() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

/// The full path of a program found in PATH, /usr/sbin or /sbin; empty when missing.
std::string FindProgram(const std::string& name);

/// A TCP port on 127.0.0.1 that was free a moment ago.
int FreePort();

/// Waits until something accepts connections on 127.0.0.1:`port`.
bool WaitForPort(int port, milliseconds timeout);

/// A child process with its own environment additions and a log file; ended when destroyed.
class Child {
 public:
  Child() = default;
  ~Child() { Stop(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  /// Starts command[0] (a full path) with `env` ("NAME=value") added to this process's
  /// environment, its output going to `log`. It is killed when the starting thread ends, so
  /// start it from a thread that outlives it. False when it could not be started.
  bool Start(const std::vector<std::string>& command, const std::vector<std::string>& env,
             const std::string& log);
  bool running();
  void Signal(int signal) const;
  /// SIGTERM, then SIGKILL after `grace`; waits for the end.
  void Stop(milliseconds grace = milliseconds(200));
  /// Waits for the end (SIGKILL after `timeout`); the exit status, -1 if it did not exit.
  int Wait(milliseconds timeout);
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
};

/// Runs a program to its end (killed after `timeout`); its exit status, -1 if it did not end
/// normally. Its output goes to `output` when given.
int Run(const std::vector<std::string>& argv, std::string* output = nullptr,
        milliseconds timeout = milliseconds(10000));

/// How a sink takes bytes.
struct SinkBehaviour {
  std::size_t bytesPerSecond = 0;           ///< 0: as fast as they come
  std::size_t stopReadingAfter = SIZE_MAX;  ///< then take nothing more until Resume()
  std::size_t closeAfter = SIZE_MAX;        ///< then close while the sender still sends
  int receiveBuffer = 0;                    ///< TCP: the socket's receive buffer, 0: the system's
};

/// Reads a descriptor on a thread of its own, as the behaviour says.
class Reader {
 public:
  Reader() = default;
  ~Reader() { Stop(); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  /// Bytes read so far, over every connection.
  std::size_t total() const { return total_.load(); }
  /// The bytes of connection `i` (a FIFO has one).
  std::string Received(std::size_t i = 0) const;
  std::size_t Connections() const;
  /// Waits until `count` connections have ended (the writer closed, or the sink did).
  bool WaitForEnded(std::size_t count, milliseconds timeout) const;
  /// Waits until at least `bytes` have been read.
  bool WaitForBytes(std::size_t bytes, milliseconds timeout) const;
  /// A stalled reader takes bytes again.
  void Resume();

 protected:
  void StartThread(int fd, bool listening, const SinkBehaviour& behaviour);
  void Stop();

 private:
  void Run();
  void ReadConnection(int fd);
  bool WaitWake(int fd, short events, int timeoutMs);

  SinkBehaviour behaviour_;
  int fd_ = -1;
  bool listening_ = false;
  int wake_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<bool> resumed_{false};
  std::atomic<std::size_t> total_{0};
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> received_;
  std::size_t ended_ = 0;
  std::thread thread_;
};

/// A TCP printer port on 127.0.0.1: accepts one connection after another and reads each to
/// its end, then closes it.
class TcpSink : public Reader {
 public:
  explicit TcpSink(const SinkBehaviour& behaviour = {});
  int port() const { return port_; }
  std::string uri() const { return "socket://127.0.0.1:" + std::to_string(port_); }

 private:
  int port_ = 0;
};

/// The reading end of a FIFO, opened at once (so a writer finds a reader).
class FifoSink : public Reader {
 public:
  FifoSink(const std::string& path, const SinkBehaviour& behaviour = {});
  bool opened() const { return opened_; }

 private:
  bool opened_ = false;
};

/// A TCP listener whose queue is full: a connect to it neither succeeds nor fails.
class HangingListener {
 public:
  HangingListener();
  ~HangingListener();
  HangingListener(const HangingListener&) = delete;
  HangingListener& operator=(const HangingListener&) = delete;
  int port() const { return port_; }

 private:
  int listener_ = -1;
  std::vector<int> fillers_;
  int port_ = 0;
};

/// An IPP printer (ippeveprinter) with a D-Bus of its own, taking raw jobs and keeping each
/// one's bytes in a spool folder. Runs as the user "nobody" when the test runs as root.
class IppEvePrinter {
 public:
  IppEvePrinter() = default;
  ~IppEvePrinter() { Stop(); }
  IppEvePrinter(const IppEvePrinter&) = delete;
  IppEvePrinter& operator=(const IppEvePrinter&) = delete;

  /// Starts it; empty on success, else why not (for a skip message).
  std::string Start();
  void Stop();
  int port() const { return port_; }
  std::string uri() const { return "ipp://localhost:" + std::to_string(port_) + "/ipp/print"; }
  /// The kept bytes of job `id`; false when there is no such job file.
  bool JobBytes(int id, std::string* bytes) const;
  /// The jobs whose files are in the spool, by number.
  std::vector<int> Jobs() const;
  /// Removes the kept job files.
  void ClearSpool() const;
  /// Stops and continues the printer's process: a printer that hangs.
  void Freeze() const;
  void Thaw() const;

 private:
  std::string JobPath(int id) const;

  TempDir dir_{"pl4120-ipp"};
  Child dbus_;
  Child printer_;
  int port_ = 0;
};

/// A print service (cupsd) of its own on 127.0.0.1, with its own configuration and spool.
/// Needs root.
class PrivateCupsd {
 public:
  PrivateCupsd() = default;
  ~PrivateCupsd() { Stop(); }
  PrivateCupsd(const PrivateCupsd&) = delete;
  PrivateCupsd& operator=(const PrivateCupsd&) = delete;

  /// Starts it; empty on success, else why not (for a skip message).
  std::string Start();
  void Stop();
  /// "127.0.0.1:PORT", for JobOptions::printService or CUPS_SERVER.
  std::string server() const { return "127.0.0.1:" + std::to_string(port_); }
  /// Adds an enabled raw queue that delivers to `deviceUri`; empty on success, else lpadmin's
  /// output.
  std::string AddQueue(const std::string& name, const std::string& deviceUri);
  /// Makes `name` the default queue; empty on success.
  std::string SetDefault(const std::string& name);
  /// Stops a queue from accepting jobs; empty on success.
  std::string Reject(const std::string& name);

 private:
  TempDir dir_{"pl4120-cupsd"};
  Child cupsd_;
  int port_ = 0;
};

}  // namespace pl4120::rig

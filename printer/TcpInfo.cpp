// Kept apart: the kernel's TCP header and the C library's cannot share a translation unit,
// and the print-service library pulls in the latter.

#include <linux/in.h>
#include <linux/sockios.h>
#include <linux/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cstddef>

#include "printer/OutputKinds.h"

namespace pl4120::detail {

bool TcpBytesAcked(int fd, std::uint64_t* acked) {
  tcp_info info{};
  socklen_t size = sizeof info;
  if (fd < 0 || getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &size) != 0 ||
      size < offsetof(tcp_info, tcpi_bytes_acked) + sizeof info.tcpi_bytes_acked) {
    return false;
  }
  *acked = info.tcpi_bytes_acked;
  return true;
}

std::uint64_t SocketQueued(int fd) {
  int queued = 0;
  if (fd < 0 || ioctl(fd, SIOCOUTQ, &queued) != 0 || queued < 0) {
    return 0;
  }
  return static_cast<std::uint64_t>(queued);
}

}  // namespace pl4120::detail

#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <utility>

namespace pl4120 {
namespace {

TEST(InOutErrors, MessageTable) {
  const std::pair<int, const char*> table[] = {
      {2, "File not found"},
      {3, "Invalid filename"},
      {4, "Too many open files"},
      {5, "File access denied"},
      {100, "Read beyond end of file"},
      {101, "Disk full"},
      {106, "Invalid numeric input"},
      {0, "I/O error 0"},
      {1, "I/O error 1"},
      {103, "I/O error 103"},
      {1117, "I/O error 1117"},
  };
  for (const auto& [code, message] : table) {
    const EInOutError error(code);
    EXPECT_EQ(error.ErrorCode(), code);
    EXPECT_STREQ(error.what(), message);
  }
}

TEST(InOutErrors, SystemErrorsMapOntoTheTable) {
  struct Row {
    int err;
    int code;
    std::string message;
  };
  const Row rows[] = {
      {ENOENT, 2, "File not found"},
      {ENAMETOOLONG, 3, "Invalid filename"},
      {ENOTDIR, 3, "Invalid filename"},
      {ELOOP, 3, "Invalid filename"},
      {EINVAL, 3, "Invalid filename"},
      {EILSEQ, 3, "Invalid filename"},
      {EMFILE, 4, "Too many open files"},
      {ENFILE, 4, "Too many open files"},
      {EACCES, 5, "File access denied"},
      {EPERM, 5, "File access denied"},
      {EISDIR, 5, "File access denied"},
      {ETXTBSY, 5, "File access denied"},
      {ENOSPC, 101, "Disk full"},
      {EDQUOT, 101, "Disk full"},
      // Numbers of their own, even where they equal a code of the table.
      {EIO, EIO, "I/O error " + std::to_string(EIO)},
      {EXDEV, EXDEV, "I/O error " + std::to_string(EXDEV)},
      {ENETUNREACH, ENETUNREACH, "I/O error " + std::to_string(ENETUNREACH)},
  };
  for (const Row& row : rows) {
    const EInOutError error = InOutErrorFromErrno(row.err);
    EXPECT_EQ(error.ErrorCode(), row.code) << row.err;
    EXPECT_EQ(error.what(), row.message) << row.err;
  }
}

}  // namespace
}  // namespace pl4120

#include "text/LineReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <tuple>

#include "tests/text/TextTestSupport.h"
#include "text/FileNames.h"

namespace pl4120 {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using namespace std::string_literals;

// Bytes from memory; hands out at most `chunk` bytes per read and fails with `err` once
// `failAfter` bytes have been handed out.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string bytes, std::size_t chunk = SIZE_MAX,
                        std::size_t failAfter = SIZE_MAX, int err = EIO)
      : bytes_(std::move(bytes)), chunk_(chunk), failAfter_(failAfter), err_(err) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    if (pos_ >= failAfter_) {
      throw InOutErrorFromErrno(err_);
    }
    std::size_t n = std::min({size, chunk_, bytes_.size() - pos_, failAfter_ - pos_});
    std::copy_n(bytes_.data() + pos_, n, buffer);
    pos_ += n;
    ++reads_;
    return n;
  }
  std::size_t reads() const { return reads_; }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t failAfter_;
  int err_;
  std::size_t pos_ = 0;
  std::size_t reads_ = 0;
};

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
  std::string editorText;  // the text an empty editor holds after the read
};

const std::string k128x = std::string(128, 'x');

const LineCase kLineCases[] = {
    {"EmptyFile", "", {}, ""},
    {"CrLf", "a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
    {"Lf", "a\nb\n", {"a", "b"}, "a\r\nb\r\n"},
    {"LoneCrDropped", "a\rb\r\n", {"ab"}, "ab\r\n"},
    {"CrCrLf", "a\r\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
    {"EmptyMiddleLine", "a\r\n\r\nb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
    {"NoFinalLineEnd", "a\r\nb", {"a", "b"}, "a\r\nb\r\n"},
    {"LoneCrAsWholeFile", "a\r", {"a"}, "a\r\n"},
    {"OnlyCr", "\r", {""}, "\r\n"},
    {"OnlyLf", "\n", {""}, "\r\n"},
    {"CrsOnlySeparateNothing", "a\rb\rc", {"abc"}, "abc\r\n"},
    {"CtrlZFirst",
     "\x1a"
     "abc\r\n",
     {},
     ""},
    {"CtrlZAfterLine",
     "a\r\n\x1a"
     "b\r\n",
     {"a"},
     "a\r\n"},
    {"CtrlZAfterLfOnly", "a\n\x1a", {"a"}, "a\r\n"},
    {"CtrlZInsideLine",
     "a\x1a"
     "b\r\nc",
     {"a\x1a"
      "b",
      "c"},
     "a\x1a"
     "b\r\nc\r\n"},
    {"CtrlZAtLineEnd", "ab\x1a\r\n", {"ab\x1a"}, "ab\x1a\r\n"},
    {"CtrlZAfterCrIsInsideLine",
     "\r\x1a"
     "a",
     {"\x1a"
      "a"},
     "\x1a"
     "a\r\n"},
    // 1A as the first byte of the second 128-byte block, inside a line.
    {"CtrlZAtBlockStartInsideLine",
     k128x + "\x1a"
             "y\n",
     {k128x + "\x1a"
              "y"},
     k128x + "\x1a"
             "y\r\n"},
    {"Line1000Bytes",
     std::string(1000, 'q') + "\r\nz",
     {std::string(1000, 'q'), "z"},
     std::string(1000, 'q') + "\r\nz\r\n"},
    {"Line200000Bytes",
     std::string(200000, 'w'),
     {std::string(200000, 'w')},
     std::string(200000, 'w') + "\r\n"},
    {"NulInsideLine", "ab\0cd\r\nef"s, {"ab\0cd"s, "ef"}, "ab\0cd\r\nef\r\n"s},
    {"NulStartsLine", "\0x\n"s, {"\0x"s}, "\0x\r\n"s},
    {"OtherBytesKept", "\t\f\x80\xff\n", {"\t\f\x80\xff"}, "\t\f\x80\xff\r\n"},
    {"CrLfSplitOverBlocks",
     k128x.substr(1) + "\r\n" + "b",
     {k128x.substr(1), "b"},
     k128x.substr(1) + "\r\nb\r\n"},
};

class LineRules : public ::testing::TestWithParam<std::tuple<LineCase, std::size_t>> {};

TEST_P(LineRules, LinesAndEditorTextDoNotDependOnBlockSize) {
  const auto& [c, block] = GetParam();
  MemorySource source(c.bytes);
  const std::vector<std::string> lines = ReadAllLines(source, block);
  EXPECT_THAT(lines, ElementsAreArray(c.lines));
  EXPECT_EQ(BuildAppendPiece(lines, false), c.editorText);
}

TEST_P(LineRules, ShortReadsOfTheSourceChangeNothing) {
  const auto& [c, block] = GetParam();
  MemorySource source(c.bytes, /*chunk=*/3);
  EXPECT_THAT(ReadAllLines(source, block), ElementsAreArray(c.lines));
}

INSTANTIATE_TEST_SUITE_P(Cases, LineRules,
                         ::testing::Combine(::testing::ValuesIn(kLineCases),
                                            ::testing::Values(std::size_t{1}, std::size_t{2},
                                                              std::size_t{128},
                                                              std::size_t{65536})),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_block" +
                                  std::to_string(std::get<1>(info.param));
                         });

TEST(LineReader, CtrlZAtLineStartStopsReadingTheSource) {
  std::string bytes = "a\n\x1a" + std::string(10000, 'b');
  MemorySource source(bytes);
  EXPECT_THAT(ReadAllLines(source, 1), ElementsAre("a"));
  EXPECT_EQ(source.reads(), 3u);  // "a", "\n", the 1A; nothing after it
}

// A failure part-way: the lines before it are handed out, the line being read is lost.
struct FailCase {
  const char* name;
  std::string bytes;
  std::size_t failAfter;
  std::vector<std::string> lines;
};

const FailCase kFailCases[] = {
    {"AtStart", "a\r\nb\r\n", 0, {}},
    {"InsideSecondLine", "a\r\nb\r\ncc", 7, {"a", "b"}},
    {"AfterLineEnd", "a\r\nb\r\ncc", 6, {"a", "b"}},
    {"BetweenCrAndLf", "a\r\nb\r\n", 5, {"a"}},
    {"InsideLastLineWithoutEnd", "a\nbbbb", 4, {"a"}},
};

class ReadFailure : public ::testing::TestWithParam<std::tuple<FailCase, std::size_t>> {};

TEST_P(ReadFailure, KeepsLinesReadBeforeAndReportsTheSystemError) {
  const auto& [c, block] = GetParam();
  MemorySource source(c.bytes, SIZE_MAX, c.failAfter, EIO);
  std::vector<std::string> lines;
  try {
    ReadLines(
        source, [&lines](std::string_view line) { lines.emplace_back(line); }, block);
    FAIL() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), EIO);
    EXPECT_EQ(std::string(e.what()), "I/O error " + std::to_string(EIO));
  }
  EXPECT_THAT(lines, ElementsAreArray(c.lines));
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadFailure,
                         ::testing::Combine(::testing::ValuesIn(kFailCases),
                                            ::testing::Values(std::size_t{1}, std::size_t{128},
                                                              std::size_t{65536})),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_block" +
                                  std::to_string(std::get<1>(info.param));
                         });

struct AppendCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
  std::string result;
};

const AppendCase kAppendCases[] = {
    {"IntoEmpty", "", {"a", "b"}, "a\r\nb\r\n"},
    {"AfterLineEnd", "x\r\n", {"a"}, "x\r\na\r\n"},
    {"AfterOpenLine", "xyz", {"a", "b"}, "xyz\r\na\r\nb"},
    // After open text an empty line only supplies the missing line end.
    {"EmptyLineClosesOpenText", "xyz", {"a", "", "b"}, "xyz\r\na\r\nb\r\n"},
    {"EmptyLineIntoEmpty", "", {""}, "\r\n"},
    {"NoLines", "xyz", {}, "xyz"},
};

TEST(AppendPiece, OneInsertionGivesTheTextOfLineByLineAppends) {
  for (const AppendCase& c : kAppendCases) {
    SCOPED_TRACE(c.name);
    const bool open = !c.text.empty() && !c.text.ends_with("\r\n");
    EXPECT_EQ(c.text + BuildAppendPiece(c.lines, open), c.result);
    EXPECT_EQ(AppendOneByOne(c.text, c.lines), c.result);
  }
}

TEST(AppendPiece, MatchesLineByLineOnRandomLines) {
  std::mt19937 random(4120);
  for (int round = 0; round < 200; ++round) {
    std::string text = std::vector<std::string>{"", "q\r\n", "q"}[random() % 3];
    std::vector<std::string> lines(random() % 6);
    for (std::string& line : lines) {
      line.assign(random() % 3, 'a' + static_cast<char>(random() % 3));
    }
    const bool open = !text.empty() && !text.ends_with("\r\n");
    ASSERT_EQ(text + BuildAppendPiece(lines, open), AppendOneByOne(text, lines)) << round;
  }
}

class FileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    return scratch_.Write(name, bytes);
  }

  ScratchDir scratch_;
  const std::string dir_ = scratch_.path();
};

TEST_F(FileTest, ReadsAFileWithEveryBlockSize) {
  const std::string bytes = "a\r\n\r\nb\0c\rd\n"s + std::string(300, 'e') +
                            "\r\n\x1a"
                            "f";
  const std::string path = Write("t.txt", bytes);
  for (std::size_t block : {1, 7, 128, 65536}) {
    PosixFileSource source(path);
    EXPECT_THAT(ReadAllLines(source, block), ElementsAre("a", "", "b\0cd"s, std::string(300, 'e')))
        << block;
    EXPECT_NO_THROW(source.Close());
    EXPECT_NO_THROW(source.Close());
  }
}

TEST_F(FileTest, FilesThatCannotBeOpenedOrReadRaiseTheTablesErrors) {
  const std::string plain = Write("plain.txt", "x\n");
  struct Row {
    std::string path;
    int code;
  };
  const Row rows[] = {
      {dir_ + "/missing.txt", 2},
      {"", 2},
      {plain + "/below", 3},  // a file used as a folder
      {dir_ + "/" + std::string(300, 'n'), 3},
      {dir_ + "/a\0b"s, 3},
  };
  for (const Row& row : rows) {
    try {
      PosixFileSource source(row.path);
      FAIL() << "opened " << row.path;
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode(), row.code) << row.path;
      EXPECT_STREQ(e.what(), EInOutError(row.code).what());
    }
  }
  // A folder opens but cannot be read.
  PosixFileSource folder(dir_);
  try {
    ReadAllLines(folder);
    FAIL() << "a folder was read";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), 5);
    EXPECT_STREQ(e.what(), "File access denied");
  }
}

TEST_F(FileTest, FileWithoutRightsIsAccessDenied) {
  std::string path = Write("locked.txt", "x\n");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  if (access(path.c_str(), R_OK) == 0) {
    // The superuser reads files without rights; a write-only attribute of the kernel is a
    // regular file that nobody can open for reading.
    path = "/sys/bus/pci/rescan";
    if (!IsExistingFile(path)) {
      GTEST_SKIP() << "no file here that this user cannot read";
    }
  }
  try {
    PosixFileSource source(path);
    FAIL() << "opened a file without rights";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), 5);
  }
}

TEST_F(FileTest, NoDescriptorLeftIsTooManyOpenFiles) {
  const std::string path = Write("t.txt", "x\n");
  // A first failing open while descriptors are still free: the sanitizers' runtime needs a
  // descriptor of its own the first time it checks the classes involved.
  EXPECT_THROW(PosixFileSource(dir_ + "/none"), EInOutError);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  const int lowestFree = dup(0);
  ASSERT_GE(lowestFree, 0);
  close(lowestFree);
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(lowestFree);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
  int code = 0;
  try {
    PosixFileSource source(path);
  } catch (const EInOutError& e) {
    code = e.ErrorCode();
  }
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
  EXPECT_EQ(code, 4);
}

}  // namespace
}  // namespace pl4120

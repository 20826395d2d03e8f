#include "text/ReplaceFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/text/TextTestSupport.h"

namespace pl4120 {
namespace {

std::string Content(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::size_t Entries(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
    ++n;
  }
  return n;
}

TEST(ReplaceFile, WritesNewAndExistingFilesKeepingTheirModeAndLinks) {
  const ScratchDir dir;
  const std::string fresh = dir.path() + "/new.txt";
  const std::string kept = dir.Write("kept.txt", "old");
  ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
  const std::string link = dir.path() + "/link.txt";
  ASSERT_EQ(symlink(kept.c_str(), link.c_str()), 0);

  EXPECT_EQ(ReplaceFile(fresh, std::string("a\0b", 3)), "");
  EXPECT_EQ(ReplaceFile(kept, "new"), "");
  EXPECT_EQ(ReplaceFile(link,
                        [](const auto& write) {
                          EXPECT_TRUE(write("through "));
                          EXPECT_TRUE(write("the link"));
                        }),
            "");

  EXPECT_EQ(Content(fresh), std::string("a\0b", 3));
  EXPECT_EQ(Content(kept), "through the link");
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(kept.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(dir.path()), 3u);  // nothing left beside them
}

TEST(ReplaceFile, FailureLeavesTheOldFileAndNothingBesideIt) {
  const ScratchDir dir;
  const std::string kept = dir.Write("kept.txt", "old");

  EXPECT_EQ(ReplaceFile(dir.path() + "/missing/x.txt", "x"), "Нет такого файла или каталога");
  EXPECT_EQ(ReplaceFile(kept + "/x.txt", "x"),
            "Путь проходит через файл, который не является каталогом");
  EXPECT_EQ(ReplaceFile(dir.path(), "x"), "Это каталог");

  EXPECT_EQ(Content(kept), "old");
  EXPECT_EQ(Entries(dir.path()), 1u);
}

}  // namespace
}  // namespace pl4120

#include "text/FileNames.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <string>
#include <utility>

#include "tests/text/TextTestSupport.h"

namespace pl4120 {
namespace {

TEST(DialogFilter, TurnsIntoQtNameFilters) {
  const std::pair<std::string, std::string> table[] = {
      {"Текстовые файлы|*.txt|Все файлы|*.*", "Текстовые файлы (*.txt);;Все файлы (*)"},
      {"Тексты|*.txt;*.doc", "Тексты (*.txt *.doc)"},
      {"Тексты|*.txt ; *.lst;", "Тексты (*.txt *.lst)"},
      {"Одно|*.prn|без образца", "Одно (*.prn)"},
      {"Любые|*.*;*", "Любые (* *)"},
      {"", ""},
  };
  for (const auto& [filter, expected] : table) {
    EXPECT_EQ(DialogFilterToNameFilter(filter), expected) << filter;
  }
}

TEST(ExistingFile, AnyRegularFileWhateverItsDate) {
  const ScratchDir dir;
  const std::string plain = dir.Write("plain.txt", "x");
  const std::string old = dir.Write("old.txt", "x");
  utimbuf times{};
  times.actime = times.modtime = 157766400;  // 1975-01-01
  ASSERT_EQ(utime(old.c_str(), &times), 0);
  const std::string link = dir.path() + "/link.txt";
  ASSERT_EQ(symlink(plain.c_str(), link.c_str()), 0);
  const std::string fifo = dir.path() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string dangling = dir.path() + "/dangling";
  ASSERT_EQ(symlink((dir.path() + "/none").c_str(), dangling.c_str()), 0);

  const std::pair<std::string, bool> table[] = {
      {plain, true},
      {old, true},
      {link, true},
      {dir.Write("empty.txt", ""), true},
      {dir.path(), false},
      {fifo, false},
      {dangling, false},
      {dir.path() + "/none", false},
      {"", false},
      {"/dev/null", false},
      {plain + std::string(1, '\0') + "tail", false},  // not the file before the NUL
  };
  for (const auto& [path, exists] : table) {
    EXPECT_EQ(IsExistingFile(path), exists) << path;
  }
}

}  // namespace
}  // namespace pl4120

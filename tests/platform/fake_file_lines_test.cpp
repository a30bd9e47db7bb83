// Whole-line reads and one-line appends of the in-memory file system: how
// the skip list is read and the trace is written.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "platform/exceptions.h"
#include "platform/fake/fake_file_system.h"

namespace quorvane::fake {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(FakeFileLines, LinesEndAtCrOrLfOrCrLf) {
  FakeFileSystem files;
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\n\n", {"", ""}},
      {"\n\r", {"", ""}},  // LF then CR: two breaks
      {" a \t\r\n", {" a \t"}},
      {"", {}},
  };
  for (const auto& [content, lines] : cases) {
    files.AddFile("C:\\f.txt", content);
    EXPECT_EQ(files.LoadLines("c:\\F.TXT"), lines) << content;
  }
}

TEST(FakeFileLines, UnreadableFilesFailToLoad) {
  FakeFileSystem files;
  files.AddFolder("C:\\dir");
  files.AddFile("C:\\locked.txt", "x");
  files.locked.insert(FakeFileSystem::Key("C:\\locked.txt"));
  EXPECT_THROW(files.LoadLines("C:\\dir"), EFOpenError);
  EXPECT_THROW(files.LoadLines("C:\\locked.txt"), EFOpenError);
  EXPECT_THROW(files.LoadLines("C:\\missing.txt"), EFOpenError);
}

TEST(FakeFileLines, AppendAddsTheTextUpToNulAndCrLf) {
  FakeFileSystem files;
  files.AddFolder("C:\\P");
  files.AppendLine("C:\\P\\log.txt", "one");  // created when missing
  files.AppendLine("c:\\p\\LOG.TXT", std::string("tw\0o", 4));
  files.AppendLine("C:\\P\\log.txt", "");
  EXPECT_EQ(files.Content("C:\\P\\log.txt"), "one\r\ntw\r\n\r\n");
}

TEST(FakeFileLines, AppendFailsSilentlyAndLeavesNothing) {
  FakeFileSystem files;
  files.AddFolder("C:\\P\\dir.txt");
  files.AddFile("C:\\P\\ro.txt", "", kFileAttributeReadOnly);
  files.AddFile("C:\\P\\locked.txt");
  files.locked.insert(FakeFileSystem::Key("C:\\P\\locked.txt"));
  for (const char* path : {"C:\\P\\dir.txt", "C:\\P\\ro.txt", "C:\\P\\locked.txt", "C:\\Missing\\x.txt",
                           "D:\\x.txt", "", "C:\\"}) {
    files.AppendLine(path, "line");
    EXPECT_EQ(files.Content(path), "") << path;
  }
  EXPECT_FALSE(files.Exists("C:\\Missing"));
  EXPECT_EQ(files.Attributes("C:\\P\\dir.txt"), kFileAttributeDirectory);
}

}  // namespace
}  // namespace quorvane::fake

// The file-system port on Wine's real file system, in a scratch folder of
// the test's own, and the in-memory file system against it wherever the two
// should agree.
#include "platform/win32/windows_api.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "platform/fake/fake_file_system.h"
#include "platform/text.h"
#include "platform/win32/file_system_backend.h"
#include "repair/backups.h"
#include "tests/wine/support/scratch.h"

namespace quorvane::wine_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

class FileSystemBackend : public ::testing::Test {
 protected:
  void SetUp() override { fake.AddFolder(folder.Path()); }

  // A file with the same bytes in the real folder and in the fake.
  void AddFile(const std::string& name, const std::string& bytes = "x") {
    WriteBytes(folder / name, bytes);
    fake.AddFile(folder / name, bytes);
  }
  void AddFolder(const std::string& name) {
    MakeFolder(folder / name);
    fake.AddFolder(folder / name);
  }

  ScratchFolder folder;
  win32::Win32FileSystem files;
  fake::FakeFileSystem fake;
};

// ------------------------------------------------------- attribute queries

struct NameCase {
  const char* label;
  std::string name;  // "@" stands for the scratch folder, without its final "\"
  bool found;
  bool folder;
};

TEST_F(FileSystemBackend, AttributeQueryNormalisesNamesAsTheFakeDoes) {
  AddFolder("dir");
  AddFile("dir\\a.exe");
  AddFolder("dir\\Arquivos de programas");
  AddFile("dir\\Arquivos de programas\\\xCDtem.dll");
  const NameCase cases[] = {
      {"File", "@\\dir\\a.exe", true, false},
      {"OtherLetterCase", "@\\DIR\\A.EXE", true, false},
      {"TrailingBlank", "@\\dir\\a.exe ", true, false},
      {"TrailingDot", "@\\dir\\a.exe.", true, false},
      {"TrailingBlanksAndDots", "@\\dir\\a.exe. . ", true, false},
      {"ForwardSlashes", "@/dir/a.exe", true, false},
      {"DoubledSeparator", "@\\dir\\\\a.exe", true, false},
      {"DotDot", "@\\dir\\..\\dir\\a.exe", true, false},
      {"Dot", "@\\.\\dir\\a.exe", true, false},
      {"Folder", "@\\dir", true, true},
      {"FolderWithFinalBackslash", "@\\dir\\", true, true},
      {"FolderWithDotBeforeBackslash", "@\\dir.\\", true, true},
      {"FolderWithBlankBeforeBackslash", "@\\dir \\", false, false},
      {"FileWithFinalBackslash", "@\\dir\\a.exe\\", false, false},
      {"Star", "@\\dir\\a.*", false, false},
      {"QuestionMark", "@\\dir\\a.ex?", false, false},
      {"StarForTheFolder", "@\\dir\\*", false, false},
      {"AccentsAndBlanks", "@\\dir\\Arquivos de programas\\\xCDtem.dll", true, false},
      {"AccentOtherCase", "@\\dir\\ARQUIVOS DE PROGRAMAS\\\xEDtem.dll", true, false},
      {"Missing", "@\\dir\\b.exe", false, false},
      {"MissingFolderAbove", "@\\nowhere\\a.exe", false, false},
      {"Empty", "", false, false},
      {"DriveRoot", "C:\\", true, true},
      {"BareDrive", "C:", true, true},
      {"UnmappedDrive", "Q:\\", false, false},
  };
  const std::string at = folder.Path().substr(0, folder.Path().size() - 1);
  for (const NameCase& c : cases) {
    std::string name = c.name;
    if (!name.empty() && name[0] == '@') name = at + name.substr(1);
    SCOPED_TRACE(std::string(c.label) + ": \"" + name + "\"");
    const uint32_t real = files.GetFileAttributes(name);
    EXPECT_EQ(real != kInvalidFileAttributes, c.found);
    if (c.found) {
      EXPECT_EQ((real & kFileAttributeDirectory) != 0, c.folder);
    }
    const uint32_t faked = fake.GetFileAttributes(name);
    EXPECT_EQ(faked != kInvalidFileAttributes, c.found) << "fake";
    if (c.found) {
      EXPECT_EQ((faked & kFileAttributeDirectory) != 0, c.folder) << "fake";
    }
  }
}

TEST_F(FileSystemBackend, DriveTypesOfTheTestPrefixAsTheFakeDoes) {
  // The prefix maps these letters onto folders of the given types.
  fake.SetDriveType('E', kDriveCdrom);
  fake.SetDriveType('F', kDriveRemote);
  fake.SetDriveType('G', kDriveRemovable);
  fake.SetDriveType('R', kDriveRamdisk);
  const struct {
    const char* root;
    unsigned type;
  } cases[] = {
      {"C:\\", kDriveFixed},     {"c:\\", kDriveFixed},     {"C:", kDriveFixed},
      {"C:/", kDriveFixed},      {"Q:\\", kDriveNoRootDir}, {"E:\\", kDriveCdrom},
      {"F:\\", kDriveRemote},    {"G:\\", kDriveRemovable}, {"R:\\", kDriveRamdisk},
      {"", kDriveNoRootDir},     {"dir", kDriveNoRootDir},  {"\\\\server\\share\\", kDriveNoRootDir},
      {"%SystemDrive%\\", kDriveNoRootDir}, {" C:\\", kDriveNoRootDir}, {"@C:", kDriveNoRootDir},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.root + "\"");
    EXPECT_EQ(files.GetDriveType(c.root), c.type);
    EXPECT_EQ(fake.GetDriveType(c.root), c.type) << "fake";
  }
  // The other drives hold files like any other.
  for (const char* root : {"E:\\", "F:\\", "G:\\", "R:\\"})
    EXPECT_NE(files.GetFileAttributes(root) & kFileAttributeDirectory, 0u) << root;
}

// ------------------------------------------------------- directory search

TEST_F(FileSystemBackend, FindsUndoFilesByPatternIgnoringCaseAndNotInSubfolders) {
  const std::vector<std::string> undo_files = {"undo-20050314-092607.reg", "UNDO-20050314-092609.REG",
                                               "Undo-20041231-235959.Reg"};
  for (const std::string& name : undo_files) AddFile(name);
  AddFile("undo-20050314-0926071.reg");  // a digit too many
  AddFile("undo-20050314-092607.regx");
  AddFile("redo-20050314-092607.reg");
  AddFile("undo-20050314-092607.txt");
  AddFolder("undo-20050314-092608.reg");  // a folder of that shape is no undo file
  AddFolder("sub");
  AddFile("sub\\undo-20050314-092610.reg");
  const std::string pattern = folder / kUndoFilePattern;
  EXPECT_THAT(files.FindFiles(pattern), UnorderedElementsAreArray(undo_files));
  EXPECT_THAT(fake.FindFiles(pattern), UnorderedElementsAreArray(undo_files)) << "fake";
}

TEST_F(FileSystemBackend, FindsNothingInAMissingOrEmptyFolder) {
  AddFolder("empty");
  for (const std::string& pattern :
       {folder / std::string("empty\\") + kUndoFilePattern, folder / std::string("missing\\") + kUndoFilePattern}) {
    EXPECT_THAT(files.FindFiles(pattern), IsEmpty()) << pattern;
    EXPECT_THAT(fake.FindFiles(pattern), IsEmpty()) << "fake: " << pattern;
  }
}

// ---------------------------------------------------------- file changes

TEST_F(FileSystemBackend, AReadOnlyFileIsDeletedOnlyAfterItsMarksAreCleared) {
  AddFile("undo-20050314-092607.reg");
  for (FileSystem* system : std::initializer_list<FileSystem*>{&files, &fake}) {
    SCOPED_TRACE(system == &files ? "Win32" : "fake");
    const std::string path = folder / "undo-20050314-092607.reg";
    ASSERT_TRUE(system->SetFileAttributes(path, kFileAttributeReadOnly | kFileAttributeHidden));
    EXPECT_NE(system->GetFileAttributes(path) & kFileAttributeReadOnly, 0u);
    EXPECT_FALSE(system->DeleteFile(path));
    EXPECT_NE(system->GetFileAttributes(path), kInvalidFileAttributes);
    EXPECT_TRUE(system->SetFileAttributes(path, kFileAttributeNormal));
    EXPECT_TRUE(system->DeleteFile(path));
    EXPECT_EQ(system->GetFileAttributes(path), kInvalidFileAttributes);
    // Nothing there any more, and a folder is no file to delete.
    EXPECT_FALSE(system->SetFileAttributes(path, kFileAttributeNormal));
    EXPECT_FALSE(system->DeleteFile(path));
  }
  AddFolder("dir");
  EXPECT_FALSE(files.DeleteFile(folder / "dir"));
  EXPECT_FALSE(fake.DeleteFile(folder / "dir"));
  EXPECT_NE(files.GetFileAttributes(folder / "dir"), kInvalidFileAttributes);
}

TEST_F(FileSystemBackend, ShortPathOfAPathWithBlanksNamesTheSameFile) {
  AddFolder("Arquivos de programas");
  const std::string path = folder / "Arquivos de programas\\undo-20050314-092607.reg";
  WriteBytes(path, "REGEDIT4\r\n");
  const std::string short_path = files.GetShortPathName(path);
  ASSERT_FALSE(short_path.empty());
  EXPECT_EQ(short_path.find(' '), std::string::npos) << short_path;
  // Every component in the 8.3 form.
  const std::string below = short_path.substr(3);
  for (size_t start = 0; start <= below.size();) {
    const size_t cut = std::min(below.find('\\', start), below.size());
    const std::string part = below.substr(start, cut - start);
    const size_t dot = part.find('.');
    EXPECT_LE(dot == std::string::npos ? part.size() : dot, 8u) << part;
    if (dot != std::string::npos) {
      EXPECT_LE(part.size() - dot - 1, 3u) << part;
    }
    start = cut + 1;
  }
  EXPECT_EQ(ReadBytes(short_path), "REGEDIT4\r\n");
  char long_form[MAX_PATH];
  ASSERT_NE(GetLongPathNameA(short_path.c_str(), long_form, MAX_PATH), 0u);
  EXPECT_TRUE(AnsiSameText(long_form, path)) << long_form;
}

TEST_F(FileSystemBackend, AMissingPathHasNoShortForm) {
  AddFolder("Arquivos de programas");
  for (const std::string& path : {folder / "Arquivos de programas\\missing file.reg",
                                  folder / "no such folder\\undo-20050314-092607.reg", std::string()}) {
    EXPECT_EQ(files.GetShortPathName(path), "") << path;
    EXPECT_EQ(fake.GetShortPathName(path), "") << "fake: " << path;
  }
}

// ------------------------------------------------------ whole-file writes

TEST_F(FileSystemBackend, SavedLinesAreTheBytesEachEndedByCrLf) {
  const std::vector<std::string> lines = {"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\\xCDtens]",
                                          "\"C:\\\\Arquivos\\\\\xE7\xE3o.exe\"=\"\xFF\x80\"", ""};
  const std::string expected = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\\xCDtens]\r\n"
                               "\"C:\\\\Arquivos\\\\\xE7\xE3o.exe\"=\"\xFF\x80\"\r\n\r\n";
  const std::string path = folder / "undo-20050314-092607.reg";
  files.SaveLines(path, lines);
  EXPECT_EQ(ReadBytes(path), expected);  // no byte-order mark, no code-page change
  fake.SaveLines(path, lines);
  EXPECT_EQ(fake.Content(path), expected) << "fake";
  // Only the file itself is left in the folder.
  EXPECT_THAT(FolderEntries(folder.Path()), ElementsAre("undo-20050314-092607.reg"));
}

TEST_F(FileSystemBackend, SavingReplacesALongerFileWhole) {
  const std::string path = folder / "list.txt";
  AddFile("list.txt", std::string(5000, 'o') + "\r\n");
  files.SaveLines(path, {"new"});
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  files.SaveLines(path, {});
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_THAT(FolderEntries(folder.Path()), ElementsAre("list.txt"));
}

TEST_F(FileSystemBackend, ASaveThatCannotBeDoneThrowsAndLeavesNothingBehind) {
  AddFolder("existing folder");
  AddFile("read-only.reg", "old\r\n");
  ASSERT_TRUE(SetFileAttributesA((folder / "read-only.reg").c_str(), FILE_ATTRIBUTE_READONLY));
  fake.SetFileAttributes(folder / "read-only.reg", kFileAttributeReadOnly);
  const struct {
    const char* label;
    std::string path;
  } cases[] = {
      {"IntoAMissingFolder", folder / "missing\\undo-20050314-092607.reg"},
      {"OverAFolder", folder / "existing folder"},
      {"OverAReadOnlyFile", folder / "read-only.reg"},
  };
  const std::vector<std::string> before = FolderEntries(folder.Path());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    for (FileSystem* system : std::initializer_list<FileSystem*>{&files, &fake}) {
      try {
        system->SaveLines(c.path, {"REGEDIT4", ""});
        ADD_FAILURE() << (system == &files ? "Win32" : "fake") << " saved " << c.path;
      } catch (const EFCreateError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + c.path);
      }
    }
    EXPECT_EQ(FolderEntries(folder.Path()), before);  // no temporary file either
  }
  EXPECT_EQ(GetFileAttributesA((folder / "missing").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((folder / "existing folder").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(ReadBytes(folder / "read-only.reg"), "old\r\n");
}

// ------------------------------------------------------- whole-file reads

TEST_F(FileSystemBackend, LoadedLinesEndAtCrLfOrCrLfAsTheFakeSplitsThem) {
  const struct {
    const char* label;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"CrLf", "Software\r\n\\Soft\\App\r\n", {"Software", "\\Soft\\App"}},
      {"CrOnly", "a\rb\r", {"a", "b"}},
      {"LfOnly", "a\nb\n", {"a", "b"}},
      {"Mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"EmptyLines", "a\r\n\r\n\n\rb", {"a", "", "", "", "b"}},
      {"LfCrIsTwoEnds", "a\n\rb", {"a", "", "b"}},
      {"LastLineUnended", "only", {"only"}},
      {"EmptyFile", "", {}},
      {"SingleCrLf", "\r\n", {""}},
      {"HighBytesKept", "\xC9\xE7\xFF\x80\r\n", {"\xC9\xE7\xFF\x80"}},
      {"BlanksKept", "  padded \t\r\n", {"  padded \t"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    AddFile("ESPECIAL.DAT", c.bytes);
    EXPECT_EQ(files.LoadLines(folder / "ESPECIAL.DAT"), c.lines);
    EXPECT_EQ(fake.LoadLines(folder / "ESPECIAL.DAT"), c.lines) << "fake";
  }
}

TEST_F(FileSystemBackend, LoadingAFolderOrAMissingFileThrows) {
  AddFolder("ESPECIAL.DAT");
  for (const std::string& path : {folder / "ESPECIAL.DAT", folder / "missing.dat", folder / "no\\where.dat"}) {
    EXPECT_THROW(files.LoadLines(path), EFOpenError) << path;
    EXPECT_THROW(fake.LoadLines(path), EFOpenError) << "fake: " << path;
  }
}

// ---------------------------------------------------------------- appends

TEST_F(FileSystemBackend, AppendedLinesGoToTheEndEachWithCrLf) {
  const std::string path = folder / "debug.txt";
  for (FileSystem* system : std::initializer_list<FileSystem*>{&files, &fake}) {
    SCOPED_TRACE(system == &files ? "Win32" : "fake");
    system->AppendLine(path, "Inicio PathExiste");
    system->AppendLine(path, std::string("cut\0here", 8));  // up to its first NUL
    system->AppendLine(path, "");
    system->AppendLine(path, "\xCDtens\n inv\xE1lidos");
  }
  const std::string expected = "Inicio PathExiste\r\ncut\r\n\r\n\xCDtens\n inv\xE1lidos\r\n";
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(fake.Content(path), expected) << "fake";
}

TEST_F(FileSystemBackend, AppendingKeepsWhatTheFileHeld) {
  AddFile("debug.txt", "old, unended");
  files.AppendLine(folder / "debug.txt", "new");
  fake.AppendLine(folder / "debug.txt", "new");
  EXPECT_EQ(ReadBytes(folder / "debug.txt"), "old, unendednew\r\n");
  EXPECT_EQ(fake.Content(folder / "debug.txt"), "old, unendednew\r\n") << "fake";
}

TEST_F(FileSystemBackend, AppendingWhereNoFileCanBeIsSilent) {
  AddFolder("debug.txt");
  AddFile("locked.txt", "kept");
  ASSERT_TRUE(SetFileAttributesA((folder / "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  fake.SetFileAttributes(folder / "locked.txt", kFileAttributeReadOnly);
  for (const std::string& path : {folder / "debug.txt", folder / "missing\\debug.txt", folder / "locked.txt",
                                  std::string()}) {
    EXPECT_NO_THROW(files.AppendLine(path, "line")) << path;
    EXPECT_NO_THROW(fake.AppendLine(path, "line")) << "fake: " << path;
  }
  EXPECT_NE(GetFileAttributesA((folder / "debug.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(GetFileAttributesA((folder / "missing").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadBytes(folder / "locked.txt"), "kept");
  EXPECT_EQ(fake.Content(folder / "locked.txt"), "kept");
}

}  // namespace
}  // namespace quorvane::wine_test

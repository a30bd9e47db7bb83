#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "platform/exceptions.h"
#include "scan/path_exists.h"
#include "tests/support/fake_program.h"

namespace quorvane {
namespace {

using Lines = std::vector<std::string>;

// A program on fakes with clean query logs, and tracing switched on the way
// a scan start does it.
struct Scene {
  Scene() {
    files.attribute_log.clear();
    files.drive_type_log.clear();
    files.attribute_queries = 0;
    files.drive_type_queries = 0;
  }
  void StartTrace() {
    program.EnableTrace();
    State.TracePath = State.ProgramFolder + "debug.txt";
    State.TraceEnabled = true;
  }
  Lines Trace() const { return program.TraceLines(); }
  // The candidate of every call, nested ones included, in call order.
  Lines Candidates() const {
    Lines found;
    const Lines lines = Trace();
    for (size_t i = 0; i + 1 < lines.size(); ++i)
      if (lines[i] == "PathExiste Aqui 1:") found.push_back(lines[i + 1]);
    return found;
  }

  testing::FakeProgram program;
  fake::FakeFileSystem& files = program.files;
};

// Every root text names a fixed drive: lets a leading mark get past the root
// test, which no real volume's root would.
class EveryRootFixed : public fake::FakeFileSystem {
 public:
  unsigned GetDriveType(const std::string& root) override {
    FakeFileSystem::GetDriveType(root);
    return kDriveFixed;
  }
};

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The lines every call with a non-empty candidate writes before its drive query.
Lines Head(const std::string& candidate) {
  return {"Inicio PathExiste", "PathExiste Aqui 1:", candidate, "PathExiste Aqui 2", "PathExiste Aqui 3",
          "PathExiste Aqui 4"};
}

// From the drive-type answer up to the separator cuts, for a candidate that
// is not found and has no leading mark nor folder suffix.
const Lines kNotFound = {"PathExiste Aqui 5", "PathExiste Aqui 6", "PathExiste Aqui 6.5",
                         "PathExiste Aqui 7", "PathExiste Aqui 8", "PathExiste Aqui 9"};
const Lines kNoCutAfterSlash = {"PathExiste Aqui 9.6", "PathExiste Aqui 9.7", "PathExiste Aqui 9.8"};
const Lines kExit13 = {"PathExiste Aqui 13", "PathExiste - Retorno 13"};

TEST(PathExiste, DriveTypeDecidesBeforeAnyAttributeQuery) {
  struct Row {
    const char* why;
    unsigned type;
    bool target_there;
    bool expected;
    bool may_query_attributes;
  };
  const Row rows[] = {
      {"removable, there", kDriveRemovable, true, true, true},
      {"removable, gone", kDriveRemovable, false, false, true},
      {"fixed, there", kDriveFixed, true, true, true},
      {"fixed, gone", kDriveFixed, false, false, true},
      {"RAM disk, there", kDriveRamdisk, true, true, true},
      {"RAM disk, gone", kDriveRamdisk, false, false, true},
      {"type 7, there", 7, true, true, true},
      {"type 7, gone", 7, false, false, true},
      {"network, gone", kDriveRemote, false, true, false},
      {"CD-ROM, gone", kDriveCdrom, false, true, false},
      {"unknown, there", kDriveUnknown, true, false, false},
      {"no root, there", kDriveNoRootDir, true, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    Scene scene;
    scene.files.SetDriveType('E', row.type);
    if (row.target_there) scene.files.AddFile("E:\\Apps\\tool.exe");
    scene.files.forbid_attribute_queries = !row.may_query_attributes;

    EXPECT_EQ(PathExiste("E:\\Apps\\tool.exe"), row.expected);
    EXPECT_EQ(scene.files.drive_type_log, Lines{"E:\\"});
    if (!row.may_query_attributes) {
      EXPECT_EQ(scene.files.attribute_queries, 0);
    }
  }
}

TEST(PathExiste, TextsThatAreNoDrivePathFailTheRootTest) {
  const char* candidates[] = {
      "tool.exe",
      "Apps\\tool.exe",
      "%SystemRoot%\\system32\\tool.exe",
      "\\\\server\\share\\tool.exe",
      " C:\\Apps\\tool.exe",
      "@C:\\Apps\\tool.exe",
      "\"C:\\Apps\\tool.exe",
      "??\\?C:\\Apps\\tool.exe",
      "1:\\Apps\\tool.exe",
      "Q:\\Apps\\tool.exe",  // a letter with no volume behind it
  };
  for (const char* candidate : candidates) {
    SCOPED_TRACE(candidate);
    Scene scene;
    scene.files.AddFile("C:\\Apps\\tool.exe");
    scene.files.forbid_attribute_queries = true;
    EXPECT_FALSE(PathExiste(candidate));
    EXPECT_EQ(scene.files.drive_type_queries, 1);
  }
}

TEST(PathExiste, RootTextIsTheFirstThreeCharactersUpperCased) {
  Scene scene;
  scene.files.AddFile("C:\\Apps\\tool.exe");
  EXPECT_TRUE(PathExiste("c:\\apps\\TOOL.EXE"));
  EXPECT_FALSE(PathExiste("\xE9:\\x"));  // an accented letter upper-cases too
  EXPECT_EQ(scene.files.drive_type_log, (Lines{"C:\\", "\xC9:\\"}));
}

TEST(PathExiste, EmptyCandidateExistsWithoutAnyQuery) {
  Scene scene;
  scene.StartTrace();
  EXPECT_TRUE(PathExiste(""));
  EXPECT_EQ(scene.files.drive_type_queries, 0);
  EXPECT_EQ(scene.files.attribute_queries, 0);
  EXPECT_EQ(scene.Trace(), (Lines{"Inicio PathExiste", "PathExiste Aqui 1:", "", "PathExiste - Retorno 1"}));
}

TEST(PathExiste, LeadingMarksGoAfterTheFirstAttributeQuery) {
  struct Row {
    const char* candidate;
    bool expected;
    Lines queried;  // the names given to the attribute query, in order
  };
  const Row rows[] = {
      {"@C:\\Apps\\tool.exe", true, {"@C:\\Apps\\tool.exe", "C:\\Apps\\tool.exe"}},
      {"??\\?C:\\Apps\\tool.exe", true, {"??\\?C:\\Apps\\tool.exe", "C:\\Apps\\tool.exe"}},
      {"@??\\?C:\\Apps\\tool.exe", true, {"@??\\?C:\\Apps\\tool.exe", "C:\\Apps\\tool.exe"}},
      // The "@" is looked for first only: behind "??\?" it stays.
      {"??\\?@C:\\Apps\\tool.exe", false, {"??\\?@C:\\Apps\\tool.exe", "@C:\\Apps\\tool.exe"}},
      {"@@C:\\Apps\\tool.exe", false, {"@@C:\\Apps\\tool.exe", "@C:\\Apps\\tool.exe"}},
      // Nothing left after the marks: no second query.
      {"@", true, {"@"}},
      {"??\\?", true, {"??\\?"}},
      // The folder rule judges the text without its mark.
      {"@C:\\Apps\\*", true, {"@C:\\Apps\\*", "C:\\Apps\\*", "C:\\Apps"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.candidate);
    Scene scene;
    EveryRootFixed files;
    files.AddFile("C:\\Apps\\tool.exe");
    Platform.files = &files;
    EXPECT_EQ(PathExiste(row.candidate), row.expected);
    EXPECT_EQ(files.attribute_log, row.queried);
  }
}

TEST(PathExiste, MarkRemovedTraceEndsWithOutcome66) {
  Scene scene;
  EveryRootFixed files;
  files.AddFile("C:\\Apps\\tool.exe");
  files.AddFile(State.ProgramFolder + "debug.txt");
  Platform.files = &files;
  State.TracePath = State.ProgramFolder + "debug.txt";
  State.TraceEnabled = true;
  EXPECT_TRUE(PathExiste("@C:\\Apps\\tool.exe"));
  EXPECT_EQ(files.Content(State.TracePath),
            "Inicio PathExiste\r\nPathExiste Aqui 1:\r\n@C:\\Apps\\tool.exe\r\nPathExiste Aqui 2\r\n"
            "PathExiste Aqui 3\r\nPathExiste Aqui 4\r\nPathExiste Aqui 5\r\nPathExiste Aqui 6\r\n"
            "PathExiste Aqui 6.5\r\nPathExiste - Retorno 6.6\r\n");
}

TEST(PathExiste, FolderSuffixes) {
  struct Row {
    const char* candidate;
    bool expected;
    Lines queried;
  };
  const Row rows[] = {
      {"C:\\Apps\\*", true, {"C:\\Apps\\*", "C:\\Apps\\*", "C:\\Apps"}},
      // A final separator keeps the blank in the folder's name; without it
      // the blank is dropped and the folder is found.
      {"C:\\Apps \\", true, {"C:\\Apps \\", "C:\\Apps \\", "C:\\Apps "}},
      {"C:\\Gone\\*", false, {"C:\\Gone\\*", "C:\\Gone\\*", "C:\\Gone"}},
      // A file is no folder, with or without the mask.
      {"C:\\Apps\\tool.exe\\", false, {"C:\\Apps\\tool.exe\\", "C:\\Apps\\tool.exe\\", "C:\\Apps\\tool.exe"}},
      {"C:\\Apps\\tool.exe\\*", false,
       {"C:\\Apps\\tool.exe\\*", "C:\\Apps\\tool.exe\\*", "C:\\Apps\\tool.exe"}},
      // A mask without its separator is no suffix.
      {"C:\\Apps*", false, {"C:\\Apps*", "C:\\Apps*"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.candidate);
    Scene scene;
    scene.files.AddFile("C:\\Apps\\tool.exe");
    EXPECT_EQ(PathExiste(row.candidate), row.expected);
    EXPECT_EQ(scene.files.attribute_log, row.queried);
  }
}

TEST(PathExiste, SeparatorCutsNestInOrder) {
  struct Row {
    const char* why;
    const char* candidate;
    bool expected;
    Lines candidates;  // of every call, in call order
  };
  const Row rows[] = {
      {"switch after an existing program", "C:\\Apps\\tool.exe /quiet", true,
       {"C:\\Apps\\tool.exe /quiet", "C:\\Apps\\tool.exe"}},
      {"existing program before a pipe", "C:\\Apps\\tool.exe|run", true,
       {"C:\\Apps\\tool.exe|run", "C:\\Apps\\tool.exe"}},
      {"a \"/\" is cut before an earlier \"|\"", "C:\\Apps\\tool.exe|x /y", true,
       {"C:\\Apps\\tool.exe|x /y", "C:\\Apps\\tool.exe|x", "C:\\Apps\\tool.exe"}},
      // The nested call cuts the "|" itself; when that fails the outer call
      // cuts the same "|" again.
      {"missing: text before the \"|\" tested twice", "C:\\Apps\\gone.exe|x /y", false,
       {"C:\\Apps\\gone.exe|x /y", "C:\\Apps\\gone.exe|x", "C:\\Apps\\gone.exe", "C:\\Apps\\gone.exe"}},
      {"missing file in a folder whose name holds a \"[\"", "C:\\Apps\\[Setup]\\gone.txt", true,
       {"C:\\Apps\\[Setup]\\gone.txt", "C:\\Apps\\"}},
      {"query string", "C:\\Apps\\help.htm?topic=1", false,
       {"C:\\Apps\\help.htm?topic=1", "C:\\Apps\\help.htm"}},
      // A drive letter alone names the drive's current folder.
      {"cut right behind the drive letter", "C:/gone.exe", true, {"C:/gone.exe", "C:"}},
      // Every separator behind the later ones: each call cuts all it can.
      {"separators in reverse order", "C:\\a?b[c|d/e", false,
       {"C:\\a?b[c|d/e", "C:\\a?b[c|d", "C:\\a?b[c", "C:\\a?b", "C:\\a", "C:\\a", "C:\\a?b", "C:\\a", "C:\\a",
        "C:\\a?b[c", "C:\\a?b", "C:\\a", "C:\\a", "C:\\a?b", "C:\\a", "C:\\a"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    Scene scene;
    scene.files.AddFile("C:\\Apps\\tool.exe");
    scene.files.AddFolder("C:\\Apps\\[Setup]");
    scene.StartTrace();
    EXPECT_EQ(PathExiste(row.candidate), row.expected);
    EXPECT_EQ(scene.Candidates(), row.candidates);
  }
}

TEST(PathExiste, SpaceWalkTestsEachStartBeforeABlankThenTheWhole) {
  struct Row {
    const char* why;
    const char* candidate;
    bool expected;
    Lines queried;
    size_t calls = 1;
  };
  const Row rows[] = {
      {"program in folders with blanks, then words", "C:\\Program Files\\My App\\app.exe -min now", true,
       {"C:\\Program Files\\My App\\app.exe -min now", "C:\\Program Files\\My App\\app.exe -min now",
        "C:\\Program", "C:\\Program Files\\My", "C:\\Program Files\\My App\\app.exe"}},
      {"missing, double blank kept", "C:\\Old  Stuff\\gone.exe arg", false,
       {"C:\\Old  Stuff\\gone.exe arg", "C:\\Old  Stuff\\gone.exe arg", "C:\\Old", "C:\\Old ",
        "C:\\Old  Stuff\\gone.exe", "C:\\Old  Stuff\\gone.exe arg"}},
      {"blanks only at the end: the walk tests nothing", "C:\\gone.exe   ", false,
       {"C:\\gone.exe   ", "C:\\gone.exe   "}},
      {"a tab is no blank", "C:\\gone.exe\targ", false, {"C:\\gone.exe\targ", "C:\\gone.exe\targ"}},
      // No root test inside the walk: other drive letters are only text.
      {"several drive letters", "C:\\gone.exe D:\\x.exe E:\\y.exe", false,
       {"C:\\gone.exe D:\\x.exe E:\\y.exe", "C:\\gone.exe D:\\x.exe E:\\y.exe", "C:\\gone.exe",
        "C:\\gone.exe D:\\x.exe", "C:\\gone.exe D:\\x.exe E:\\y.exe"}},
      // The walk runs on what the cuts left: here the nested call after "/"
      // and then the outer call, on the same text.
      {"walk after a cut", "C:\\Old Stuff\\gone.exe /x", false,
       {"C:\\Old Stuff\\gone.exe /x", "C:\\Old Stuff\\gone.exe /x", "C:\\Old Stuff\\gone.exe",
        "C:\\Old Stuff\\gone.exe", "C:\\Old", "C:\\Old Stuff\\gone.exe", "C:\\Old", "C:\\Old Stuff\\gone.exe"},
       2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    Scene scene;
    scene.files.AddFile("C:\\Program Files\\My App\\app.exe");
    scene.files.SetDriveType('D', kDriveCdrom);
    scene.files.SetDriveType('E', kDriveRemote);
    EXPECT_EQ(PathExiste(row.candidate), row.expected);
    EXPECT_EQ(scene.files.attribute_log, row.queried);
    EXPECT_EQ(scene.files.drive_type_log, Lines(row.calls, "C:\\"));
  }
}

TEST(PathExiste, TraceLinesOfRepresentativeCandidates) {
  struct Row {
    const char* why;
    std::string candidate;
    bool expected;
    Lines trace;
  };
  const std::string tool = "C:\\Apps\\tool.exe";
  const std::string gone = "C:\\Apps\\gone.exe";
  const Row rows[] = {
      {"empty", "", true, {"Inicio PathExiste", "PathExiste Aqui 1:", "", "PathExiste - Retorno 1"}},
      {"existing file", tool, true, Join({Head(tool), {"PathExiste Aqui 5", "PathExiste Aqui 6",
                                                       "PathExiste - Retorno 6"}})},
      {"CD-ROM", "D:\\setup.exe", true, Join({Head("D:\\setup.exe"), {"PathExiste - Retorno 4"}})},
      {"no root", "tool.exe", false, Join({Head("tool.exe"), {"PathExiste Aqui 5", "PathExiste - Retorno 5"}})},
      {"missing, no blank", gone, false, Join({Head(gone), kNotFound, kNoCutAfterSlash, kExit13})},
      {"folder mask", "C:\\Apps\\*", true,
       Join({Head("C:\\Apps\\*"), {"PathExiste Aqui 5", "PathExiste Aqui 6", "PathExiste Aqui 6.5"}})},
      {"switch", tool + " /quiet", true,
       Join({Head(tool + " /quiet"), kNotFound, {"PathExiste - Retorno 9"}, Head(tool),
             {"PathExiste Aqui 5", "PathExiste Aqui 6", "PathExiste - Retorno 6"}})},
      {"space walk finds the program", "C:\\Program Files\\App\\app.exe -min", true,
       Join({Head("C:\\Program Files\\App\\app.exe -min"), kNotFound, kNoCutAfterSlash, {"PathExiste Aqui 11"}})},
      {"a tab is no blank", gone + "\targ", false, Join({Head(gone + "\targ"), kNotFound, kNoCutAfterSlash, kExit13})},
      {"blanks only at the end", gone + "  ", false,
       Join({Head(gone + "  "), kNotFound, kNoCutAfterSlash,
             {"PathExiste Aqui 11", "PathExiste Aqui 12", "PathExiste - Retorno 12"}})},
      {"missing with a blank", "C:\\Old Apps\\gone.exe -min", false,
       Join({Head("C:\\Old Apps\\gone.exe -min"), kNotFound, kNoCutAfterSlash,
             {"PathExiste Aqui 11", "PathExiste Aqui 12", "PathExiste - Retorno 12"}})},
      {"missing with \"|\" then \"/\"", gone + "|x /y", false,
       Join({Head(gone + "|x /y"), kNotFound, {"PathExiste - Retorno 9"},
             // nested on the text before "/": cuts "|" itself
             Head(gone + "|x"), kNotFound, {"PathExiste Aqui 9.6", "PathExiste - Retorno 9.6"},
             Head(gone), kNotFound, kNoCutAfterSlash, kExit13,
             {"PathExiste Aqui 9.7", "PathExiste Aqui 9.8"}, kExit13,
             // back in the first call, at the "|" of its shortened text
             {"PathExiste Aqui 9.6", "PathExiste - Retorno 9.6"},
             Head(gone), kNotFound, kNoCutAfterSlash, kExit13,
             {"PathExiste Aqui 9.7", "PathExiste Aqui 9.8"}, kExit13})},
      {"query string cut", gone + "?a=1", false,
       Join({Head(gone + "?a=1"), kNotFound, {"PathExiste Aqui 9.6", "PathExiste Aqui 9.7", "PathExiste Aqui 9.8",
                                              "PathExiste - Retorno 9.8"},
             Head(gone), kNotFound, kNoCutAfterSlash, kExit13, kExit13})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    Scene scene;
    scene.files.AddFile(tool);
    scene.files.AddFile("C:\\Program Files\\App\\app.exe");
    scene.files.SetDriveType('D', kDriveCdrom);
    scene.StartTrace();
    EXPECT_EQ(PathExiste(row.candidate), row.expected);
    EXPECT_EQ(scene.Trace(), row.trace);
  }
}

TEST(PathExiste, FailureCountsAsMissingAndIsTraced) {
  const std::string tool = "C:\\Apps\\tool.exe";
  // Anything thrown, not only the platform's own exceptions.
  const std::function<void(const std::string&)> throwers[] = {
      [](const std::string&) { throw EFOpenError("Cannot open file"); },
      [](const std::string&) { throw 42; },
  };
  for (const auto& thrower : throwers) {
    Scene scene;
    scene.files.AddFile(tool);
    scene.files.before_attribute_query = thrower;
    scene.StartTrace();
    EXPECT_FALSE(PathExiste(tool));
    EXPECT_EQ(scene.Trace(), Join({Head(tool),
                                   {"PathExiste Aqui 5", "PathExiste Aqui 6", "Tratamento de erro do PathExiste"},
                                   kExit13}));
  }
}

TEST(PathExiste, FailureInANestedCallEndsOnlyThatCall) {
  const std::string tool = "C:\\Apps\\tool.exe";
  Scene scene;
  scene.files.AddFile(tool);
  scene.files.before_attribute_query = [&](const std::string& name) {
    if (name == tool + "|b") throw EFOpenError("Cannot open file");
  };
  scene.StartTrace();
  EXPECT_TRUE(PathExiste(tool + "|b /c"));
  EXPECT_EQ(scene.Trace(),
            Join({Head(tool + "|b /c"), kNotFound, {"PathExiste - Retorno 9"},
                  Head(tool + "|b"), {"PathExiste Aqui 5", "PathExiste Aqui 6", "Tratamento de erro do PathExiste"},
                  kExit13,
                  // the first call goes on with its next separator
                  {"PathExiste Aqui 9.6", "PathExiste - Retorno 9.6"}, Head(tool),
                  {"PathExiste Aqui 5", "PathExiste Aqui 6", "PathExiste - Retorno 6"}}));
}

TEST(PathExiste, FailingDriveQueryCountsAsMissing) {
  class ThrowingDrives : public fake::FakeFileSystem {
   public:
    unsigned GetDriveType(const std::string&) override { throw Exception("drive query failed"); }
  };
  Scene scene;
  ThrowingDrives files;
  files.AddFile("C:\\Apps\\tool.exe");
  files.forbid_attribute_queries = true;
  Platform.files = &files;
  EXPECT_FALSE(PathExiste("C:\\Apps\\tool.exe"));
}

TEST(PathExiste, LongAndOddCandidatesEndWithinTheCallBound) {
  std::string sparse_blanks = "C:\\";
  int blanks = 0;
  while (sparse_blanks.size() < 100'000) {
    sparse_blanks += std::string(999, 'a');
    sparse_blanks += ' ';
    ++blanks;
  }
  sparse_blanks += 'z';

  struct Row {
    const char* why;
    std::string candidate;
    bool expected;
    int drive_queries;  // one per call with a non-empty candidate
    int attribute_queries;
  };
  const Row rows[] = {
      {"100,000 characters, no blank", "C:\\" + std::string(99'997, 'a'), false, 1, 2},
      {"100,000 characters, a blank every 1,000", sparse_blanks, false, 1, 2 + blanks + 1},
      {"100,000 separators after the path", "C:\\x" + std::string(100'000, '/'), false, 2, 4},
      // Reverse order everywhere: the widest call tree there is.
      {"separator groups repeated", [] {
         std::string text = "C:\\";
         for (int i = 0; i < 20'000; ++i) text += "x?[|/";
         return text;
       }(), false, 16, 32},
      {"nothing but separators after the root", "C:\\/|[?", true, 2, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    Scene scene;
    EXPECT_EQ(PathExiste(row.candidate), row.expected);
    EXPECT_EQ(scene.files.drive_type_queries, row.drive_queries);
    EXPECT_EQ(scene.files.attribute_queries, row.attribute_queries);
  }
}

TEST(PathExiste, SeparatorInEveryPosition) {
  const std::string tool = "C:\\Apps\\tool.exe";
  for (char separator : {'/', '|', '[', '?'}) {
    for (size_t at = 0; at <= tool.size(); ++at) {
      std::string candidate = tool;
      candidate.insert(at, 1, separator);
      SCOPED_TRACE(candidate);
      Scene scene;
      scene.files.AddFile(tool);
      const bool found = PathExiste(candidate);
      EXPECT_LE(scene.files.drive_type_queries, 2);
      // In front of the drive letter or its colon the root test fails; at the
      // end the cut gives the program back.
      if (at < 2) {
        EXPECT_FALSE(found);
      }
      if (at == tool.size()) {
        EXPECT_TRUE(found);
      }
    }
  }
}

}  // namespace
}  // namespace quorvane

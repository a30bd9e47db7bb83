#include "scan/path_exists.h"

#include <algorithm>

#include "app/program_state.h"
#include "app/trace_log.h"
#include "platform/text.h"
#include "scan/file_tests.h"

namespace quorvane {

namespace {

void Checkpoint(const char* number) { TraceLine("PathExiste Aqui ", number); }
void Outcome(const char* number) { TraceLine("PathExiste - Retorno ", number); }

// Texts that commonly follow a path inside value data: switches, pipes of
// command lines, resource and index suffixes, query strings. Tried in this
// order; each cut leaves a text without the separators tried so far.
struct Cut {
  char separator;
  const char* checkpoint;  // written before the search; none for the first
  const char* outcome;     // written before the nested test
};
constexpr Cut kCuts[] = {
    {'/', nullptr, "9"},
    {'|', "9.6", "9.6"},
    {'[', "9.7", "9.7"},
    {'?', "9.8", "9.8"},
};

// Tests every start of `text` that ends just before one of its blanks,
// shortest first, then the whole text; runs of blanks are kept as they are.
// `text` is trimmed, so it neither begins nor ends with a blank. Works with
// an offset into `text` rather than a shrinking copy of the rest, so long
// texts with many blanks cost one pass plus the queries.
bool SpaceWalk(const std::string& text) {
  std::string prefix;
  size_t rest = 0;  // the untested rest is text.substr(rest)
  size_t space = text.find(' ');
  while (space != std::string::npos && rest < text.size()) {
    if (!prefix.empty()) prefix += ' ';
    prefix.append(text, rest, space - rest);
    rest = std::min(space + 1, text.size());
    if (ArquivoOuPastaExiste(prefix)) return true;
    space = text.find(' ', rest);
    if (space == std::string::npos) space = text.size();
  }
  return false;
}

}  // namespace

bool PathExiste(const std::string& candidate) {
  try {
    TraceLine("Inicio PathExiste");
    std::string s = candidate;
    TraceLine("PathExiste Aqui 1:");
    TraceLine(s);
    if (s.empty()) {
      // Nothing left to judge is never reported as missing.
      Outcome("1");
      return true;
    }

    Checkpoint("2");
    const std::string root = AnsiUpperCase(FirstN(s, 3));
    Checkpoint("3");
    Checkpoint("4");
    // One drive query judges both ways, before any attribute query: slow or
    // absent media are never touched.
    const unsigned drive = Platform.files->GetDriveType(root);
    if (drive == kDriveCdrom || drive == kDriveRemote) {
      Outcome("4");
      return true;
    }
    Checkpoint("5");
    if (drive == kDriveUnknown || drive == kDriveNoRootDir) {
      Outcome("5");
      return false;
    }

    Checkpoint("6");
    if (ArquivoOuPastaExiste(s)) {
      Outcome("6");
      return true;
    }
    Checkpoint("6.5");
    if (StartsWith(s, "@")) s.erase(0, 1);
    if (StartsWith(s, "??\\?")) s.erase(0, 4);
    if (s.empty() || ArquivoOuPastaExiste(s)) {
      Outcome("6.6");
      return true;
    }

    // A folder named with a final separator or a "\*" mask.
    if (EndsWith(s, "\\")) {
      if (PastaExiste(s.substr(0, s.size() - 1))) return true;
    } else if (EndsWith(s, "\\*")) {
      if (PastaExiste(s.substr(0, s.size() - 2))) return true;
    }

    Checkpoint("7");
    Checkpoint("8");
    Checkpoint("9");
    for (const Cut& cut : kCuts) {
      if (cut.checkpoint) Checkpoint(cut.checkpoint);
      const size_t at = s.find(cut.separator);
      if (at == std::string::npos) continue;
      // The shortened text stays for the later separators even when the
      // nested test fails.
      s = Trim(FirstN(s, static_cast<long long>(at)));
      Outcome(cut.outcome);
      if (PathExiste(s)) return true;
    }

    if (s.find(' ') == std::string::npos) {
      Checkpoint("13");
      Outcome("13");
      return false;
    }
    Checkpoint("11");
    if (SpaceWalk(Trim(s))) return true;
    Checkpoint("12");
    Outcome("12");
    return false;
  } catch (...) {
    // A candidate that cannot be judged counts as missing; a nested test
    // that fails here only ends that nested test.
    TraceLine("Tratamento de erro do PathExiste");
    Checkpoint("13");
    Outcome("13");
    return false;
  }
}

}  // namespace quorvane

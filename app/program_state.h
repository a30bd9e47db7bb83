// The program-wide state: the one place that holds what lives for the whole
// run. Every layer above platform/ reads and writes it here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/services.h"

namespace quorvane {

class TForm1;

// The registry value behind one record of the found list, exactly as it
// was listed: the record's third line cannot tell a value named "(Default)"
// from the unnamed value.
struct FoundValue {
  RootKey root;
  std::string key_path;
  std::string value_name;
};

struct ProgramState {
  std::string ProgramFolder;  // folder of the executable, ending in "\"
  std::string TracePath;      // ProgramFolder + "debug.txt", set at scan start
  bool TraceEnabled = false;  // "debug.txt" existed when the latest scan started
  int32_t VerifiedCount = 0;  // subkeys and values listed by the current scan
  int32_t FoundCount = 0;     // entries recorded by the current scan
  bool StopRequested = false;
  // One entry per record of the found list (ListBox2), in the same order;
  // emptied with it at scan start.
  std::vector<FoundValue> FoundValues;
};

extern ProgramState State;
extern Services Platform;
extern TApplication* Application;
extern TScreen* Screen;
extern TForm1* Form1;

// Adds one to a 32-bit count, wrapping as the machine's integers do.
inline void Increment(int32_t& count) {
  count = static_cast<int32_t>(static_cast<uint32_t>(count) + 1u);
}

}  // namespace quorvane

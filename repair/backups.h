// The backup page: the undo files that removal leaves next to the
// executable, listed newest first, restored through the registry editor or
// deleted. Works on file names only.
#pragma once

#include <string>

namespace quorvane {

// The listing's search pattern, put after the program's folder. Split so
// that no "??-" trigraph warning is raised.
inline constexpr const char* kUndoFilePattern = "UNDO-????????" "-??????.REG";

// Rebuilds ListBox3 (display texts, newest first) and the hidden ListBox4
// (file names at the same positions) from the program's folder.
void ListarBackups();

// True for a name of exactly the pattern's shape, letters in any case.
bool IsUndoFileName(const std::string& name);

// "Backup realizado em: dd/mm/yyyy as hh:nn:ss", copied from the fixed
// positions of an undo file's name.
std::string BackupDisplayText(const std::string& file_name);

}  // namespace quorvane

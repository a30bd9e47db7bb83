// The undo script: REGEDIT4 lines, kept in the items of the hidden
// ListBox1, from which every value recorded by the current scan can be
// recreated after the removal has deleted it.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/ui/strings.h"

namespace quorvane {

// Whether the entry's lines can be written so that the registry editor reads
// back exactly this one value: the root has a long name, and the key path,
// the value's name and (for the dword kinds) the dword text hold no line
// break or NUL. A line break would split the line, and the text after it
// would be read as a line of its own; a value that fails this must not be
// recorded at all, so that it is never deleted. Data texts always fit: they
// fall back to a byte list (StringValueData).
bool UndoEntryFits(RootKey root, const std::string& key_path, const std::string& value_name, int value_kind,
                   const std::string& path_text, const std::string& companion_text);

// Appends the key line, the value line and an empty line to the script, with
// the "REGEDIT4" header and its empty line first when the script is still
// empty. The lines go in whole or not at all. Throws std::invalid_argument,
// writing nothing, for an entry that UndoEntryFits refuses.
void WriteUndoEntry(RootKey root, const std::string& key_path, const std::string& value_name, int value_kind,
                    const std::string& path_text, const std::string& companion_text);

// The text as it stands inside a quoted REGEDIT4 string: every backslash
// and every double quote preceded by a backslash, nothing else changed.
std::string CaracteresEspeciais(const std::string& text);

// "hex(2):" and the text's bytes as a REGEDIT4 byte list ending in the
// terminating 00, on one line.
std::string CaracteresExpandidos(const std::string& text);

// The data part of a string value's line: the quoted, escaped text, or,
// when the text holds a line break or a NUL (which no quoted string can
// carry), the same bytes as a byte list of the string type, "hex(1):".
std::string StringValueData(const std::string& text);

// Appends every line, or none: when an append fails, the lines already added
// are taken away again and the error goes on to the caller.
void AppendWhole(TStrings& list, const std::vector<std::string>& lines);

}  // namespace quorvane

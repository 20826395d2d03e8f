#pragma once

#include <string>
#include <string_view>

namespace pl4120 {

/// Turns a file dialog filter of the form "description|pattern|description|pattern..." (UTF-8)
/// into the form "description (pattern);;description (pattern)". Several patterns of one entry
/// are separated by ";" in the source and by blanks in the result. The pattern "*.*" becomes
/// "*", so that "all files" also shows names without a dot. A description without a pattern
/// is dropped.
std::string DialogFilterToNameFilter(std::string_view filter);

/// True when `path` names an existing regular file (symbolic links followed), whatever its
/// dates; folders, devices, pipes and sockets do not count.
bool IsExistingFile(const std::string& path);

}  // namespace pl4120

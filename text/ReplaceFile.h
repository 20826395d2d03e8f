#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pl4120 {

/// Hands the bytes of a new file content to `write`, in as many slices as it likes; `write`
/// returns false when the file could not take them (the producer then stops).
using FileContent = std::function<void(const std::function<bool(std::string_view)>& write)>;

/// Replaces the content of the file `path` (a platform file name; created when missing) in one
/// step: the content goes into a new file beside it, which takes the file's name only once all
/// of it is written and on the disk, so that a failure at any point (a full disk, no rights, a
/// crash) leaves the old file as it was. A symbolic link keeps pointing at the file it named,
/// which gets the new content; an existing file keeps its permissions, a new one gets those of
/// any new file. Returns the reason of a failure (Russian, without a final period), or an empty
/// string.
std::string ReplaceFile(const std::string& path, const FileContent& content);
/// The same with the whole content at hand.
std::string ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace pl4120

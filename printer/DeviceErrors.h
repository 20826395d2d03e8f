#pragma once

#include <string>

#include "printer/DeviceChannel.h"
#include "text/Errors.h"  // RussianErrorText

namespace pl4120 {

/// How to get the right to write to `path` when it exists but its owner or group keeps us out:
/// the group that may write to it and how to join it, or an empty string when the file does not
/// exist or membership of its group would not help. UTF-8.
std::string AccessAdvice(const std::string& path);

/// The message for a send to the destination `name` (the name as the user typed it) that did
/// not end well: the error box's text for a failure, naming the destination (and the path
/// actually opened when it differs) and the reason; for a cancelled job, how far it got and
/// what becomes of the rest. Empty for a send that succeeded. UTF-8.
std::string DeviceErrorMessage(const std::string& name, const WriteResult& result);

/// What the progress says while the destination takes no byte.
std::string StallText();

}  // namespace pl4120

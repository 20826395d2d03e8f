#pragma once

#include <string>

#include "printer/DeviceChannel.h"

/// The reason for an errno value in Russian, without a final period ("Нет такого файла или
/// каталога"); the system's own text for values without a translation.
std::string RussianErrorText(int error);

/// How to get the right to write to `path` when it exists but its owner or group keeps us out:
/// the group that may write to it and how to join it, or an empty string when the file does not
/// exist or membership of its group would not help. UTF-8.
std::string AccessAdvice(const std::string& path);

/// The message of the error box for a failed send to the device `name` (the name as the user
/// typed it; the path actually opened is named too when it differs). UTF-8.
std::string DeviceErrorMessage(const std::string& name, const pl4120::WriteResult& result);

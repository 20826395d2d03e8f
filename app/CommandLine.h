#pragma once

#include <QString>
#include <QStringList>
#include <optional>

/// What the command line asks for, worked out before any window or display exists.
struct CommandLineOutcome {
  /// Set when the program ends here with this exit code (help, version, a wrong argument);
  /// unset when it goes on to open its window.
  std::optional<int> exitCode;
  QString out;  ///< for standard output
  QString err;  ///< for standard error
};

/// Reads the program's arguments (the first is the program's own name): "-h"/"--help" and
/// "-v"/"--version" give their Russian text and exit code 0; an unknown option, an option
/// without its value or a stray argument give a Russian error and exit code 1. Qt's own
/// options (-platform, -style, -display and the like) are let through for the application
/// object to take.
CommandLineOutcome ReadCommandLine(const QStringList& arguments);

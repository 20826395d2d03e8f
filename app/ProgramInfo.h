#pragma once

#include <QString>

/// The program's file name, as the command line and the package know it.
QString ProgramName();

/// The program's version (the project's version in its build).
QString ProgramVersion();

/// The copyright line of the program's licence.
QString ProgramCopyright();

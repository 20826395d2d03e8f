#include "app/ProgramInfo.h"

#ifndef PL4120_VERSION
#error "the build defines PL4120_VERSION"
#endif

QString ProgramName() {
  return QStringLiteral("pl4120");
}

QString ProgramVersion() {
  return QStringLiteral(PL4120_VERSION);
}

QString ProgramCopyright() {
  return QStringLiteral("Copyright (c) 2026 the ПЛ 4120 utility developers");
}

#include <QString>
#include <QStringList>
#include <cstdio>

#include "ui/Application.h"
#include "ui/CommandLine.h"
#include "ui/Unit1.h"

namespace {

void Print(std::FILE* stream, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
  std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv) {
  // The command line is read before the application object exists, so that --help and
  // --version work without a display.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  const CommandLineOutcome outcome = ReadCommandLine(arguments);
  Print(stdout, outcome.out);
  Print(stderr, outcome.err);
  if (outcome.exitCode) {
    return *outcome.exitCode;
  }

  TApplication app(argc, argv);
  TPL4120_1 window;
  window.LoadStoredSettings();  // the settings kept by "Выход с сохранением"
  window.show();                // the window opens maximised by itself
  return TApplication::exec();
}

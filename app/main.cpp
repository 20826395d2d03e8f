#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdio>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "printer/Destination.h"
#include "ui/window/Unit1.h"

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
  int code = 0;
  {
    TPL4120_1 window;
    window.LoadStoredSettings();  // the settings kept by "Выход с сохранением"
    window.show();                // the window opens maximised by itself
    code = TApplication::exec();
  }  // the window's print queue stops its jobs here
  // A print-service job cancelled at the end gets its cancel to the server, if it answers soon.
  pl4120::FinishLeftWork(std::chrono::milliseconds(1500));
  return code;
}

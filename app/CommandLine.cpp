#include "app/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <array>

#include "app/ProgramInfo.h"

namespace {

// Options that Qt's application objects take from the command line themselves; they are
// accepted here and left in place for them. Qt reads each with one or two leading dashes.
constexpr std::array kQtOptionsWithValue = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "qwindowtitle",
    "qwindowicon",     "geometry",
    "title",           "icon",
    "display",         "name",
    "visual",          "session",
    "style",           "stylesheet",
    "qmljsdebugger",   "qwindowstate",
};
constexpr std::array kQtFlags = {"reverse", "testability", "widgetcount",
                                 "nograb",  "dograb",      "sync"};

QString Quoted(const QString& text) {
  return QStringLiteral("«") + text + QStringLiteral("»");
}

QString HelpText(const QString& program) {
  return QStringLiteral("Использование: ") + program + QStringLiteral(" [параметры]\n") +
         QStringLiteral(
             "Работа с матричным принтером «ПЛ 4120»: настройка принтера кодами ESC/P и печать "
             "текстов в кодировке 866.\n"
             "\n"
             "Параметры:\n"
             "  -h, --help     показать эту справку и выйти\n"
             "  -v, --version  показать версию программы и выйти\n"
             "\n"
             "Принимаются и общие параметры Qt, например -platform и -style.\n"
             "Руководство открывает кнопка «Помощь» в окне программы.\n");
}

QString ErrorText(const QString& program, const QString& problem) {
  return program + QStringLiteral(": ") + problem + QStringLiteral("\nСправка: ") + program +
         QStringLiteral(" --help\n");
}

// Qt's parser says what went wrong only in English; its two kinds of error that are not an
// unknown option both name the option between apostrophes.
QString OptionInError(const QString& errorText) {
  const qsizetype first = errorText.indexOf(QLatin1Char('\''));
  const qsizetype last = errorText.lastIndexOf(QLatin1Char('\''));
  return first >= 0 && last > first ? errorText.mid(first + 1, last - first - 1) : QString();
}

// The option `name` the way the user typed it (with its dashes, without a value after "=").
QString AsTyped(const QStringList& arguments, const QString& name) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if (argument == QStringLiteral("--")) {
      break;
    }
    const qsizetype dashes = argument.startsWith(QStringLiteral("--")) ? 2
                             : argument.startsWith(QLatin1Char('-'))   ? 1
                                                                       : 0;
    if (dashes > 0 && argument.mid(dashes).section(QLatin1Char('='), 0, 0) == name) {
      return argument.section(QLatin1Char('='), 0, 0);
    }
  }
  return QStringLiteral("--") + name;
}

}  // namespace

CommandLineOutcome ReadCommandLine(const QStringList& arguments) {
  const QString program = arguments.isEmpty() || QFileInfo(arguments.first()).fileName().isEmpty()
                              ? ProgramName()
                              : QFileInfo(arguments.first()).fileName();

  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("показать эту справку и выйти"));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("показать версию программы и выйти"));
  parser.addOption(help);
  parser.addOption(version);
  for (const char* name : kQtOptionsWithValue) {
    QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name : kQtFlags) {
    QCommandLineOption option(QString::fromLatin1(name));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  CommandLineOutcome outcome;
  if (!parser.parse(arguments.isEmpty() ? QStringList{ProgramName()} : arguments)) {
    const QStringList unknown = parser.unknownOptionNames();
    QString problem;
    if (!unknown.isEmpty()) {
      problem = QStringLiteral("неизвестный параметр ") +
                Quoted(AsTyped(arguments, unknown.first())) + QStringLiteral(".");
    } else if (parser.errorText().startsWith(QStringLiteral("Missing value"))) {
      problem = QStringLiteral("у параметра ") + Quoted(OptionInError(parser.errorText())) +
                QStringLiteral(" нет значения.");
    } else {
      problem = QStringLiteral("параметр ") + Quoted(OptionInError(parser.errorText())) +
                QStringLiteral(" не принимает значения.");
    }
    outcome.exitCode = 1;
    outcome.err = ErrorText(program, problem);
    return outcome;
  }
  if (!parser.positionalArguments().isEmpty()) {
    outcome.exitCode = 1;
    outcome.err = ErrorText(program, QStringLiteral("лишний аргумент ") +
                                         Quoted(parser.positionalArguments().first()) +
                                         QStringLiteral(": программа не принимает имён файлов."));
    return outcome;
  }
  if (parser.isSet(version)) {
    outcome.exitCode = 0;
    outcome.out = program + QLatin1Char(' ') + ProgramVersion() + QLatin1Char('\n');
  } else if (parser.isSet(help)) {
    outcome.exitCode = 0;
    outcome.out = HelpText(program);
  }
  return outcome;
}

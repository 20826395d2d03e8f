#pragma once

#include <QByteArray>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QWidget>
#include <memory>

#include "ui/Application.h"
#include "ui/Unit1.h"

/// Finds a control of the window by objectName; fails the test when it is missing.
template <class T = QWidget>
T* Find(QObject* root, const char* name) {
  T* found = root->findChild<T*>(QString::fromLatin1(name));
  if (!found) {
    QTest::qFail(qPrintable(QStringLiteral("no control named ") + QString::fromLatin1(name)),
                 __FILE__, __LINE__);
  }
  return found;
}

/// Selects in an editor by character positions (a line end is one position there).
inline void SelectChars(QPlainTextEdit* editor, int anchor, int position) {
  QTextCursor cursor = editor->textCursor();
  cursor.setPosition(anchor);
  cursor.setPosition(position, QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
}

/// A test program's main: the real application object, offscreen when no display is set,
/// and a private runtime folder so that Qt keeps quiet about it.
#define PL4120_TEST_MAIN(TestClass)                                                      \
  int main(int argc, char** argv) {                                                      \
    if (qEnvironmentVariableIsEmpty("DISPLAY") &&                                        \
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {                                \
      qputenv("QT_QPA_PLATFORM", "offscreen");                                           \
    }                                                                                    \
    const QByteArray runtime = QDir::tempPath().toLocal8Bit() + "/pl4120-xdg-" +         \
                               QByteArray::number(QCoreApplication::applicationPid());   \
    QDir().mkpath(QString::fromLocal8Bit(runtime));                                      \
    QFile::setPermissions(QString::fromLocal8Bit(runtime), QFileDevice::ReadOwner |      \
                                                               QFileDevice::WriteOwner | \
                                                               QFileDevice::ExeOwner);   \
    qputenv("XDG_RUNTIME_DIR", runtime);                                                 \
    TApplication app(argc, argv);                                                        \
    app.setAttribute(Qt::AA_Use96Dpi, true);                                             \
    TestClass test;                                                                      \
    QTEST_SET_MAIN_SOURCE_PATH                                                           \
    return QTest::qExec(&test, argc, argv);                                              \
  }

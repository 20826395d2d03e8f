// The send session without a window: the print job that holds printing back, what "Отмена"
// tells, and the messages that wait while the close question is up.

#include <sys/stat.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "tests/support/PrintRig.h"
#include "ui/session/SendSession.h"

namespace rig = pl4120::rig;

class TestSendSession : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  std::string Path(const char* name) const {
    return dir_.filePath(QString::fromLatin1(name)).toStdString();
  }
  // Waits until nothing waits or runs any more.
  static bool Done(TSendSession& session) {
    return QTest::qWaitFor([&] { return !session.Busy(); }, 10000);
  }
  static std::vector<std::string> Messages(const QSignalSpy& spy) {
    std::vector<std::string> texts;
    for (const QList<QVariant>& args : spy) {
      texts.push_back(args.at(0).value<std::string>());
    }
    return texts;
  }

 private slots:
  void initTestCase() { qRegisterMetaType<std::string>("std::string"); }

  void printWaitsForTheLastPrintJob() {
    TSendSession session;
    QSignalSpy allowed(&session, &TSendSession::printAllowed);

    const auto first = session.Print(Path("first.prn"), "1", "t");
    const auto second = session.Print(Path("second.prn"), "2", "t");
    const auto eject = session.Send(Path("eject.prn"), "\f", "t");

    QVERIFY(first != 0);
    QCOMPARE(second, TPrintQueue::Id{0});
    QVERIFY(eject != 0);  // other sends are never held
    QVERIFY(session.PrintBusy());
    QVERIFY(Done(session));
    QVERIFY(!session.PrintBusy());
    QCOMPARE(allowed.count(), 2);
    QCOMPARE(allowed.at(0).at(0).toBool(), false);
    QCOMPARE(allowed.at(1).at(0).toBool(), true);
    QVERIFY(!QFile::exists(QString::fromStdString(Path("second.prn"))));
  }

  void cancelTellsWhatItDroppedWithTheRunningJob() {
    const std::string fifo = Path("stalled");
    QCOMPARE(mkfifo(fifo.c_str(), 0600), 0);
    rig::FifoSink reader(fifo, {.stopReadingAfter = 0});
    QVERIFY(reader.opened());
    TSendSession session;
    QSignalSpy started(&session, &TSendSession::jobStarted);
    QSignalSpy messages(&session, &TSendSession::message);
    session.Print(fifo, std::string(1 << 20, 'x'), "t");
    session.Send(Path("a.prn"), "a", "t");
    session.Send(Path("b.prn"), "b", "t");
    QVERIFY(started.wait(5000));

    session.Cancel();

    QVERIFY(Done(session));
    const std::vector<std::string> texts = Messages(messages);
    QCOMPARE(texts.size(), std::size_t{1});
    QVERIFY2(texts[0].starts_with("Печать на ") &&
                 texts[0].ends_with(" Задания, ждавшие очереди, не отправлены: 2."),
             texts[0].c_str());
    QVERIFY(!QFile::exists(QString::fromStdString(Path("a.prn"))));
  }

  void messagesWaitForTheCloseQuestion_data() {
    QTest::addColumn<bool>("quit");
    QTest::newRow("stay") << false;
    QTest::newRow("quit") << true;
  }

  void messagesWaitForTheCloseQuestion() {
    QFETCH(bool, quit);
    TSendSession session;
    QSignalSpy messages(&session, &TSendSession::message);
    QSignalSpy closing(&session, &TSendSession::closing);
    session.CloseQuestionShown();
    session.Send(Path("missing/printer.prn"), "x", "t");
    QVERIFY(Done(session));
    QCOMPARE(messages.count(), 0);

    session.CloseQuestionAnswered(quit);

    QCOMPARE(messages.count(), quit ? 0 : 1);
    QCOMPARE(closing.count(), quit ? 1 : 0);
    session.Send(Path("missing/printer.prn"), "x", "t");
    QVERIFY(Done(session));
    QCOMPARE(messages.count(), quit ? 0 : 2);  // after quitting nothing more is told
  }
};

QTEST_GUILESS_MAIN(TestSendSession)
#include "test_send_session.moc"

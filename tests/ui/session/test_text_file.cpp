// The text file session without a window: which file the text belongs to and whether it counts
// as edited after reads, merges, failed reads and saves.

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "text/Errors.h"
#include "ui/session/TextFile.h"

using namespace std::string_literals;

namespace {

// A text held as a string, with the editor's line rule: lines joined by CR LF.
class StringTarget : public TTextTarget {
 public:
  std::string text;
  int fills = 0;
  bool filling = false;

  bool IsEmpty() const override { return text.empty(); }
  bool EndsWithLineEnd() const override { return text.ends_with("\r\n"); }
  qint64 Size() const override { return static_cast<qint64>(text.size()); }
  void BeginFill(bool replace) override {
    ++fills;
    filling = true;
    if (replace) {
      text.clear();
    }
  }
  void Append(std::string_view piece) override { text += piece; }
  void EndFill() override { filling = false; }
};

}  // namespace

class TestTextFile : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  std::string Write(const char* name, const std::string& bytes) {
    const QString path = dir_.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
      qFatal("cannot write %s", qPrintable(path));
    }
    return QFile::encodeName(path).toStdString();
  }

 private slots:
  void readSettlesTheTextAndItsFlag_data() {
    QTest::addColumn<std::string>("before");
    QTest::addColumn<bool>("editedBefore");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<std::string>("file");
    QTest::addColumn<std::string>("after");
    QTest::addColumn<bool>("editedAfter");
    QTest::newRow("read over an edited text") << "xyz"s << true << true << "a\n"s
                                              << "a\r\n"s << false;
    QTest::newRow("merge onto nothing") << ""s << false << false << "a\n"s
                                        << "a\r\n"s << false;
    QTest::newRow("merge onto a text") << "xyz"s << false << false << "a\r\n"s
                                       << "xyz\r\na"s << true;
    QTest::newRow("empty merge onto an unedited text") << "xyz"s << false << false << ""s
                                                       << "xyz"s << false;
    QTest::newRow("empty merge onto an edited text") << "xyz"s << true << false << ""s
                                                     << "xyz"s << true;
  }

  void readSettlesTheTextAndItsFlag() {
    QFETCH(std::string, before);
    QFETCH(bool, editedBefore);
    QFETCH(bool, replace);
    QFETCH(std::string, file);
    QFETCH(std::string, after);
    QFETCH(bool, editedAfter);
    TTextFile textFile;
    textFile.SetEdited(editedBefore);
    StringTarget target;
    target.text = before;
    QSignalSpy named(&textFile, &TTextFile::fileNamed);
    const std::string path = Write("file.txt", file);

    QVERIFY(textFile.Read(path, replace, target));

    QCOMPARE(target.text, after);
    QCOMPARE(target.fills, 1);
    QCOMPARE(textFile.Edited(), editedAfter);
    QCOMPARE(textFile.Name(), path);
    QCOMPARE(named.count(), 1);
    QCOMPARE(named.at(0).at(0).toString(), QFile::decodeName(QByteArray::fromStdString(path)));
  }

  void missingFileChangesNothing() {
    TTextFile textFile;
    textFile.SetName("/kept");
    textFile.SetEdited(true);
    StringTarget target;
    target.text = "xyz";
    QSignalSpy named(&textFile, &TTextFile::fileNamed);

    QVERIFY(!textFile.Read(dir_.filePath(QStringLiteral("none")).toStdString(), true, target));

    QCOMPARE(target.text, "xyz"s);
    QCOMPARE(target.fills, 0);
    QCOMPARE(textFile.Name(), "/kept"s);
    QVERIFY(textFile.Edited());
    QCOMPARE(named.count(), 0);
  }

  void failedReadKeepsTheNameAndEndsTheEdit() {
    TTextFile textFile;
    textFile.SetName("/kept");
    StringTarget target;
    target.text = "xyz";

    // A regular file of the system whose first read fails.
    QVERIFY_THROWS_EXCEPTION(pl4120::EInOutError, textFile.Read("/proc/self/mem", false, target));

    QVERIFY(!target.filling);
    QCOMPARE(textFile.Name(), "/kept"s);
    QVERIFY(!textFile.Edited());
  }

  void saveNamesTheFileOnlyWhenItWorked() {
    TTextFile textFile;
    textFile.SetEdited(true);
    const std::string path = Write("saved.txt", "old");
    QSignalSpy edited(&textFile, &TTextFile::editedChanged);

    QVERIFY(!textFile.SaveTo(path + "/below", "new").isEmpty());
    QVERIFY(textFile.Edited());
    QVERIFY(textFile.Name().empty());

    QCOMPARE(textFile.SaveTo(path, "new\r\n"), QString());
    QVERIFY(!textFile.Edited());
    QCOMPARE(textFile.Name(), path);
    QCOMPARE(edited.count(), 1);
    QFile saved(QFile::decodeName(QByteArray::fromStdString(path)));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("new\r\n"));
  }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_text_file.moc"

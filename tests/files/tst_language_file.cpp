// Reading language files: which bytes make which characters, which
// characters make which texts, and the translations shipped with the tool.
#include "files/language_file.h"
#include "files/records.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLanguageFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private Q_SLOTS:
    void decodesUtf8ElseWindows1252_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8") << QByteArray("J\xC4\x99zyk") << QStringLiteral("Język");
        QTest::newRow("UTF-8 mark dropped") << QByteArray("\xEF\xBB\xBF\x44il") << "Dil";
        QTest::newRow("1252 euro and oe") << QByteArray("\x80 \x9C") << "\u20AC \u0153";
        QTest::newRow("1252 undefined byte kept") << QByteArray("a\x81\x62") << "a\u0081b";
        // A lone lead byte makes the whole file Windows-1252, valid pairs included.
        QTest::newRow("mixed is 1252") << QByteArray("\xC3\xA8 \xE8") << "Ã¨ è";
        QTest::newRow("truncated UTF-8 is 1252") << QByteArray("\xC3") << "Ã";
    }
    void decodesUtf8ElseWindows1252() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(records::decode(bytes), text);
    }

    void lineSplitsIntoTexts_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("header is text 0") << "FichierLangage:]one]two" << QList<int>{0, 1, 2, 3}
                                          << QStringList{"FichierLangage:", "one", "two", ""};
        QTest::newRow("empty texts stay empty")
            << "FichierLangage:]]]C" << QList<int>{1, 2, 3} << QStringList{"", "", "C"};
        QTest::newRow("blanks kept")
            << "FichierLangage:]  A  ] B" << QList<int>{1, 2} << QStringList{"  A  ", " B"};
        QTest::newRow("text after the header")
            << "FichierLangage:x]y" << QList<int>{0, 1} << QStringList{"FichierLangage:x", "y"};
        QString long202 = "FichierLangage:";
        for (int k = 1; k <= 202; ++k)
            long202 += ']' + QString::number(k);
        QTest::newRow("texts past 200 dropped")
            << long202 << QList<int>{199, 200} << QStringList{"199", "200"};
    }
    void lineSplitsIntoTexts() {
        QFETCH(QString, line);
        QFETCH(QList<int>, numbers);
        QFETCH(QStringList, expected);
        QStringList texts;
        QVERIFY(language::parseLine(line, texts));
        QCOMPARE(texts.size(), 201);
        for (int i = 0; i < numbers.size(); ++i)
            QCOMPARE(texts[numbers[i]], expected[i]);
    }

    void wrongHeaderIsRejected_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("lower case") << QString("fichierlangage:]A");
        QTest::newRow("colon missing") << QString("FichierLangage]A");
        QTest::newRow("leading text") << QString("xFichierLangage:]A");
    }
    void wrongHeaderIsRejected() {
        QFETCH(QString, line);
        QStringList texts{"kept"};
        QVERIFY(!language::parseLine(line, texts));
        QCOMPARE(texts, QStringList{"kept"});
    }

    void fileReadsItsLastRecord_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text2"); // null: the file is refused
        QTest::newRow("CR LF") << QByteArray("FichierLangage:]]Moniteur]x\r\n") << "Moniteur";
        QTest::newRow("LF only") << QByteArray("FichierLangage:]]Monitor\n") << "Monitor";
        QTest::newRow("last line counts")
            << QByteArray("junk\r\nFichierLangage:]]Second\r\n") << "Second";
        QTest::newRow("header on an earlier line")
            << QByteArray("FichierLangage:]]First\r\njunk\r\n") << QString();
        QTest::newRow("blanks around the line dropped")
            << QByteArray("  FichierLangage:]] A \r\n") << " A";
        QTest::newRow("empty file") << QByteArray() << QString();
    }
    void fileReadsItsLastRecord() {
        QFETCH(QByteArray, content);
        QFETCH(QString, text2);
        QFile file(dir.filePath("test.lng"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) >= 0);
        file.close();
        QStringList texts;
        QCOMPARE(language::readFile(file.fileName(), texts),
                 text2.isNull() ? language::ReadResult::BadHeader : language::ReadResult::Read);
        QCOMPARE(texts.value(2), text2);
        QVERIFY(!text2.isNull() || texts.isEmpty());
    }

    void shippedFilesHoldEveryUsedText_data() {
        QTest::addColumn<QString>("name");
        for (const char *name :
             {"english", "francais", "italiano", "espanol", "deutsch", "polski", "turkce"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void shippedFilesHoldEveryUsedText() {
        QFETCH(QString, name);
        QStringList texts;
        const QString path = QDir(GASECU_SOURCE_LANGUAGES).filePath(name + ".lng");
        QCOMPARE(language::readFile(path, texts), language::ReadResult::Read);
        // Every text a caption, list entry or message takes: 2..82 but 30.
        for (int k = 2; k <= 82; ++k)
            QVERIFY2(k == 30 ? texts[k].isEmpty() : !texts[k].trimmed().isEmpty(),
                     qPrintable(QString::number(k)));
        // Messages followed by a port number end where the number goes.
        for (int k : {68, 71, 73})
            QVERIFY2(texts[k].endsWith("COM"), qPrintable(QString::number(k)));
    }
};

QTEST_MAIN(TestLanguageFile)
#include "tst_language_file.moc"

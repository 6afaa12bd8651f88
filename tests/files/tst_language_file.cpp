// Reading language files: which bytes make which characters, which
// characters make which texts, and the translations shipped with the tool.
#include "files/language_file.h"
#include "files/records.h"
#include "pages/data_table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

class TestLanguageFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private Q_SLOTS:
    void decodesUtf8ElseWindows1252_data() {
        columns<QByteArray, QString>("bytes", "text");
        row("UTF-8", QByteArray("J\xC4\x99zyk"), QStringLiteral("Język"));
        row("UTF-8 mark dropped", QByteArray("\xEF\xBB\xBF\x44il"), "Dil");
        row("1252 euro and oe", QByteArray("\x80 \x9C"), "\u20AC \u0153");
        row("1252 undefined byte kept", QByteArray("a\x81\x62"), "a\u0081b");
        // A lone lead byte makes the whole file Windows-1252, valid pairs included.
        row("mixed is 1252", QByteArray("\xC3\xA8 \xE8"), "Ã¨ è");
    }
    void decodesUtf8ElseWindows1252() {
        const auto [bytes, text] = fetch<QByteArray, QString>("bytes", "text");
        QCOMPARE(records::decode(bytes), text);
    }

    void lineSplitsIntoTexts_data() {
        columns<QString, QList<int>, QStringList>("line", "numbers", "expected");
        row("header is text 0", "FichierLangage:]one]two", QList<int>{0, 1, 2, 3},
            QStringList{"FichierLangage:", "one", "two", ""});
        row("empty texts and blanks kept", "FichierLangage:]]  A  ] B", QList<int>{1, 2, 3},
            QStringList{"", "  A  ", " B"});
        row("text after the header", "FichierLangage:x]y", QList<int>{0, 1},
            QStringList{"FichierLangage:x", "y"});
        QString long202 = "FichierLangage:";
        for (int k = 1; k <= 202; ++k)
            long202 += ']' + QString::number(k);
        row("texts past 200 dropped", long202, QList<int>{199, 200}, QStringList{"199", "200"});
        row("wrong header: lower case", "fichierlangage:]A", QList<int>{}, QStringList{});
        row("wrong header: colon missing", "FichierLangage]A", QList<int>{}, QStringList{});
        row("wrong header: leading text", "xFichierLangage:]A", QList<int>{}, QStringList{});
    }
    // A wrong header leaves the texts as they were.
    void lineSplitsIntoTexts() {
        const auto [line, numbers, expected] =
            fetch<QString, QList<int>, QStringList>("line", "numbers", "expected");
        QStringList texts{"kept"};
        QCOMPARE(language::parseLine(line, texts), !numbers.isEmpty());
        QCOMPARE(texts.size(), numbers.isEmpty() ? 1 : 201);
        for (int i = 0; i < numbers.size(); ++i)
            QCOMPARE(texts[numbers[i]], expected[i]);
    }

    void fileReadsItsLastRecord_data() {
        columns<QByteArray, QString>("content", "text2"); // null: the file is refused
        row("CR LF", QByteArray("FichierLangage:]]Moniteur]x\r\n"), "Moniteur");
        row("LF only", QByteArray("FichierLangage:]]Monitor\n"), "Monitor");
        row("last line counts", QByteArray("junk\r\nFichierLangage:]]Second\r\n"), "Second");
        row("header on an earlier line", QByteArray("FichierLangage:]]First\r\njunk\r\n"),
            QString());
        row("blanks around the line dropped", QByteArray("  FichierLangage:]] A \r\n"), " A");
        row("empty file", QByteArray(), QString());
        row("3.6 MB of earlier lines",
            QByteArray("junk\r\n").repeated(600000) + "FichierLangage:]]Last\r\n", "Last");
    }
    void fileReadsItsLastRecord() {
        const auto [content, text2] = fetch<QByteArray, QString>("content", "text2");
        QFile file(dir.filePath("test.lng"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) >= 0);
        file.close();
        QStringList texts;
        QCOMPARE(language::readFile(file.fileName(), texts),
                 text2.isNull() ? language::ReadResult::BadHeader : language::ReadResult::Read);
        QCOMPARE(texts.value(2), text2);
    }

    // Read to the bound at most and refused, or to an early end: never
    // waited on without end.
    void otherThingsAreNoLanguageFiles_data() {
        columns<QString>("path");
        row("endless device", "/dev/zero");
        row("empty device", "/dev/null");
        row("fifo without writer", "fifo.lng");
        row("folder", "folder.lng");
    }
    void otherThingsAreNoLanguageFiles() {
        const auto [name] = fetch<QString>("path");
        QString path = name;
        if (name == "fifo.lng") {
            path = dir.filePath(name);
            QVERIFY(QFile::exists(path) ||
                    ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (name == "folder.lng") {
            path = dir.filePath(name);
            QVERIFY(QDir().mkpath(path));
        } else if (!QFile::exists(path)) {
            QSKIP("no such device here");
        }
        QStringList texts{"kept"};
        QCOMPARE(language::readFile(path, texts), language::ReadResult::BadHeader);
        QCOMPARE(texts, QStringList{"kept"});
    }

    void shippedFilesHoldEveryUsedText_data() {
        columns<QString>("name");
        for (const char *name :
             {"english", "francais", "italiano", "espanol", "deutsch", "polski", "turkce"})
            row(name, QString::fromLatin1(name));
    }
    void shippedFilesHoldEveryUsedText() {
        const auto [name] = fetch<QString>("name");
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

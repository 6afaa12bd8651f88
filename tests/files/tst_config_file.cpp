// prconfig.txt and the record reader every file of the tool uses.
#include "files/config_file.h"
#include "files/records.h"
#include "pages/data_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

class TestConfigFile : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void records_data() {
        columns<QString, QStringList>("text", "expected");
        row("commas", "a, b ,c\n", QStringList{"a", "b", "c"});
        row("quoted keeps comma", "\"x, y\",z", QStringList{"x, y", "z"});
        row("lines", "one\ntwo\r\nthree", QStringList{"one", "two", "three"});
        row("empty", "", QStringList{});
        row("trailing empty records dropped", "a,b, ,\r\n,\n\"\"", QStringList{"a", "b"});
        row("quoted blanks kept", "x,\"  y  \"", QStringList{"x", "  y  "});
        row("after closing quote dropped", "\"a\"bc,d\"e\"", QStringList{"a", "d\"e\""});
        row("quoted line end", "\"one\ntwo\"\r\n", QStringList{"one\ntwo"});
        row("unclosed quote", "a,\"b,c", QStringList{"a", "b,c"});
        row("non-ASCII blanks", "x,\u00A0y\u00A0", QStringList{"x", "y"});
    }
    // A file's last record is the last non-empty one split() gives.
    void records() {
        const auto [text, expected] = fetch<QString, QStringList>("text", "expected");
        QCOMPARE(records::split(text), expected);
        QTemporaryDir dir;
        QFile file(dir.filePath("records.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0);
        file.close();
        bool readable = false;
        QCOMPARE(records::lastRecord(file.fileName(), &readable),
                 expected.value(expected.size() - 1));
        QVERIFY(readable);
    }

    // Bytes: read as a stream, bounded whatever the file; UTF-8 only when the
    // whole file is.
    void lastRecordOfBytes_data() {
        columns<QByteArray, qint64, QString, bool>("content", "padding", "expected", "readable");
        row("UTF-8", QByteArray("J\xC4\x99zyk"), 0LL, QStringLiteral("Język"), true);
        row("mark dropped", QByteArray("\xEF\xBB\xBF\"Dil\""), 0LL, "Dil", true);
        row("mark alone", QByteArray("\xEF\xBB\xBF"), 0LL, "", true);
        row("two bytes of a mark", QByteArray("\xEF\xBB"), 0LL, "\u00EF\u00BB", true);
        row("bad byte earlier makes 1252", QByteArray("\xE8,\xC3\xA8"), 0LL, "Ã¨", true);
        row("cut sequence at the end makes 1252", QByteArray("\xC3\xA8,\xC3"), 0LL, "Ã", true);
        row("surrogate makes 1252", QByteArray("\xED\xA0\x80"), 0LL, "í\u00A0€", true);
        row("1252 euro and oe", QByteArray("\x80 \x9C"), 0LL, "\u20AC \u0153", true);
        row("1252 undefined byte kept", QByteArray("a\x81\x62"), 0LL, "a\u0081b", true);
        row("1252 NBSP trimmed", QByteArray("\xA0x\xA0"), 0LL, "x", true);
        row("at the bound", QByteArray(",last"), records::MaxReadBytes - 5, "last", true);
        row("one byte past", QByteArray(",last"), records::MaxReadBytes - 4, "", false);
    }
    void lastRecordOfBytes() {
        const auto [content, padding, expected, readable] =
            fetch<QByteArray, qint64, QString, bool>("content", "padding", "expected", "readable");
        QTemporaryDir dir;
        QFile file(dir.filePath("bytes.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(padding, 'p')) == padding);
        QVERIFY(file.write(content) == content.size());
        file.close();
        bool wasReadable = !readable;
        QCOMPARE(records::lastRecord(file.fileName(), &wasReadable), expected);
        QCOMPARE(wasReadable, readable);
    }

    // What is not a file of ours is read to its end or to the bound, never
    // waited on without end.
    void lastRecordOfOtherThings_data() {
        columns<QString, bool>("path", "readable");
        row("endless device", "/dev/zero", false);
        row("empty device", "/dev/null", true);
        row("folder", "FOLDER", false);
        row("fifo without writer", "FIFO", true);
        row("missing", "MISSING", false);
    }
    void lastRecordOfOtherThings() {
        const auto [name, readable] = fetch<QString, bool>("path", "readable");
        QTemporaryDir dir;
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("FIFO")).constData(), 0600) == 0);
        const QString path = name.startsWith('/') ? name : dir.filePath(name);
        if (name == "FOLDER")
            QVERIFY(QDir().mkdir(path));
        if (name.startsWith('/') && !QFileInfo::exists(path))
            QSKIP("no such device here");
        bool wasReadable = !readable;
        QCOMPARE(records::lastRecord(path, &wasReadable), QString());
        QCOMPARE(wasReadable, readable);
    }

    void readAndWriteBack_data() {
        // written: as read, when not given
        columns<QByteArray, int, int, QString, QByteArray>("content", "result", "port", "language",
                                                           "written");
        const int read = int(ConfigFile::ReadResult::Read);
        row("port and language", QByteArray("FichierConfig:]3]/lng/fr.lng]]]]Fin\r\n"), read, 3,
            "/lng/fr.lng", QByteArray());
        row("kept fields and excess separators",
            QByteArray("FichierConfig:]2]]a]b]c]d]e]f]g]h]i]j]k]Fin"), read, 2, "",
            QByteArray("FichierConfig:]2]]a]b]c]Fin\r\n"));
        row("port beyond a byte", QByteArray("FichierConfig:]300]]]]]Fin\r\n"), read, 0, "",
            QByteArray());
        row("wrong header", QByteArray("Fichier:]3]]]]]Fin\r\n"),
            int(ConfigFile::ReadResult::BadHeader), 0, "",
            QByteArray("FichierConfig:]]]]]]Fin\r\n"));
        row("unescaped comma cuts the line", QByteArray("FichierConfig:]3]/a,b/fr.lng]]]]Fin\r\n"),
            int(ConfigFile::ReadResult::BadHeader), 0, "",
            QByteArray("FichierConfig:]]]]]]Fin\r\n"));
    }
    void readAndWriteBack() {
        const auto [content, result, port, language, written] =
            fetch<QByteArray, int, int, QString, QByteArray>("content", "result", "port",
                                                             "language", "written");
        QTemporaryDir dir;
        ConfigFile config(dir.path());
        QFile file(config.path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QCOMPARE(int(config.ReadConfigFile()), result);
        QCOMPARE(config.portNumber(), port);
        QCOMPARE(config.languagePath(), language);
        QVERIFY(config.WriteConfigFile() && file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written.isEmpty() ? content : written);
    }

    // Any language path is written so that it reads back as it was.
    void languagePathReadsBack_data() {
        columns<QString, QByteArray>("path", "written");
        row("comma", "/home/fitter/Langues, FR/fr.lng",
            QByteArray("FichierConfig:]7]/home/fitter/Langues%2C FR/fr.lng]]]]Fin\r\n"));
        row("bracket", "/lng/[v2]/fr.lng",
            QByteArray("FichierConfig:]7]/lng/[v2%5D/fr.lng]]]]Fin\r\n"));
        row("blanks around", "  /a b/c.lng  ",
            QByteArray("FichierConfig:]7]  /a b/c.lng  ]]]]Fin\r\n"));
        row("non-ASCII", QStringLiteral("/lng/Język çok/pl.lng"),
            QByteArray("FichierConfig:]7]/lng/J\xC4\x99zyk \xC3\xA7ok/pl.lng]]]]Fin\r\n"));
        row("line ends", "/a\r\nb", QByteArray("FichierConfig:]7]/a%0D%0Ab]]]]Fin\r\n"));
        row("percent alone stays", "/100%/x%4",
            QByteArray("FichierConfig:]7]/100%/x%4]]]]Fin\r\n"));
        row("percent before a code", "/%2C,%25%",
            QByteArray("FichierConfig:]7]/%252C%2C%2525%]]]]Fin\r\n"));
    }
    void languagePathReadsBack() {
        const auto [path, written] = fetch<QString, QByteArray>("path", "written");
        QTemporaryDir dir;
        ConfigFile config(dir.path());
        config.ConfigValues[1] = "7";
        config.ConfigValues[2] = path;
        QVERIFY(config.WriteConfigFile());
        QFile file(config.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written);
        ConfigFile again(dir.path());
        QCOMPARE(again.ReadConfigFile(), ConfigFile::ReadResult::Read);
        QCOMPARE(again.languagePath(), path);
        QCOMPARE(again.portNumber(), 7);
    }

    // A folder named prconfig.txt counts as no file and is never replaced.
    void folderInItsPlace() {
        QTemporaryDir dir;
        ConfigFile config(dir.path());
        QVERIFY(QDir().mkdir(config.path()));
        QCOMPARE(config.ReadConfigFile(), ConfigFile::ReadResult::Missing);
        config.ConfigValues[1] = "3";
        QString error;
        QVERIFY(!config.WriteConfigFile(&error));
        QCOMPARE(error, config.path() + ": not a regular file, left as it is");
        QVERIFY(QFileInfo(config.path()).isDir());
    }
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_config_file.moc"

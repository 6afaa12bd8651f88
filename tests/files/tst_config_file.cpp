// prconfig.txt and the record reader every file of the tool uses.
#include "files/config_file.h"
#include "files/records.h"
#include "pages/data_table.h"

#include <QFile>
#include <QTemporaryDir>

class TestConfigFile : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void records_data() {
        columns<QString, QStringList>("text", "expected");
        row("commas", "a, b ,c\n", QStringList{"a", "b", "c"});
        row("quoted keeps comma", "\"x, y\",z", QStringList{"x, y", "z"});
        row("lines", "one\ntwo\r\nthree", QStringList{"one", "two", "three"});
        row("empty", "", QStringList{});
    }
    void records() {
        const auto [text, expected] = fetch<QString, QStringList>("text", "expected");
        QCOMPARE(records::split(text), expected);
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
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_config_file.moc"

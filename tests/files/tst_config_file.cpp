// prconfig.txt and the record reader every file of the tool uses.
#include "files/config_file.h"
#include "files/records.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestConfigFile : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void records_data();
    void records();
    void readAndWriteBack_data();
    void readAndWriteBack();
    void missingFileKeepsDefaults();
};

void TestConfigFile::records_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one line CRLF") << "FichierConfig:]3]]]]]Fin\r\n"
                                   << QStringList{"FichierConfig:]3]]]]]Fin"};
    QTest::newRow("commas") << "a, b ,c\n" << QStringList{"a", "b", "c"};
    QTest::newRow("quoted keeps comma") << "\"x, y\",z" << QStringList{"x, y", "z"};
    QTest::newRow("lines") << "one\ntwo\r\nthree" << QStringList{"one", "two", "three"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestConfigFile::records() {
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(records::split(text), expected);
}

void TestConfigFile::readAndWriteBack_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("port and language") << QByteArray("FichierConfig:]3]/lng/fr.lng]]]]Fin\r\n")
                                       << int(ConfigFile::ReadResult::Read) << 3 << "/lng/fr.lng"
                                       << QByteArray("FichierConfig:]3]/lng/fr.lng]]]]Fin\r\n");
    QTest::newRow("kept fields and excess separators")
        << QByteArray("FichierConfig:]2]]a]b]c]d]e]f]g]h]i]j]k]Fin")
        << int(ConfigFile::ReadResult::Read) << 2 << ""
        << QByteArray("FichierConfig:]2]]a]b]c]Fin\r\n");
    QTest::newRow("empty port") << QByteArray("FichierConfig:]]]]]]Fin\r\n")
                                << int(ConfigFile::ReadResult::Read) << 0 << ""
                                << QByteArray("FichierConfig:]]]]]]Fin\r\n");
    QTest::newRow("port beyond a byte")
        << QByteArray("FichierConfig:]300]]]]]Fin\r\n") << int(ConfigFile::ReadResult::Read) << 0
        << "" << QByteArray("FichierConfig:]300]]]]]Fin\r\n");
    QTest::newRow("wrong header") << QByteArray("Fichier:]3]]]]]Fin\r\n")
                                  << int(ConfigFile::ReadResult::BadHeader) << 0 << ""
                                  << QByteArray("FichierConfig:]]]]]]Fin\r\n");
}

void TestConfigFile::readAndWriteBack() {
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    QFETCH(int, port);
    QFETCH(QString, language);
    QFETCH(QByteArray, written);
    QTemporaryDir dir;
    ConfigFile config(dir.path());
    QFile file(config.path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(int(config.ReadConfigFile()), result);
    QCOMPARE(config.portNumber(), port);
    QCOMPARE(config.languagePath(), language);
    QVERIFY(config.WriteConfigFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), written);
}

void TestConfigFile::missingFileKeepsDefaults() {
    QTemporaryDir dir;
    ConfigFile config(dir.path());
    QCOMPARE(config.ReadConfigFile(), ConfigFile::ReadResult::Missing);
    QCOMPARE(config.portNumber(), 0);
}

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_config_file.moc"

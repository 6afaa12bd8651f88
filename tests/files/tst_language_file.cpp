// Reading language files: which bytes make which characters, which
// characters make which texts, and the translations shipped with the tool.
#include "files/language_file.h"
#include "files/records.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Every text number a caption, list entry or message takes.
QList<int> usedTexts() {
    QList<int> used;
    for (int k = 2; k <= 82; ++k) {
        if (k != 30)
            used.append(k);
    }
    return used;
}
} // namespace

class TestLanguageFile : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void decodesUtf8ElseWindows1252_data();
    void decodesUtf8ElseWindows1252();
    void lineSplitsIntoTexts_data();
    void lineSplitsIntoTexts();
    void wrongHeaderIsRejected_data();
    void wrongHeaderIsRejected();
    void fileReadsItsLastRecord_data();
    void fileReadsItsLastRecord();
    void shippedFilesHoldEveryUsedText_data();
    void shippedFilesHoldEveryUsedText();

  private:
    QString write(const QByteArray &content);
    QTemporaryDir dir;
};

QString TestLanguageFile::write(const QByteArray &content) {
    const QString path = dir.filePath(QStringLiteral("test.lng"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(content);
    return path;
}

void TestLanguageFile::decodesUtf8ElseWindows1252_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain ASCII") << QByteArray("Load") << QStringLiteral("Load");
    QTest::newRow("UTF-8 accents")
        << QByteArray("Param\xC3\xA8tres") << QStringLiteral("Paramètres");
    QTest::newRow("UTF-8 Polish") << QByteArray("J\xC4\x99zyk") << QStringLiteral("Język");
    QTest::newRow("UTF-8 mark dropped") << QByteArray("\xEF\xBB\xBF"
                                                      "Dil")
                                        << QStringLiteral("Dil");
    QTest::newRow("1252 e grave") << QByteArray("Param\xE8tres") << QStringLiteral("Paramètres");
    QTest::newRow("1252 sharp s, u umlaut") << QByteArray("Gr\xFC\xDF"
                                                          "e")
                                            << QStringLiteral("Grüße");
    QTest::newRow("1252 euro and oe") << QByteArray("\x80 \x9C") << QStringLiteral("\u20AC \u0153");
    QTest::newRow("1252 quotes and dash")
        << QByteArray("\x93x\x94\x96") << QStringLiteral("\u201Cx\u201D\u2013");
    QTest::newRow("1252 undefined byte kept") << QByteArray("a\x81"
                                                            "b")
                                              << QStringLiteral("a\u0081b");
    // A lone lead byte makes the whole file Windows-1252, valid pairs included.
    QTest::newRow("mixed is 1252") << QByteArray("\xC3\xA8 \xE8") << QStringLiteral("Ã¨ è");
    QTest::newRow("truncated UTF-8 is 1252") << QByteArray("\xC3") << QStringLiteral("Ã");
}

void TestLanguageFile::decodesUtf8ElseWindows1252() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(records::decode(bytes), text);
}

void TestLanguageFile::lineSplitsIntoTexts_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("header is text 0")
        << QStringLiteral("FichierLangage:]one]two") << QList<int>{0, 1, 2, 3}
        << QStringList{"FichierLangage:", "one", "two", ""};
    QTest::newRow("empty texts stay empty")
        << QStringLiteral("FichierLangage:]]]C") << QList<int>{1, 2, 3} << QStringList{"", "", "C"};
    QTest::newRow("blanks kept") << QStringLiteral("FichierLangage:]  A  ] B") << QList<int>{1, 2}
                                 << QStringList{"  A  ", " B"};
    QTest::newRow("text after the header")
        << QStringLiteral("FichierLangage:x]y") << QList<int>{0, 1}
        << QStringList{"FichierLangage:x", "y"};
    QString long201 = QStringLiteral("FichierLangage:");
    for (int k = 1; k <= 202; ++k)
        long201 += QLatin1Char(']') + QString::number(k);
    QTest::newRow("texts past 200 dropped")
        << long201 << QList<int>{199, 200} << QStringList{"199", "200"};
}

void TestLanguageFile::lineSplitsIntoTexts() {
    QFETCH(QString, line);
    QFETCH(QList<int>, numbers);
    QFETCH(QStringList, expected);
    QStringList texts;
    QVERIFY(language::parseLine(line, texts));
    QCOMPARE(texts.size(), 201);
    for (int i = 0; i < numbers.size(); ++i)
        QCOMPARE(texts[numbers[i]], expected[i]);
}

void TestLanguageFile::wrongHeaderIsRejected_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << QString();
    QTest::newRow("other file") << QStringLiteral("FichierConfig:]3]]]]]Fin");
    QTest::newRow("lower case") << QStringLiteral("fichierlangage:]A");
    QTest::newRow("colon missing") << QStringLiteral("FichierLangage]A");
    QTest::newRow("leading text") << QStringLiteral("xFichierLangage:]A");
}

void TestLanguageFile::wrongHeaderIsRejected() {
    QFETCH(QString, line);
    QStringList texts{QStringLiteral("kept")};
    QVERIFY(!language::parseLine(line, texts));
    QCOMPARE(texts, QStringList{QStringLiteral("kept")});
}

void TestLanguageFile::fileReadsItsLastRecord_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text2");
    const int read = int(language::ReadResult::Read);
    const int bad = int(language::ReadResult::BadHeader);
    QTest::newRow("CR LF") << QByteArray("FichierLangage:]]Moniteur]x\r\n") << read << "Moniteur";
    QTest::newRow("LF only") << QByteArray("FichierLangage:]]Monitor\n") << read << "Monitor";
    QTest::newRow("last line counts")
        << QByteArray("junk\r\nFichierLangage:]]Second\r\n") << read << "Second";
    QTest::newRow("header on an earlier line")
        << QByteArray("FichierLangage:]]First\r\njunk\r\n") << bad << "";
    QTest::newRow("Windows-1252 accents")
        << QByteArray("FichierLangage:]]T\xE9l\xE9m\xE8tre\r\n") << read << "Télémètre";
    QTest::newRow("UTF-8 Turkish")
        << QByteArray("FichierLangage:]]Monit\xC3\xB6r\r\n") << read << "Monitör";
    QTest::newRow("blanks around the line dropped")
        << QByteArray("  FichierLangage:]] A \r\n") << read << " A";
    QTest::newRow("empty file") << QByteArray() << bad << "";
    QTest::newRow("binary garbage") << QByteArray("\x00\xFF\x10]]", 5) << bad << "";
}

void TestLanguageFile::fileReadsItsLastRecord() {
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    QFETCH(QString, text2);
    QStringList texts;
    QCOMPARE(int(language::readFile(write(content), texts)), result);
    if (result == int(language::ReadResult::Read))
        QCOMPARE(texts.value(2), text2);
    else
        QVERIFY(texts.isEmpty());
}

void TestLanguageFile::shippedFilesHoldEveryUsedText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("monitor");
    QTest::addColumn<QString>("language");
    QTest::newRow("english") << "english"
                             << "    Monitor    "
                             << "  Language   ";
    QTest::newRow("francais") << "francais"
                              << "Moniteur"
                              << "Langue";
    QTest::newRow("italiano") << "italiano"
                              << "Monitor"
                              << "Lingua";
    QTest::newRow("espanol") << "espanol"
                             << "Monitor"
                             << "Idioma";
    QTest::newRow("deutsch") << "deutsch"
                             << "Monitor"
                             << "Sprache";
    QTest::newRow("polski") << "polski"
                            << "Monitor"
                            << "Język";
    QTest::newRow("turkce") << "turkce"
                            << "Monitör"
                            << "Dil";
}

void TestLanguageFile::shippedFilesHoldEveryUsedText() {
    QFETCH(QString, name);
    QFETCH(QString, monitor);
    QFETCH(QString, language);
    const QString path =
        QDir(QStringLiteral(GASECU_SOURCE_LANGUAGES)).filePath(name + QStringLiteral(".lng"));
    QStringList texts;
    QCOMPARE(language::readFile(path, texts), language::ReadResult::Read);
    for (int k : usedTexts())
        QVERIFY2(!texts[k].trimmed().isEmpty(), qPrintable(QString::number(k)));
    QCOMPARE(texts[2], monitor);
    QCOMPARE(texts[8], language);
    // Messages followed by a port number end where the number goes.
    for (int k : {68, 71, 73})
        QVERIFY2(texts[k].endsWith(QLatin1String("COM")), qPrintable(QString::number(k)));
    QVERIFY(texts[30].isEmpty());
}

QTEST_MAIN(TestLanguageFile)
#include "tst_language_file.moc"

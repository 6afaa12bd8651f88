// Reading language files: which characters make which texts, and the
// translations shipped with the tool.
#include "files/language_file.h"
#include "pages/data_table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TestLanguageFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private Q_SLOTS:
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
        row("header on an earlier line", QByteArray("FichierLangage:]]First\r\njunk\r\n"),
            QString());
        row("empty file", QByteArray(), QString());
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

    // A comma ends the record the line is read from: the translator is told
    // which text holds it and where.
    void faultNamesTextAndCharacter_data() {
        columns<QByteArray, QString>("content", "fault");
        row("comma in text 2", QByteArray("FichierLangage:]]Moni,teur]x\r\n"),
            "text 2, character 5: \",\" cannot stand in a text");
        row("first of two commas", QByteArray("FichierLangage:]a]b]c,d,e\r\n"),
            "text 3, character 2: \",\" cannot stand in a text");
        row("comma first in a text", QByteArray("FichierLangage:]a]]]]]]]]]]]],x]\r\n"),
            "text 13, character 1: \",\" cannot stand in a text");
        row("comma in the header text", QByteArray("FichierLangage:ab,]x"),
            "text 0, character 18: \",\" cannot stand in a text");
        row("accented text before it", QByteArray("FichierLangage:]Param\xc3\xa8tres, page]"),
            "text 1, character 11: \",\" cannot stand in a text");
        row("last line only", QByteArray("FichierLangage:]a,b\r\nFichierLangage:]ab\r\n\r\n"),
            QString());
        row("wrong header", QByteArray("FichierConfig:]1,2]\r\n"), QString());
        row("well-formed file", QByteArray("FichierLangage:]a]b\r\n"), QString());
    }
    void faultNamesTextAndCharacter() {
        const auto [content, fault] = fetch<QByteArray, QString>("content", "fault");
        QFile file(dir.filePath("fault.lng"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) >= 0);
        file.close();
        QCOMPARE(language::fault(file.fileName()), fault);
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
        // The tool's own captions follow: 83..145, the report's 146..170, the
        // job panel's 171..200.
        for (int k = 83; k <= 200; ++k)
            QVERIFY2(!texts[k].trimmed().isEmpty(), qPrintable(QString::number(k)));
        // Messages followed by a port number end where the number goes.
        for (int k : {68, 71, 73})
            QVERIFY2(texts[k].endsWith("COM"), qPrintable(QString::number(k)));
    }
};

QTEST_MAIN(TestLanguageFile)
#include "tst_language_file.moc"

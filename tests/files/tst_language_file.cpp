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

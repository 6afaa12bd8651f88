// Sensor files: the line format, refused lines, and loading and saving
// through the level sensor page's buttons.
#include "files/sensor_file.h"
#include "pages/tst_pages_fixture.h"
#include "support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QByteArray LivelloLine = "FichierSensor:]100]1]190]7]30]50]83]]]]Fin";
const QString Livello = QStringLiteral("100 1 190 7 30 50 83");

QString joined(const sensorfile::Settings &s) {
    return QStringList(s.begin(), s.end()).join(u' ');
}

class TestSensorFile : public QObject {
    Q_OBJECT
    std::unique_ptr<PagesWindow> w;
    LevelPage &page() { return *w->screens().levelPage; }
    QString file() const { return w->dir.filePath("Default.sen"); }
    void writeFile(const QByteArray &content) {
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
    }

  private Q_SLOTS:
    void init() {
        w = std::make_unique<PagesWindow>();
        page().setSettingTexts({"1", "2", "3", "4", "5", "6", "7"});
    }
    void cleanup() { w.reset(); }

    void parse_data() {
        columns<QString, QString>("line", "settings"); // "refused": no settings
        row("livello", QString::fromLatin1(LivelloLine), Livello);
        // The walk takes the trailer as a field like any other.
        row("fewer fields", "FichierSensor:]100]1]190]Fin", "100 1 190 Fin   ");
        row("memory file", "FichierMemoire:]100]1]190]7]30]50]83]]]]Fin", "refused");
        row("letters kept for the number parser", "FichierSensor:]100]x1]190]7]30]50]83]]]]Fin",
            "100 x1 190 7 30 50 83");
        row("header glued to a setting", "FichierSensor:100]1]190]7]30]50]83]]]]Fin",
            "1 190 7 30 50 83 ");
        row("past the last field ignored", "FichierSensor:]1]2]3]4]5]6]7]]]]]]]]]]]]]]]]]]]99]Fin",
            "1 2 3 4 5 6 7");
    }
    void parse() {
        const auto [line, settings] = fetch<QString, QString>("line", "settings");
        const auto parsed = sensorfile::parse(line);
        QCOMPARE(parsed ? joined(*parsed) : QStringLiteral("refused"), settings);
    }

    void load_data() {
        columns<QByteArray, QString>("content", "shown"); // empty: refused, the fields kept
        row("last line counts", "FichierSensor:]1]1]1]1]1]1]1]]]]Fin\r\n" + LivelloLine, Livello);
        row("300 is corrected", QByteArray("FichierSensor:]100]1]300]7]30]50]83]]]]Fin"),
            "100 1 255 7 30 50 83");
        row("empty", QByteArray(), "");
    }

    // A file only fills the fields (validated), and sends nothing.
    void load() {
        const auto [content, shown] = fetch<QByteArray, QString>("content", "shown");
        writeFile(content);
        w->dialogs.fileAnswers = {file()};
        QTest::mouseClick(page().SenosorLoad, Qt::LeftButton);
        QCOMPARE(joined(page().settingTexts()), shown.isEmpty() ? "1 2 3 4 5 6 7" : shown);
        QCOMPARE(w->dialogs.texts(),
                 shown.isEmpty() ? QStringList{" Error in the file Sensor "} : QStringList());
        QVERIFY(w->port.written.isEmpty());
    }

    void loadCancelledOrMissing() {
        w->dialogs.fileAnswers = {QString(), file(), w->dir.path()}; // none, missing, a folder
        for (int i = 0; i < 3; ++i)
            page().SenosorLoad_Click();
        QCOMPARE(joined(page().settingTexts()), QStringLiteral("1 2 3 4 5 6 7"));
        QVERIFY(w->dialogs.shown.isEmpty());
    }

    void save_data() {
        columns<QByteArray, bool, QByteArray>("old", "replace", "saved"); // old empty: no file
        row("new file", QByteArray(), true, LivelloLine + "\r\n");
        row("kept", QByteArray("old\r\n"), false, QByteArray("old\r\n"));
        row("replaced", QByteArray("old\r\n"), true, LivelloLine + "\r\n");
    }
    void save() {
        const auto [old, replace, saved] =
            fetch<QByteArray, bool, QByteArray>("old", "replace", "saved");
        if (!old.isEmpty())
            writeFile(old);
        page().Predef1_Click();
        w->dialogs.fileAnswers = {file()};
        w->dialogs.answers = {replace};
        QTest::mouseClick(page().SensorSave, Qt::LeftButton);
        QCOMPARE(fileBytes(file()), saved);
        // Asked before replacing; told where it went once saved.
        QCOMPARE(w->dialogs.shown.size(), (old.isEmpty() ? 0 : 1) + (replace ? 1 : 0));
    }

    // A folder by the file's name is never replaced, even when the fitter
    // says to: the path is named.
    void saveOverAFolder() {
        QVERIFY(QDir().mkdir(file()));
        w->dialogs.fileAnswers = {file()};
        QTest::mouseClick(page().SensorSave, Qt::LeftButton);
        QCOMPARE(
            w->dialogs.texts(),
            (QStringList{" The file that you did select already exists. want to replace it ? ",
                         " File not saved: " + file() + ": not a regular file, left as it is "}));
        QVERIFY(QFileInfo(file()).isDir());
    }
};

QTEST_MAIN(TestSensorFile)
#include "tst_sensor_file.moc"

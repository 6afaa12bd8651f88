// Sensor files: the line format, refused files, and loading and saving
// through the level sensor page's buttons.
#include "files/sensor_file.h"
#include "pages/tst_main_parameters_fixture.h"

#include <QFile>
#include <QTest>

namespace {
const sensorfile::Settings Livello = {"100", "1", "190", "7", "30", "50", "83"};
const QString LivelloLine = QStringLiteral("FichierSensor:]100]1]190]7]30]50]83]]]]Fin");

QStringList listOf(const sensorfile::Settings &s) {
    return QStringList(s.begin(), s.end());
}
} // namespace

class TestSensorFile : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup() { w.reset(); }
    void line();
    void parse_data();
    void parse();
    void refused_data();
    void refused();
    void writtenWithCrLf();
    void load_data();
    void load();
    void loadCancelledOrMissing();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void saveAfterPreset();
    void saveOverAnExistingFile_data();
    void saveOverAnExistingFile();

  private:
    QString path(const char *name) const { return w->dir.filePath(QString::fromLatin1(name)); }
    void writeFile(const QString &file, const QByteArray &content) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QStringList fields() { return listOf(w->level().settingTexts()); }

    std::unique_ptr<PagesWindow> w;
};

void TestSensorFile::init() {
    w = std::make_unique<PagesWindow>();
    w->level().setSettingTexts({"1", "2", "3", "4", "5", "6", "7"});
}

void TestSensorFile::line() {
    QCOMPARE(sensorfile::line(Livello), LivelloLine);
    QCOMPARE(sensorfile::line({"255", "0", "255", "20", "40", "55", "75"}),
             QStringLiteral("FichierSensor:]255]0]255]20]40]55]75]]]]Fin"));
}

void TestSensorFile::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("settings");
    QTest::newRow("livello") << LivelloLine << listOf(Livello);
    QTest::newRow("reserved fields ignored")
        << "FichierSensor:]100]1]190]7]30]50]83]a]b]c]Fin" << listOf(Livello);
    QTest::newRow("fewer fields") << "FichierSensor:]100]1]190]Fin"
                                  << QStringList{"100", "1", "190", "", "", "", ""};
    QTest::newRow("empty fields") << "FichierSensor:]]]]]]]]]]]Fin"
                                  << QStringList{"", "", "", "", "", "", ""};
    QTest::newRow("out of range stays text")
        << "FichierSensor:]300]1]190]7]30]50]83]]]]Fin"
        << QStringList{"300", "1", "190", "7", "30", "50", "83"};
}

void TestSensorFile::parse() {
    QFETCH(QString, text);
    QFETCH(QStringList, settings);
    const auto parsed = sensorfile::parse(text);
    QVERIFY(parsed.has_value());
    QCOMPARE(listOf(*parsed), settings);
}

void TestSensorFile::refused_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("memory file") << "FichierMemoire:]100]1]190]7]30]50]83]]]]Fin";
    QTest::newRow("empty") << "";
    QTest::newRow("header only") << "FichierSensor:";
    QTest::newRow("cut short") << "FichierSensor:]100]1]19";
    QTest::newRow("no trailer") << "FichierSensor:]100]1]190]7]30]50]83]]]]";
    QTest::newRow("letters") << "FichierSensor:]100]x1]190]7]30]50]83]]]]Fin";
    QTest::newRow("two points") << "FichierSensor:]1.0.0]1]190]7]30]50]83]]]]Fin";
}

void TestSensorFile::refused() {
    QFETCH(QString, text);
    QVERIFY(!sensorfile::parse(text).has_value());
}

void TestSensorFile::writtenWithCrLf() {
    const QString file = path("crlf.sen");
    QVERIFY(sensorfile::write(file, Livello));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), LivelloLine.toLatin1() + "\r\n");
    QCOMPARE(listOf(*sensorfile::read(file)), listOf(Livello));
}

void TestSensorFile::load_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("CR LF") << QByteArray("FichierSensor:]100]1]190]7]30]50]83]]]]Fin\r\n")
                           << listOf(Livello);
    QTest::newRow("LF") << QByteArray("FichierSensor:]100]1]190]7]30]50]83]]]]Fin\n")
                        << listOf(Livello);
    QTest::newRow("last line counts")
        << QByteArray("FichierSensor:]1]1]1]1]1]1]1]]]]Fin\r\n"
                      "FichierSensor:]100]1]190]7]30]50]83]]]]Fin\r\n")
        << listOf(Livello);
    QTest::newRow("300 is corrected") << QByteArray("FichierSensor:]100]1]300]7]30]50]83]]]]Fin")
                                      << QStringList{"100", "1", "255", "7", "30", "50", "83"};
}

// Loading fills the fields, runs the validation and sends nothing.
void TestSensorFile::load() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, shown);
    const QString file = path("in.sen");
    writeFile(file, content);
    w->dialogs.fileAnswers = {file};
    QTest::mouseClick(w->level().SenosorLoad, Qt::LeftButton);
    QCOMPARE(fields(), shown);
    QVERIFY(w->dialogs.shown.isEmpty());
    QVERIFY(w->port->written.isEmpty());
    QCOMPARE(int(w->image().at(0xA3A)), 0);
}

void TestSensorFile::loadCancelledOrMissing() {
    const QStringList before = fields();
    w->level().SenosorLoad_Click(); // cancelled: no path
    w->dialogs.fileAnswers = {path("missing.sen"), w->dir.path()};
    w->level().SenosorLoad_Click();
    w->level().SenosorLoad_Click(); // a folder
    QCOMPARE(fields(), before);
    QVERIFY(w->dialogs.shown.isEmpty());
}

void TestSensorFile::badFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("memory file") << QByteArray("FichierMemoire:]100]1]190]7]30]50]83]]]]Fin\r\n");
    QTest::newRow("garbage") << QByteArray("\x01\x02\xff\xfe garbage");
    QTest::newRow("truncated") << QByteArray("FichierSensor:]100]1]19");
    QTest::newRow("empty") << QByteArray();
}

void TestSensorFile::badFileChangesNothing() {
    QFETCH(QByteArray, content);
    const QString file = path("bad.sen");
    writeFile(file, content);
    const QStringList before = fields();
    w->dialogs.fileAnswers = {file};
    w->level().SenosorLoad_Click();
    QCOMPARE(w->dialogs.texts(), QStringList{" Error in the file Sensor "});
    QCOMPARE(w->dialogs.shown.at(0).icon, Dialogs::Icon::Warning);
    QCOMPARE(fields(), before);
}

void TestSensorFile::saveAfterPreset() {
    const QString file = path("Default.sen");
    w->level().Predef3_Click();
    w->dialogs.fileAnswers = {file};
    QTest::mouseClick(w->level().SensorSave, Qt::LeftButton);
    QVERIFY(w->dialogs.shown.isEmpty());
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("FichierSensor:]255]0]255]20]40]55]75]]]]Fin\r\n"));
}

void TestSensorFile::saveOverAnExistingFile_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

void TestSensorFile::saveOverAnExistingFile() {
    QFETCH(bool, replace);
    const QString file = path("old.sen");
    writeFile(file, "old content\r\n");
    w->level().Predef1_Click();
    w->dialogs.fileAnswers = {file};
    w->dialogs.answers = {replace};
    w->level().SensorSave_Click();
    QCOMPARE(w->dialogs.shown.size(), 1);
    QCOMPARE(w->dialogs.shown.at(0).text,
             QStringLiteral(" The file that you did select already exists. want to replace it ? "));
    QCOMPARE(w->dialogs.shown.at(0).title, QStringLiteral("Replace ?"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(),
             replace ? LivelloLine.toLatin1() + "\r\n" : QByteArray("old content\r\n"));
}

QTEST_MAIN(TestSensorFile)
#include "tst_sensor_file.moc"

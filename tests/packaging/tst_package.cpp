// The .deb that cpack makes: unpacked with dpkg -x into a temporary root,
// it holds the three programs (which run from there), the language files,
// the desktop entry naming the icon it ships, the manual pages, and it
// depends on Debian's packages for Qt.
#include "support/sim_process.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestPackage : public QObject {
    Q_OBJECT
    QTemporaryDir work;
    QString deb;
    QString root;

  private Q_SLOTS:
    void initTestCase();
    void installsFiles_data();
    void installsFiles();
    void programsRunFromTheRoot_data();
    void programsRunFromTheRoot();
    void desktopEntry();
    void dependsOnDebianPackages();
};

void TestPackage::initTestCase() {
    QVERIFY(work.isValid());
    const RunResult made = runProgram(
        QStringLiteral(GASECU_CPACK),
        {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
         QStringLiteral(GASECU_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), work.path()},
        work.path(), 280000);
    QVERIFY2(made.exitCode == 0, made.out.constData());
    const QStringList debs = QDir(work.path()).entryList({QStringLiteral("*.deb")});
    QCOMPARE(debs.size(), 1);
    QVERIFY(debs.first().startsWith(QStringLiteral("gasecu_" GASECU_VERSION_TEXT)));
    deb = work.filePath(debs.first());
    root = work.filePath(QStringLiteral("root"));
    const RunResult unpacked =
        runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root});
    QVERIFY2(unpacked.exitCode == 0, unpacked.err.constData());
}

void TestPackage::installsFiles_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");
    for (const char *program : {"gasecu", "gasecu-cli", "gasecu-sim"})
        QTest::newRow(program) << QStringLiteral("usr/bin/") + QLatin1String(program) << true;
    QTest::newRow("desktop entry")
        << QStringLiteral("usr/share/applications/gasecu.desktop") << false;
    QTest::newRow("icon") << QStringLiteral("usr/share/icons/hicolor/scalable/apps/gasecu.svg")
                          << false;
    QTest::newRow("language file")
        << QStringLiteral("usr/share/gasecu/languages/english.lng") << false;
    QTest::newRow("cli manual") << QStringLiteral("usr/share/man/man1/gasecu-cli.1.gz") << false;
    QTest::newRow("sim manual") << QStringLiteral("usr/share/man/man1/gasecu-sim.1.gz") << false;
}

void TestPackage::installsFiles() {
    QFETCH(QString, path);
    QFETCH(bool, executable);
    const QFileInfo file(root + QLatin1Char('/') + path);
    QVERIFY2(file.isFile(), qPrintable(path));
    QVERIFY(file.size() > 0);
    QCOMPARE(file.isExecutable(), executable);
}

void TestPackage::programsRunFromTheRoot_data() {
    QTest::addColumn<QString>("program");
    QTest::newRow("cli") << QStringLiteral("gasecu-cli");
    QTest::newRow("sim") << QStringLiteral("gasecu-sim");
}

void TestPackage::programsRunFromTheRoot() {
    QFETCH(QString, program);
    const RunResult run =
        runProgram(root + QStringLiteral("/usr/bin/") + program, {QStringLiteral("--version")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(GASECU_VERSION_TEXT), run.out.constData());
}

void TestPackage::desktopEntry() {
    QFile entry(root + QStringLiteral("/usr/share/applications/gasecu.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray text = entry.readAll();
    for (const char *line : {"[Desktop Entry]\n", "\nType=Application\n", "\nExec=gasecu\n",
                             "\nIcon=gasecu\n", "\nTerminal=false\n", "\nCategories=Utility;\n"})
        QVERIFY2(text.contains(line), line);
}

void TestPackage::dependsOnDebianPackages() {
    const RunResult fields = runProgram(QStringLiteral("dpkg-deb"),
                                        {QStringLiteral("-f"), deb, QStringLiteral("Depends")});
    QCOMPARE(fields.exitCode, 0);
    const QByteArray depends = fields.out.trimmed();
    for (const char *package : {"libqt6core6", "libqt6widgets6", "libqt6serialport6",
                                "libqt6charts6", "qt6-qpa-plugins", "libc6"})
        QVERIFY2(depends.contains(package), depends.constData());
    // Every package named is one Debian's package database knows.
    for (const QByteArray &alternative : depends.split(',')) {
        const QByteArray name = alternative.trimmed().split(' ').first().split('|').first();
        const RunResult known = runProgram(QStringLiteral("dpkg-query"),
                                           {QStringLiteral("-W"), QString::fromLatin1(name)});
        QVERIFY2(known.exitCode == 0, name.constData());
    }
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"

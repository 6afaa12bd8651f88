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
  private Q_SLOTS:
    void debContents();
};

void TestPackage::debContents() {
    QTemporaryDir work;
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
    const QString deb = work.filePath(debs.first());
    const QString root = work.filePath(QStringLiteral("root"));
    const RunResult unpacked =
        runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root});
    QVERIFY2(unpacked.exitCode == 0, unpacked.err.constData());
    for (const char *path :
         {"usr/bin/gasecu", "usr/bin/gasecu-cli", "usr/bin/gasecu-sim",
          "usr/share/applications/gasecu.desktop",
          "usr/share/icons/hicolor/scalable/apps/gasecu.svg",
          "usr/share/gasecu/languages/english.lng", "usr/share/man/man1/gasecu-cli.1.gz",
          "usr/share/man/man1/gasecu-sim.1.gz"}) {
        const QFileInfo file(root + QLatin1Char('/') + QLatin1String(path));
        QVERIFY2(file.isFile() && file.size() > 0, path);
        QVERIFY2(file.isExecutable() == QByteArray(path).startsWith("usr/bin/"), path);
    }
    for (const char *program : {"gasecu-cli", "gasecu-sim"}) {
        const RunResult run =
            runProgram(root + QStringLiteral("/usr/bin/") + QLatin1String(program),
                       {QStringLiteral("--version")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(GASECU_VERSION_TEXT), run.out.constData());
    }
    QFile entry(root + QStringLiteral("/usr/share/applications/gasecu.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray text = entry.readAll();
    for (const char *line : {"[Desktop Entry]\n", "\nType=Application\n", "\nExec=gasecu\n",
                             "\nIcon=gasecu\n", "\nTerminal=false\n", "\nCategories=Utility;\n"})
        QVERIFY2(text.contains(line), line);
    const RunResult fields = runProgram(QStringLiteral("dpkg-deb"),
                                        {QStringLiteral("-f"), deb, QStringLiteral("Depends")});
    QCOMPARE(fields.exitCode, 0);
    const QByteArray depends = fields.out.trimmed();
    for (const char *package :
         {"libqt6core6", "libqt6widgets6", "libqt6serialport6", "libqt6charts6", "libqt6sql6",
          "libqt6sql6-sqlite", "qt6-qpa-plugins", "libc6"})
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

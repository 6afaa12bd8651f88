// gasecu-cli and the files it writes: a target that is not a regular file is
// refused before any port is opened, and a port found but not remembered
// fails the search.
#include "pages/data_table.h"
#include "support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
RunResult cli(const QStringList &args, const QString &workDir = {}) {
    return runProgram(qEnvironmentVariable("GASECU_CLI"), args, workDir);
}
} // namespace

class TestCliFiles : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void saveRefusesWhatIsNotAFile_data() {
        columns<QString, QStringList>("target", "more");
        for (const char *target : {"/dev/full", "folder", "fifo"}) {
            row(target, QString::fromLatin1(target), QStringList{"--force"});
            row(qPrintable(QString::fromLatin1(target) + " without --force"),
                QString::fromLatin1(target), QStringList{});
        }
    }
    void saveRefusesWhatIsNotAFile() {
        const auto [target, more] = fetch<QString, QStringList>("target", "more");
        QTemporaryDir dir;
        QString path = target;
        if (target == "folder") {
            path = dir.filePath("x.fra");
            QVERIFY(QDir().mkdir(path));
        } else if (target == "fifo") {
            path = dir.filePath("x.fra");
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (!QFileInfo::exists(path)) {
            QSKIP("no such device here");
        }
        struct stat before {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &before) == 0);
        // Port 99 has no ECU: the refusal comes before any port is opened.
        const RunResult run = cli(QStringList{"save", path, "--port", "99"} + more);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(QString::fromLocal8Bit(run.err),
                 "gasecu-cli: " + path + ": not a regular file, left as it is\n");
        struct stat after {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &after) == 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_rdev, before.st_rdev);
    }

    // The port the ECU answers on is shown either way; it is remembered in
    // prconfig.txt of the current folder, or the command says it could not be.
    void portsRemembersOrSaysWhy_data() {
        columns<bool>("folderInItsPlace");
        row("remembered", false);
        row("prconfig.txt is a folder", true);
    }
    void portsRemembersOrSaysWhy() {
        const auto [folderInItsPlace] = fetch<bool>("folderInItsPlace");
        QTemporaryDir work;
        const QString config =
            QDir(QFileInfo(work.path()).canonicalFilePath()).filePath("prconfig.txt");
        if (folderInItsPlace)
            QVERIFY(QDir().mkdir(config));
        SimProcess sim(2);
        QVERIFY(sim.start());
        const RunResult run = cli({"ports", "--ports-dir", sim.portsDir()}, work.path());
        QVERIFY2(run.out.contains("\nfound COM 2\n"), run.out.constData());
        if (folderInItsPlace) {
            QCOMPARE(run.exitCode, 3);
            QCOMPARE(QString::fromLocal8Bit(run.err),
                     "gasecu-cli: COM 2 could not be written to " + config + "\n");
            QVERIFY(QFileInfo(config).isDir());
        } else {
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.err, QByteArray());
            QFile written(config);
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(written.readAll(), QByteArray("FichierConfig:]2]]]]]Fin\r\n"));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliFiles)
#include "tst_cli_files.moc"

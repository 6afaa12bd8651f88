// A car converted from the command line with a job open: read, calibrate,
// write, then the job's record, its report (read back as text) and its
// export hold what the ECU holds. And the refusals: an unknown job, a
// damaged database.
#include "pages/data_table.h"
#include "support/sim_console.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {
QByteArray pdfText(const QString &pdf) {
    const RunResult r = runProgram(QStringLiteral("pdftotext"),
                                   {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return r.exitCode == 0 ? r.out : QByteArray("(pdftotext failed) ") + r.err;
}
} // namespace

class TestCliJobs : public QObject {
    Q_OBJECT
    OwnDataHome dataHome;
    QTemporaryDir work;

  private Q_SLOTS:
    void conversionRecordedAndReported() {
        Ecu ecu(31);
        QVERIFY(ecu.start({"--warm"}));
        RunResult r = runCli({"job", "new", "--plate", "ab 123-cd", "--make", "Renault", "--model",
                              "Clio", "--fitter", "Ana", "--customer", "Bob Martin"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray("job 1\n"));

        // The configuration first read, then a file with the switch-over
        // temperature 35 -> 40 written into the ECU.
        const QString file = work.filePath("clio.fra");
        r = ecu.cli({"save", file, "--job", "1"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QByteArray text = fileBytes(file);
        QCOMPARE(text.mid(15 + 3 * 3, 3), QByteArray("23.")); // 0x803 = 35
        text.replace(15 + 3 * 3, 3, "28.");
        QFile edited(file);
        QVERIFY(edited.open(QIODevice::WriteOnly) && edited.write(text) == text.size());
        edited.close();
        r = ecu.cli({"upload", file, "--job", "1"});
        QVERIFY2(r.exitCode == 0 && r.out.endsWith("verified\n"), r.err.constData());
        QCOMPARE(ecu.peek(0x803, 1).toHex(), QByteArray("28"));
        r = ecu.cli({"calibrate", "idle", "--steps", "3,20,3,20", "--job", "1"});
        QVERIFY2(r.exitCode == 0, r.err.constData());

        r = runCli({"job", "show", "1"});
        QCOMPARE(r.exitCode, 0);
        for (const QByteArray &line :
             {QByteArray("\nplate ab 123-cd\n"), QByteArray("\ncustomer Bob Martin\n"),
              QByteArray("\nkind conversion\n"),
              QByteArray("\nchange Switch-over temperature 35 °C → 40 °C\n")})
            QVERIFY2(r.out.contains(line), r.out.constData());
        QCOMPARE(r.out.count("\nrestore_point "), 1);
        QVERIFY2(QRegularExpression("\ncalibration [0-9: -]+ idle\n")
                     .match(QString::fromUtf8(r.out))
                     .hasMatch(),
                 r.out.constData());
        QVERIFY2(!r.out.contains("\nlast_written -\n"), r.out.constData());

        // Found by its plate typed another way.
        r = runCli({"jobs", "--vehicle", "AB123CD"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.startsWith("1\t") &&
                     r.out.contains("\tconversion\tab 123-cd\tRenault Clio\tAna\tBob Martin\n"),
                 r.out.constData());

        const QString pdf = work.filePath("clio.pdf");
        r = runCli({"report", pdf, "--job", "1"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        const QByteArray report = pdfText(pdf);
        for (const QByteArray &shown :
             {QByteArray("ab 123-cd"), QByteArray("Switch-over temperature"), QByteArray("40 °C"),
              QByteArray("35 °C → 40 °C")})
            QVERIFY2(report.contains(shown), report.constData());

        // The export: the memory files and the report.
        const QString out = work.filePath("archive");
        r = runCli({"job", "export", "1", out});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        const QStringList names = QDir(out).entryList(QDir::Files, QDir::Name);
        QCOMPARE(names.size(), 3);
        const QString stem = "ab_123-cd-" + QDate::currentDate().toString("yyyyMMdd") + "-job1-";
        QCOMPARE(names, QStringList({stem + "first-read.fra", stem + "last-written.fra",
                                     stem + "report.pdf"}));
        const QByteArray last = fileBytes(QDir(out).filePath(stem + "last-written.fra"));
        // What was written and read back: the edited file, byte for byte.
        QCOMPARE(last, text);
        // A backup holds the job; a second one would overwrite: refused.
        const QString copy = work.filePath("backup/gasecu/records.sqlite");
        QVERIFY(QDir().mkpath(work.filePath("backup/gasecu")));
        QCOMPARE(runCli({"backup", copy}).exitCode, 0);
        r = runCli({"backup", copy});
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.err.contains("no backup made: " + copy.toLocal8Bit() + " exists"),
                 r.err.constData());
        qputenv("XDG_DATA_HOME", work.filePath("backup").toLocal8Bit());
        r = runCli({"jobs"});
        qputenv("XDG_DATA_HOME", dataHome.dir.path().toLocal8Bit());
        QVERIFY2(r.out.startsWith("1\t") && r.out.count('\n') == 1, r.out.constData());

        // A second export would overwrite: refused, the files kept.
        r = runCli({"job", "export", "1", out});
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.err.contains("exists; --force replaces it"), r.err.constData());
    }

    void refusals_data() {
        columns<QStringList, int, QByteArray>("args", "exitCode", "said");
        using L = QStringList;
        row("unknown job", L{"job", "show", "99"}, 7, QByteArray("no job 99 in "));
        row("read into an unknown job", L{"read", "--job", "99", "--port", "99"}, 7,
            QByteArray("no job 99"));
        row("unknown plate", L{"jobs", "--vehicle", "ZZ-999"}, 7,
            QByteArray("no vehicle with plate ZZ-999"));
        row("two sources", L{"report", "x.pdf", "--ecu", "--job", "1"}, 64,
            QByteArray("one of --job ID, --file FILE, --ecu"));
        row("job without configuration", L{"report", "x.pdf", "--job", "2"}, 3,
            QByteArray("holds no configuration"));
    }
    void refusals() {
        const auto [args, exitCode, said] =
            fetch<QStringList, int, QByteArray>("args", "exitCode", "said");
        if (QTest::currentDataTag() == QByteArray("job without configuration"))
            QCOMPARE(runCli({"job", "new", "--plate", "EMPTY-1"}).out, QByteArray("job 2\n"));
        const RunResult r = runCli(args, work.path());
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(said), r.err.constData());
        QVERIFY(!QFile::exists(work.filePath("x.pdf")));
    }

    // A damaged database is reported with its path and left as it was.
    void damagedDatabaseKept() {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        const QString path = home.filePath("gasecu/records.sqlite");
        QVERIFY(QDir().mkpath(home.filePath("gasecu")));
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x5a'));
        damaged.close();
        const QByteArray before = fileBytes(path);
        const RunResult r = runCli({"jobs"});
        qputenv("XDG_DATA_HOME", dataHome.dir.path().toLocal8Bit());
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.err.contains(path.toLocal8Bit()), r.err.constData());
        QCOMPARE(fileBytes(path), before);
    }
};

QTEST_GUILESS_MAIN(TestCliJobs)
#include "tst_cli_jobs.moc"

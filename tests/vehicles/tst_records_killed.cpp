// A program killed while it writes jobs leaves the records whole: after
// each SIGKILL the database passes SQLite's check and holds every job whose
// commit had returned.
#include "vehicles/record_store.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {
QString quickCheck(const QString &path) {
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "check");
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("PRAGMA quick_check")) && q.next())
            result = q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return result;
}
} // namespace

class TestRecordsKilled : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void committedJobsSurviveKill();
};

void TestRecordsKilled::committedJobsSurviveKill() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.sqlite"));
    QList<qint64> printed;
    for (int round = 0; round < 5; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(GASECU_RECORD_WRITER), {path});
        // Wait for a different number of commits each round, so the kill
        // lands at a different point of the writer's loop.
        const int wanted = 5 + 7 * round;
        int seen = 0;
        while (seen < wanted) {
            QVERIFY2(writer.canReadLine() || writer.waitForReadyRead(30000),
                     qPrintable(QString::fromLocal8Bit(writer.readAllStandardError())));
            while (writer.canReadLine()) {
                printed << writer.readLine().trimmed().toLongLong();
                ++seen;
            }
        }
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(30000));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        while (writer.canReadLine()) // printed after a commit, read after the kill
            printed << writer.readLine().trimmed().toLongLong();

        QCOMPARE(quickCheck(path), "ok");
        RecordStore store;
        QVERIFY2(store.open(path), qPrintable(store.error()));
        for (const qint64 id : printed)
            QVERIFY2(store.job(id),
                     qPrintable(QStringLiteral("round %1: job %2 lost").arg(round).arg(id)));
        QVERIFY(store.jobs().size() >= printed.size());
    }
}

QTEST_GUILESS_MAIN(TestRecordsKilled)
#include "tst_records_killed.moc"

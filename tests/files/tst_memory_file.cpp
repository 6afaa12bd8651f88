// Memory files: the line, what a load accepts, where an upload's blocks
// differ, writing in one piece, and restore points.
#include "files/memory_file.h"
#include "files/restore_points.h"
#include "link/memory_image.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A line whose bytes are all byteText, then the firmware byte given.
QString lineOf(const QString &byteText, const QString &firmware, const QString &separator = ".") {
    QString line = "FichierMemoire:";
    for (int k = 0; k < memory_file::ByteCount - 1; ++k)
        line += byteText + separator;
    return line + firmware + separator + "Fin";
}
} // namespace

class TestMemoryFile : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void formatIsOneExactLine() {
        MemoryImage image;
        for (auto [address, value] : {std::pair{0x800, 0x0A}, {0x801, 0xFF}, {0x1000, 0xC3}})
            image.set(address, quint8(value));
        const QByteArray text = memory_file::format(image);
        QCOMPARE(text.size(), 6167);
        QVERIFY(text.startsWith("FichierMemoire:0A.FF.00."));
        QVERIFY(text.endsWith(".00.C3.Fin\r\n"));
        QCOMPARE(text.count('\n'), 1);
    }

    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("first"); // byte 0x800; -1: refused
        QTest::addColumn<int>("firmware");
        const QString good = lineOf("AB", "5C");
        QTest::newRow("one character short") << good.left(6164) << -1 << 0;
        QTest::newRow("6165 without Fin") << good.left(6162) + "XYZ" << 0xAB << 0x5C;
        QTest::newRow("characters past 6165 ignored") << good + "0123456789" << 0xAB << 0x5C;
        QTest::newRow("wrong header") << "FichierMemoirX" + good.mid(14) << -1 << 0;
        QTest::newRow("lower case hex") << lineOf("ab", "5c") << 0xAB << 0x5C;
        QTest::newRow("any separator") << lineOf("AB", "5C", ";") << 0xAB << 0x5C;
        QTest::newRow("one hex digit then junk") << lineOf("Bz", "5C") << 0x0B << 0x5C;
        QTest::newRow("no hex digit gives 0") << lineOf("zz", "G1") << 0 << 0;
        QTest::newRow("last of several lines counts") << lineOf("11", "22") + "\r\n" + good + "\r\n"
                                                      << 0xAB << 0x5C;
        QTest::newRow("good line then a bad one") << good + "\r\nFichierMemoire:00.Fin\r\n"
                                                  << -1 << 0;
        QTest::newRow("empty") << QString() << -1 << 0;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(int, first);
        QFETCH(int, firmware);
        const memory_file::Parsed parsed = memory_file::parse(text);
        QCOMPARE(parsed.ok, first >= 0);
        if (parsed.ok)
            QCOMPARE((QList<int>{parsed.bytes.front(), parsed.bytes[1000], parsed.firmware()}),
                     (QList<int>{first, first, firmware}));
    }

    void uploadedDifference_data() {
        QTest::addColumn<QList<int>>("changed");
        QTest::addColumn<int>("first");
        QTest::newRow("0x800 is never written") << QList<int>{0x800} << -1;
        QTest::newRow("first written byte") << QList<int>{0x801} << 0x801;
        QTest::newRow("last written byte") << QList<int>{0xA79} << 0xA79;
        QTest::newRow("live area, past the blocks")
            << QList<int>{0x000, 0x033, 0xA7A, 0x1000} << -1;
        QTest::newRow("lowest of several") << QList<int>{0x900, 0x850, 0xA00} << 0x850;
    }
    void uploadedDifference() {
        QFETCH(QList<int>, changed);
        QFETCH(int, first);
        MemoryImage b;
        for (int address : changed)
            b.set(address, 0x40);
        QCOMPARE(memory_file::firstUploadedDifference(MemoryImage(), b), first);
    }

    void failedWriteLeavesTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Default.fra");
        QVERIFY(memory_file::writeAtomically(path, "old\r\n"));
        const auto rwx = QFile::permissions(dir.path());
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QString error;
        const bool written = memory_file::writeAtomically(path, "new\r\n", &error);
        QFile::setPermissions(dir.path(), rwx);
        if (written)
            QSKIP("the folder stays writable for this user (root)");
        QVERIFY(!error.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == "old\r\n");
    }

    void restorePointIsALoadableFile() {
        QTemporaryDir dir;
        MemoryImage lastRead;
        lastRead.set(0x000, 0x3A);
        lastRead.set(0x923, 0x77);
        lastRead.set(0x1000, 0x99); // stale: the firmware byte is taken afresh
        RestorePoints points(dir.filePath("backups"));
        const QString path =
            points.save(lastRead, QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9, 42)));
        QCOMPARE(QFileInfo(path).fileName(), "restore-20260307-140509-042-fw3A.fra");
        const memory_file::Parsed parsed = memory_file::read(path);
        QVERIFY(parsed.ok);
        QCOMPARE(parsed.firmware(), quint8(0x3A));
        QCOMPARE(parsed.bytes[0x123], quint8(0x77));
        QCOMPARE(points.list(), QStringList{path});
    }

    void restorePointsKeepTheNewest() {
        QTemporaryDir dir;
        RestorePoints points(dir.path());
        const QDateTime start(QDate(2026, 1, 1), QTime(8, 0));
        QStringList saved;
        for (int i = 0; i < RestorePoints::Kept + 2; ++i)
            saved.prepend(points.save(MemoryImage(), start.addSecs(i * 61)));
        QCOMPARE(points.list(), saved.mid(0, RestorePoints::Kept)); // newest first, two oldest gone
        QVERIFY(!QFile::exists(saved.constLast()));
    }
};

QTEST_GUILESS_MAIN(TestMemoryFile)
#include "tst_memory_file.moc"

// Memory files: the line, what a load accepts, where an upload's blocks
// differ, writing in one piece, and restore points.
#include "ecu/memory_image.h"
#include "files/memory_file.h"
#include "files/restore_points.h"
#include "pages/data_table.h"
#include "support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {
// A line whose bytes are all byteText, then the firmware byte given.
QString lineOf(const QString &byteText, const QString &firmware, const QString &separator = ".") {
    QString line = "FichierMemoire:";
    for (int k = 0; k < memory_file::ByteCount - 1; ++k)
        line += byteText + separator;
    return line + firmware + separator + "Fin";
}

// What is at path: "file", "folder", "fifo", "device", "link to ...", "none".
QString kind(const QString &path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return "none";
    if (S_ISLNK(st.st_mode))
        return "link to " + kind(QFileInfo(path).symLinkTarget());
    if (S_ISDIR(st.st_mode))
        return "folder";
    if (S_ISFIFO(st.st_mode))
        return "fifo";
    if (S_ISCHR(st.st_mode))
        return "device";
    return S_ISREG(st.st_mode) ? "file" : "other";
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
    }

    void parse_data() {
        columns<QString, int, int>("text", "first", "firmware"); // first: byte 0x800; -1: refused
        const QString good = lineOf("AB", "5C");
        row("one character short", good.left(6164), -1, 0);
        row("6165 without Fin", good.left(6162) + "XYZ", 0xAB, 0x5C);
        row("characters past 6165 ignored", good + "0123456789", 0xAB, 0x5C);
        row("wrong header", "FichierMemoirX" + good.mid(14), -1, 0);
        row("lower case hex", lineOf("ab", "5c"), 0xAB, 0x5C);
        row("any separator", lineOf("AB", "5C", ";"), 0xAB, 0x5C);
        row("one hex digit then junk", lineOf("Bz", "5C"), 0x0B, 0x5C);
        row("no hex digit gives 0", lineOf("zz", "G1"), 0, 0);
        row("last of several lines counts", lineOf("11", "22") + "\r\n" + good + "\r\n", 0xAB,
            0x5C);
        row("good line then a bad one", good + "\r\nFichierMemoire:00.Fin\r\n", -1, 0);
    }
    void parse() {
        const auto [text, first, firmware] = fetch<QString, int, int>("text", "first", "firmware");
        const memory_file::Parsed parsed = memory_file::parse(text);
        QCOMPARE(parsed.ok, first >= 0);
        if (parsed.ok)
            QCOMPARE((QList<int>{parsed.bytes.front(), parsed.bytes[1000], parsed.firmware()}),
                     (QList<int>{first, first, firmware}));
    }

    void uploadedDifference_data() {
        columns<QList<int>, int>("changed", "first");
        row("0x800 is never written", QList<int>{0x800}, -1);
        row("first written byte", QList<int>{0x801}, 0x801);
        row("last written byte", QList<int>{0xA79}, 0xA79);
        row("live area, past the blocks", QList<int>{0x000, 0x033, 0xA7A, 0x1000}, -1);
        row("lowest of several", QList<int>{0x900, 0x850, 0xA00}, 0x850);
    }
    void uploadedDifference() {
        const auto [changed, first] = fetch<QList<int>, int>("changed", "first");
        MemoryImage b;
        for (int address : changed)
            b.set(address, 0x40);
        QCOMPARE(memory_file::firstUploadedDifference(MemoryImage(), b), first);
    }

    // A regular file (or a link to one) is replaced in one piece, anything
    // else is left as it is.
    void writeReplacesOnlyRegularFiles_data() {
        columns<QString, bool, QString>("target", "written", "after");
        row("new", "none", true, "file");
        row("old file", "file", true, "file");
        row("link to a file", "link", true, "link to file");
        row("folder", "folder", false, "folder");
        row("link to a folder", "link to folder", false, "link to folder");
        row("fifo", "fifo", false, "fifo");
        row("full device", "/dev/full", false, "device");
    }
    void writeReplacesOnlyRegularFiles() {
        const auto [target, written, after] =
            fetch<QString, bool, QString>("target", "written", "after");
        QTemporaryDir dir;
        const QString path = target.startsWith('/') ? target : dir.filePath("x.fra");
        const QString other = dir.filePath("other");
        if (target.startsWith('/') && kind(target) != "device")
            QSKIP("no such device here");
        if (target == "file" || target == "link") {
            QFile f(target == "file" ? path : other);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("old\r\n") == 5);
        }
        if (target == "folder")
            QVERIFY(QDir().mkdir(path));
        if (target == "link to folder")
            QVERIFY(QDir().mkdir(other));
        if (target.startsWith("link"))
            QVERIFY(QFile::link(other, path));
        if (target == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);

        MemoryImage image;
        image.set(0x800, 0x42);
        const QByteArray expected = memory_file::format(image);
        QString error;
        QCOMPARE(memory_file::writeAtomically(path, expected, &error), written);
        QCOMPARE(error, written ? QString() : path + ": not a regular file, left as it is");
        QCOMPARE(kind(path), after);
        if (written)
            QCOMPARE(fileBytes(path), expected);
        if (target == "link")
            QCOMPARE(fileBytes(other), expected); // written through the link
        // Nothing else is left behind, no temporary file either.
        QStringList left = {"x.fra"};
        if (target.startsWith("link"))
            left.prepend("other");
        QCOMPARE(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
            target.startsWith('/') ? QStringList{} : left);
    }

    void writeIntoAMissingFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath("gone/x.fra");
        QString error;
        QVERIFY(!memory_file::writeAtomically(path, "text", &error));
        QVERIFY2(error.startsWith(path + ": cannot be written: "), qPrintable(error));
        QVERIFY(!QFileInfo::exists(path));
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
        QCOMPARE((QList<int>{parsed.ok, parsed.firmware(), parsed.bytes[0x123]}),
                 (QList<int>{1, 0x3A, 0x77}));
    }

    // A folder where the restore point goes: nothing is saved, and the
    // caller is told which path.
    void restorePointOverAFolder() {
        QTemporaryDir dir;
        RestorePoints points(dir.path());
        const QString taken = dir.filePath("restore-20260307-140509-042-fw00.fra");
        QVERIFY(QDir().mkdir(taken));
        QString error;
        QCOMPARE(
            points.save(MemoryImage(), QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9, 42)), &error),
            QString());
        QCOMPARE(error, taken + ": not a regular file, left as it is");
        QVERIFY(QFileInfo(taken).isDir());
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

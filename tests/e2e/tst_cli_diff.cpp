// gasecu-cli diff: two memory files, files that cannot be compared, the ECU against a file.
#include "support/sim_process.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
RunResult diff(const QStringList &args) {
    return runProgram(qEnvironmentVariable("GASECU_CLI"), QStringList{"diff"} + args);
}

// The configuration area's memory file: the bytes given, 0 elsewhere; or one character short.
QString memoryFile(const QTemporaryDir &dir, const char *name,
                   const QList<std::pair<int, int>> &bytes, bool whole = true) {
    QByteArray area(0x801, '\0');
    for (const auto &[address, value] : bytes)
        area[address - 0x800] = static_cast<char>(value);
    QByteArray text = "FichierMemoire:";
    for (char b : area)
        text += QByteArray::number(quint8(b), 16).toUpper().rightJustified(2, '0') + '.';
    text += "Fin\r\n";
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(whole ? text : text.left(6164) + "\r\n");
    return path;
}

const QList<std::pair<int, int>> Base = {{0x803, 35},  {0x809, 10},  {0xA42, 11},
                                         {0xA43, 184}, {0x812, 100}, {0x1000, 12}};
} // namespace

class TestCliDiff : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void twoFiles() {
        QTemporaryDir dir;
        const QString a = memoryFile(dir, "a.fra", Base);
        const RunResult run =
            diff({a, memoryFile(dir, "b.fra",
                                Base + QList<std::pair<int, int>>{{0x803, 40}, {0x80E, 4}})});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out),
                 QStringLiteral("Switch-over temperature 35 °C → 40 °C\nByte 0x80E 0 → 4\n"));
        QVERIFY(run.err.contains("2 differences"));
        const RunResult same = diff({a, a});
        QCOMPARE(same.exitCode, 0);
        QVERIFY(same.out.isEmpty() && same.err.contains("no difference"));
    }

    // Refused before any port is opened: no simulator here.
    void badFiles() {
        QTemporaryDir dir;
        const std::pair<QString, QByteArray> cases[] = {
            {dir.filePath("missing.fra"), " Non-existent file "},
            {memoryFile(dir, "short.fra", {}, false), " Noncorrect File error "}};
        for (const auto &[bad, message] : cases) {
            const RunResult run = diff({"ecu", bad, "--port", "99"});
            QCOMPARE(run.exitCode, 3);
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.err.contains(message), run.err.constData());
        }
    }

    // "What did I change?": the ECU against the file it was loaded from.
    void ecuAgainstAFile() {
        QTemporaryDir dir;
        const QString loaded = memoryFile(dir, "loaded.fra", Base);
        SimProcess sim(24);
        QVERIFY(sim.start({"--load", loaded}));
        sim.command("poke 809 EC"); // temperature alarm -20 °C
        const RunResult run = diff({loaded, "ecu", "--port", "24", "--ports-dir", sim.portsDir()});
        QCOMPARE(run.exitCode, 0);
        QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
        // The simulator's own firmware byte may differ from the file's.
        lines.removeIf([](const QString &l) { return l.startsWith(QLatin1String("Firmware")); });
        QCOMPARE(lines, QStringList{QStringLiteral("Temperature alarm 10 °C → -20 °C")});
    }
};

QTEST_GUILESS_MAIN(TestCliDiff)
#include "tst_cli_diff.moc"

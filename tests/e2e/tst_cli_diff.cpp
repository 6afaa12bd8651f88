// gasecu-cli diff: two memory files compared by setting, files that cannot
// be compared, and the ECU simulator's configuration against a file.
#include "support/sim_process.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString cli() {
    return qEnvironmentVariable("GASECU_CLI");
}

// A memory file of the configuration area: the bytes given, 0 elsewhere.
QByteArray memoryFile(const QList<std::pair<int, int>> &bytes) {
    QByteArray area(0x801, '\0');
    for (const auto &[address, value] : bytes)
        area[address - 0x800] = static_cast<char>(value);
    QByteArray text = "FichierMemoire:";
    for (char b : area)
        text += QByteArray::number(quint8(b), 16).toUpper().rightJustified(2, '0') + '.';
    return text + "Fin\r\n";
}

QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
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
        QList<std::pair<int, int>> changed = Base;
        changed << std::pair{0x803, 40} << std::pair{0x80E, 4};
        const QString a = writeFile(dir, "a.fra", memoryFile(Base));
        const QString b = writeFile(dir, "b.fra", memoryFile(changed));
        const RunResult run = runProgram(cli(), {QStringLiteral("diff"), a, b});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out),
                 QStringLiteral("Switch-over temperature 35 °C → 40 °C\nByte 0x80E 0 → 4\n"));
        QVERIFY(run.err.contains("2 differences"));
        const RunResult same = runProgram(cli(), {QStringLiteral("diff"), a, a});
        QCOMPARE(same.exitCode, 0);
        QVERIFY(same.out.isEmpty() && same.err.contains("no difference"));
    }

    void badFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("missing") << QByteArray() << QByteArray(" Non-existent file ");
        QTest::newRow("one character short") << memoryFile({}).left(6164) + "\r\n"
                                             << QByteArray(" Noncorrect File error ");
    }
    void badFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const QString bad = content.isEmpty() ? dir.filePath(QStringLiteral("bad.fra"))
                                              : writeFile(dir, "bad.fra", content);
        // The file is refused before any port is opened: no simulator here.
        const RunResult run = runProgram(cli(), {QStringLiteral("diff"), QStringLiteral("ecu"), bad,
                                                 QStringLiteral("--port"), QStringLiteral("99")});
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(message), run.err.constData());
    }

    // "What did I change?": the ECU against the file it was loaded from.
    void ecuAgainstAFile() {
        QTemporaryDir dir;
        const QString loaded = writeFile(dir, "loaded.fra", memoryFile(Base));
        SimProcess sim(24);
        QVERIFY(sim.start({QStringLiteral("--load"), loaded}));
        sim.command("poke 809 EC"); // temperature alarm -20 °C
        const RunResult run = runProgram(
            cli(), {QStringLiteral("diff"), loaded, QStringLiteral("ecu"), QStringLiteral("--port"),
                    QStringLiteral("24"), QStringLiteral("--ports-dir"), sim.portsDir()});
        QCOMPARE(run.exitCode, 0);
        QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
        // The simulator's own firmware byte may differ from the file's.
        lines.removeIf([](const QString &l) { return l.startsWith(QLatin1String("Firmware")); });
        QCOMPARE(lines, QStringList{QStringLiteral("Temperature alarm 10 °C → -20 °C")});
    }
};

QTEST_GUILESS_MAIN(TestCliDiff)
#include "tst_cli_diff.moc"

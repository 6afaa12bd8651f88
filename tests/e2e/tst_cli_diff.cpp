// gasecu-cli diff: the differences between two memory files, files that
// cannot be compared, and the ECU simulator's configuration against a file.
#include "support/sim_process.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString cli() { return qEnvironmentVariable("GASECU_CLI"); }

// A memory file of the configuration area: the bytes as given, 0 elsewhere.
QByteArray memoryFile(const QList<std::pair<int, int>> &bytes) {
  QByteArray area(0x801, '\0');
  for (const auto &[address, value] : bytes)
    area[address - 0x800] = static_cast<char>(value);
  QByteArray text = "FichierMemoire:";
  for (char b : area)
    text += QByteArray::number(static_cast<quint8>(b), 16)
                .toUpper()
                .rightJustified(2, '0') +
            '.';
  return text + "Fin\r\n";
}

void writeFile(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

} // namespace

class TestCliDiff : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void diffOfTwoFiles();
  void diffRefusesBadFiles_data();
  void diffRefusesBadFiles();
  void diffOfTheEcuAndAFile();
};

void TestCliDiff::diffOfTwoFiles() {
  QTemporaryDir dir;
  const QList<std::pair<int, int>> base = {{0x803, 35},  {0x80D, 1},
                                           {0xA42, 11},  {0xA43, 184},
                                           {0x812, 100}, {0x1000, 12}};
  QList<std::pair<int, int>> changed = base;
  changed << std::pair{0x803, 40} << std::pair{0xA43, 220}
          << std::pair{0x812, 105} << std::pair{0x80E, 4};
  writeFile(dir.filePath(QStringLiteral("a.fra")), memoryFile(base));
  writeFile(dir.filePath(QStringLiteral("b.fra")), memoryFile(changed));
  const RunResult run = runProgram(
      cli(), {QStringLiteral("diff"), dir.filePath(QStringLiteral("a.fra")),
              dir.filePath(QStringLiteral("b.fra"))});
  QCOMPARE(run.exitCode, 0);
  QCOMPARE(QString::fromUtf8(run.out),
           QStringLiteral("Switch-over temperature 35 °C → 40 °C\n"
                          "Switch-over engine speed 3000 rpm → 3036 rpm\n"
                          "Pressure coefficient (0.3 bar) 100 % → 105 %\n"
                          "Byte 0x80E 0 → 4\n"));
  QVERIFY(run.err.contains("4 differences"));
  const RunResult same = runProgram(
      cli(), {QStringLiteral("diff"), dir.filePath(QStringLiteral("a.fra")),
              dir.filePath(QStringLiteral("a.fra"))});
  QCOMPARE(same.exitCode, 0);
  QVERIFY(same.out.isEmpty());
  QVERIFY(same.err.contains("no difference"));
}

void TestCliDiff::diffRefusesBadFiles_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<int>("exitCode");
  QTest::newRow("missing") << QByteArray() << 3;
  QTest::newRow("one character short") << memoryFile({}).left(6164) + "\r\n"
                                       << 3;
  QTest::newRow("not a memory file") << QByteArray("time_ms,fuel\n") << 3;
}

void TestCliDiff::diffRefusesBadFiles() {
  QFETCH(QByteArray, content);
  QFETCH(int, exitCode);
  QTemporaryDir dir;
  const QString good = dir.filePath(QStringLiteral("good.fra"));
  writeFile(good, memoryFile({}));
  const QString bad = dir.filePath(QStringLiteral("bad.fra"));
  if (!content.isEmpty())
    writeFile(bad, content);
  const RunResult run = runProgram(cli(), {QStringLiteral("diff"), good, bad});
  QCOMPARE(run.exitCode, exitCode);
  QVERIFY(run.out.isEmpty());
  QVERIFY(run.err.contains("bad.fra"));
}

void TestCliDiff::diffOfTheEcuAndAFile() {
  QTemporaryDir dir;
  const QList<std::pair<int, int>> base = {
      {0x803, 35}, {0x809, 10}, {0x83C, 0}, {0x1000, 12}};
  QList<std::pair<int, int>> changed = base;
  changed << std::pair{0x809, 236} << std::pair{0x83C, 246};
  const QString loaded = dir.filePath(QStringLiteral("loaded.fra"));
  const QString other = dir.filePath(QStringLiteral("other.fra"));
  writeFile(loaded, memoryFile(base));
  writeFile(other, memoryFile(changed));
  SimProcess sim(24);
  QVERIFY(sim.start({QStringLiteral("--load"), loaded}));
  const RunResult run =
      runProgram(cli(), {QStringLiteral("diff"), QStringLiteral("ecu"), other,
                         QStringLiteral("--port"), QStringLiteral("24"),
                         QStringLiteral("--ports-dir"), sim.portsDir()});
  QCOMPARE(run.exitCode, 0);
  QStringList lines =
      QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  // The simulator's own firmware byte may differ from the file's.
  lines.removeIf([](const QString &l) {
    return l.startsWith(QLatin1String("Firmware "));
  });
  QCOMPARE(lines, QStringList(
                      {QStringLiteral("Temperature alarm 10 °C → -20 °C"),
                       QStringLiteral("Battery correction (byte 0) 0 → -10")}));
}

QTEST_GUILESS_MAIN(TestCliDiff)
#include "tst_cli_diff.moc"

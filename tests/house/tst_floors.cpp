// The source folders stand on floors: a file includes its own folder and
// the floors below, never one above, and a screen never includes another
// screen's folder (screens reach each other through the registry and the
// shell's wiring). The command line stands on the core alone.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {
struct Floor {
    const char *folder;
    int level;
};
// Bottom to top. Every folder of src/ has its place here.
constexpr Floor Floors[] = {
    {"ecu", 0},     {"link", 1},          {"files", 2},  {"settings", 3}, {"live", 4},
    {"tuning", 5},  {"vehicles", 6},      {"report", 7}, {"ui", 8},       {"pages", 9},
    {"monitor", 9}, {"calibration", 9},   {"map", 9},    {"emission", 9}, {"transfer", 9},
    {"jobs", 9},    {"presentation", 10}, {"shell", 11}, {"app", 12},     {"cli", 12},
};
constexpr int ScreenFloor = 9;
// The command line includes nothing above the core, the records and the report.
constexpr int CoreTop = 7;

int levelOf(const QString &folder) {
    for (const Floor &f : Floors) {
        if (folder == QLatin1String(f.folder))
            return f.level;
    }
    return -1;
}

// Why folder may not include target; empty when it may.
QString refusal(const QString &folder, const QString &target) {
    const int from = levelOf(folder), to = levelOf(target);
    if (to < 0)
        return QStringLiteral("a folder without a floor");
    if (folder == target)
        return {};
    if (folder == QLatin1String("cli") && to > CoreTop)
        return QStringLiteral("the command line above the core");
    if (to > from)
        return QStringLiteral("up a floor");
    if (to == from)
        return from == ScreenFloor ? QStringLiteral("sideways across screens")
                                   : QStringLiteral("sideways on one floor");
    return {};
}
} // namespace

class TestFloors : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyFolderHasAFloor() {
        QStringList homeless;
        QDirIterator dirs(QStringLiteral(GASECU_SOURCE_DIR "/src"),
                          QDir::Dirs | QDir::NoDotAndDotDot);
        while (dirs.hasNext()) {
            const QString name = dirs.next().section(u'/', -1);
            if (levelOf(name) < 0)
                homeless << name;
        }
        QCOMPARE(homeless, QStringList{});
    }

    void includesGoDownOnly() {
        static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"(\\w+)/"));
        const QString root = QStringLiteral(GASECU_SOURCE_DIR "/src/");
        QStringList wrong;
        QDirIterator files(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString relative = path.mid(root.size());
            const QString folder = relative.section(u'/', 0, 0);
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            int line = 0;
            while (!file.atEnd()) {
                ++line;
                const QString text = QString::fromUtf8(file.readLine());
                const QRegularExpressionMatch m = include.match(text);
                if (!m.hasMatch())
                    continue;
                const QString why = refusal(folder, m.captured(1));
                if (!why.isEmpty())
                    wrong << QStringLiteral("src/%1:%2: %3 (%4)")
                                 .arg(relative)
                                 .arg(line)
                                 .arg(text.trimmed(), why);
            }
        }
        for (const QString &w : std::as_const(wrong))
            qWarning().noquote() << w;
        QVERIFY2(wrong.isEmpty(), "includes that break the floors: listed above");
    }

    // The refusals themselves: the tree above shows only what is allowed.
    void refusals_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("why");
        const char *const rows[][3] = {
            {"ui", "pages", "up a floor"},
            {"map", "monitor", "sideways across screens"},
            {"cli", "ui", "the command line above the core"},
            {"link", "gadgets", "a folder without a floor"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[2]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1])
                                << QString::fromLatin1(r[2]);
    }
    void refusals() {
        QFETCH(QString, folder);
        QFETCH(QString, target);
        QTEST(refusal(folder, target), "why");
    }
};

QTEST_GUILESS_MAIN(TestFloors)
#include "tst_floors.moc"

// The compare window: the configuration in the tool against a memory file,
// or two files, listed by setting; refused sources say why; the window is
// reached from the Load button's right-click menu.
#include "files/memory_file.h"
#include "link/link.h"
#include "pages/compare_window.h"
#include "pages/data_table.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"
#include "support/window_session.h"
#include "ui/menu.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

class TestCompareWindow : public QObject, WindowFixture {
    Q_OBJECT
  private Q_SLOTS:
    void init() {
        dialogs = FakeDialogs();
        session.start(dialogs, dir.path());
        compare = window->compareWindow();
    }
    void cleanup() { session.reset(); }

    void toolAgainstAFile() {
        link->image.set(0x000, 12); // the firmware travels at 0x1000 in a file
        link->image.set(0x803, 35);
        link->setDataLoaded(true);
        MemoryImage edited = link->image;
        edited.set(0x1000, 12);
        edited.set(0x803, 40);
        edited.set(0x812, 105);
        const QString path = write(QStringLiteral("edited.fra"), memory_file::format(edited));

        dialogs.fileAnswers = {path};
        QTest::mouseClick(compare->BtFileB, Qt::LeftButton);
        QTest::mouseClick(compare->BtCompare, Qt::LeftButton);
        QCOMPARE(rows(),
                 (QList<QStringList>{{"Switch-over temperature", "35 °C", "40 °C", "0x803"},
                                     {"Pressure coefficient (0.3 bar)", "0 %", "105 %", "0x812"}}));
        QCOMPARE(compare->TxSummary->text(), QStringLiteral("2 differences"));
        QVERIFY(dialogs.shown.isEmpty());

        compare->setSource(0, path); // the same file on both sides
        compare->BtCompare_Click();
        QCOMPARE(compare->TxSummary->text(), QStringLiteral("No difference"));
    }

    void refusedSources_data() {
        columns<QString, QByteArray, QString>("name", "content", "message");
        row("nothing read yet", QString(), QByteArray(),
            " No configuration in the tool yet: read the ECU or load a file ");
        row("missing file", "gone.fra", QByteArray(), " Non-existent file ");
        row("short file", "short.fra", QByteArray("FichierMemoire:00.01.Fin\r\n"),
            " Noncorrect File error ");
    }
    void refusedSources() {
        const auto [name, content, message] =
            fetch<QString, QByteArray, QString>("name", "content", "message");
        if (!name.isEmpty()) {
            link->setDataLoaded(true);
            compare->setSource(1, content.isEmpty() ? dir.filePath(name) : write(name, content));
        }
        compare->ListDifferences->addTopLevelItem(new QTreeWidgetItem(QStringList{"stale"}));
        compare->BtCompare_Click();
        QCOMPARE(dialogs.texts(), QStringList{message});
        QCOMPARE(compare->ListDifferences->topLevelItemCount(), 0);
        QCOMPARE(compare->TxSummary->text(), QString());
    }

    void loadButtonOffersTheCompare() {
        QPushButton *load = window->menu().Charger;
        QCOMPARE(load->contextMenuPolicy(), Qt::ActionsContextMenu);
        load->actions().value(0)->trigger();
        QVERIFY(compare->isVisible());
        QCOMPARE(window->compareWindow(), compare); // one window, raised again
    }

  private:
    QString write(const QString &name, const QByteArray &content) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return file.fileName();
    }
    QList<QStringList> rows() const {
        QList<QStringList> out;
        for (int i = 0; i < compare->ListDifferences->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = compare->ListDifferences->topLevelItem(i);
            out.append({item->text(0), item->text(1), item->text(2), item->text(3)});
        }
        return out;
    }

    CompareWindow *compare = nullptr;
};

QTEST_MAIN(TestCompareWindow)
#include "tst_compare_window.moc"

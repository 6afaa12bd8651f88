// The memory viewer on the tool's own image: what it shows for a typed
// address, continuous reading after each refresh, and the changed bytes.
#include "pages/tst_pages_fixture.h"
#include "support/fake_link.h"
#include "transfer/memory_viewer.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>

class TestMemoryViewer : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() {
        w = std::make_unique<PagesWindow>();
        viewer()->showForm();
    }
    void cleanup() { w.reset(); }

    void showsTypedAddress_data() {
        // Text2|Text3|Text4, the first dump line, the last line's address, any note.
        columns<QString, QString>("typed", "shown");
        row("&H800", QString("&H800"),
            QString("200|0800|00C8\n0800 C8 00 00 00 00 00 00 00   \u00C8.......\n08E0"));
        row("past the image", QString("&H1001"), QString("||\n\n\nnote"));
    }

    void showsTypedAddress() {
        const auto [typed, shown] = fetch<QString, QString>("typed", "shown");
        w->image().set(0x800, 0xC8);
        show(typed);
        QCOMPARE(shownNow(), shown);
        QVERIFY(w->port.written.isEmpty()); // the viewer only reads the image
    }

    // Every refresh redraws the viewer only while its box is ticked.
    void continuousReading() {
        show(QStringLiteral("&H2E"));
        answerRead(w->link, w->port, dataFrame(0x02E, {0xAB, 0x01}));
        QCOMPARE(viewer()->Text2->text(), QStringLiteral("0"));
        viewer()->Check1->setChecked(true);
        answerRead(w->link, w->port, dataFrame(0x02E, {0xAC, 0x01}));
        QCOMPARE(viewer()->Text2->text(), QStringLiteral("172"));
    }

    void marksChangedBytes() {
        show(QStringLiteral("&H2E"));
        QVERIFY(viewer()->changedOffsets().isEmpty());
        // Two on the first line, one on the second, the last shown, the first past the dump.
        for (int a : {0x02E, 0x02F, 0x037, 0x02E + 231, 0x02E + 232})
            w->image().set(a, 0x10);
        show(QStringLiteral("&H2E"));
        QCOMPARE(viewer()->changedOffsets(), (QList<int>{0, 1, 9, 231}));
        show(QStringLiteral("&H2E"));
        QVERIFY(viewer()->changedOffsets().isEmpty()); // nothing changed since
        w->image().set(0x02F, 0x11);
        show(QStringLiteral("&H2F"));
        QVERIFY(viewer()->changedOffsets().isEmpty()); // another start: no marks
    }

  private:
    void show(const QString &typed) {
        viewer()->Text1->setText(typed);
        QTest::mouseClick(viewer()->BtShow, Qt::LeftButton);
    }
    QString shownNow() {
        MemoryViewer *v = viewer();
        return v->Text2->text() + u'|' + v->Text3->text() + u'|' + v->Text4->text() + u'\n' +
               v->Text5->toPlainText().section(u'\n', 0, 0) + u'\n' +
               v->Text6->toPlainText().section(u'\n', -1) +
               (v->LabelNote->text().isEmpty() ? QString() : QStringLiteral("\nnote"));
    }

    std::unique_ptr<PagesWindow> w;
    MemoryViewer *viewer() { return w->screens().memoryViewer; }
};

QTEST_MAIN(TestMemoryViewer)
#include "tst_memory_viewer.moc"

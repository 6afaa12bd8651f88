// The memory viewer on the tool's own image: what it shows for a typed
// address, continuous reading after each refresh, and the changed bytes.
#include "pages/tst_pages_fixture.h"
#include "transfer/memory_viewer.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>

class TestMemoryViewer : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void showsTypedAddress_data();
    void showsTypedAddress();
    void continuousReading_data();
    void continuousReading();
    void marksChangedBytes_data();
    void marksChangedBytes();

  private:
    std::unique_ptr<PagesWindow> w;
    MemoryViewer *viewer() { return w->screens().FnMemoire; }
};

void TestMemoryViewer::init() {
    w = std::make_unique<PagesWindow>();
    viewer()->showForm();
}

void TestMemoryViewer::cleanup() {
    w.reset();
}

void TestMemoryViewer::showsTypedAddress_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fields"); // Text2|Text3|Text4
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("lastAddress");
    QTest::addColumn<bool>("noted");
    QTest::newRow("A = 0") << "0"
                           << "65|0000|0041"
                           << "0000 41 0D 00 00 00 00 00 00   A......."
                           << "00E0" << false;
    QTest::newRow("&H800") << "&H800"
                           << "200|0800|00C8"
                           << "0800 C8 00 00 00 00 00 00 00   \u00C8......."
                           << "08E0" << false;
    QTest::newRow("decimal 2048") << "2048"
                                  << "200|0800|00C8"
                                  << "0800 C8 00 00 00 00 00 00 00   \u00C8......."
                                  << "08E0" << false;
    QTest::newRow("last byte") << "4096"
                               << "0|1000|0000"
                               << "1000 00                        ."
                               << "1000" << true;
    QTest::newRow("past the image") << "&H1001"
                                    << "||"
                                    << ""
                                    << "" << true;
    QTest::newRow("hex prefix alone") << "&H"
                                      << "||"
                                      << ""
                                      << "" << true;
}

void TestMemoryViewer::showsTypedAddress() {
    QFETCH(QString, typed);
    QFETCH(QString, fields);
    QFETCH(QString, firstLine);
    QFETCH(QString, lastAddress);
    QFETCH(bool, noted);
    w->image().set(0x000, 0x41);
    w->image().set(0x001, 0x0D);
    w->image().set(0x800, 0xC8);
    viewer()->Text1->setText(typed);
    QTest::mouseClick(viewer()->BtShow, Qt::LeftButton);
    QCOMPARE(viewer()->Text2->text() + QLatin1Char('|') + viewer()->Text3->text() +
                 QLatin1Char('|') + viewer()->Text4->text(),
             fields);
    const QStringList lines = viewer()->Text5->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.first(), firstLine);
    QCOMPARE(viewer()->Text6->toPlainText().split(QLatin1Char('\n')).last(), lastAddress);
    QCOMPARE(!viewer()->LabelNote->text().isEmpty(), noted);
    QVERIFY(w->port.written.isEmpty()); // the viewer only reads the image
}

void TestMemoryViewer::continuousReading_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ticked: redrawn after the frame") << true << "171";
    QTest::newRow("not ticked: as drawn before") << false << "0";
}

void TestMemoryViewer::continuousReading() {
    QFETCH(bool, ticked);
    QFETCH(QString, shown);
    viewer()->Text1->setText(QStringLiteral("&H2E"));
    viewer()->BtShow_Click();
    viewer()->Check1->setChecked(ticked);
    w->port.feed(dataFrame(0x02E, {0xAB, 0x01}));
    QCOMPARE(viewer()->Text2->text(), shown);
}

void TestMemoryViewer::marksChangedBytes_data() {
    QTest::addColumn<QList<int>>("addresses"); // each set to 0x10 + its index
    QTest::addColumn<QString>("secondStart");
    QTest::addColumn<QList<int>>("marked");
    QTest::newRow("three bytes") << QList<int>{0x02E, 0x02F, 0x037} << "&H2E"
                                 << QList<int>{0, 1, 9};
    QTest::newRow("last byte shown") << QList<int>{0x02E + 231} << "&H2E" << QList<int>{231};
    QTest::newRow("just before the dump") << QList<int>{0x02D} << "&H2E" << QList<int>{};
    QTest::newRow("just after the dump") << QList<int>{0x02E + 232} << "&H2E" << QList<int>{};
    QTest::newRow("another start: no marks") << QList<int>{0x02F} << "&H2F" << QList<int>{};
}

void TestMemoryViewer::marksChangedBytes() {
    QFETCH(QList<int>, addresses);
    QFETCH(QString, secondStart);
    QFETCH(QList<int>, marked);
    viewer()->Text1->setText(QStringLiteral("&H2E"));
    viewer()->BtShow_Click();
    QVERIFY(viewer()->changedOffsets().isEmpty());
    for (int i = 0; i < addresses.size(); ++i)
        w->image().set(addresses.at(i), quint8(0x10 + i));
    viewer()->Text1->setText(secondStart);
    viewer()->BtShow_Click();
    QCOMPARE(viewer()->changedOffsets(), marked);
    // Hex digits and character of each changed byte.
    QCOMPARE(viewer()->Text5->extraSelections().size(), 2 * marked.size());
    viewer()->BtShow_Click();
    QVERIFY(viewer()->changedOffsets().isEmpty()); // nothing changed since
}

QTEST_MAIN(TestMemoryViewer)
#include "tst_memory_viewer.moc"

// The NTC tables: the window arithmetic at both ends of the scroll bars, the
// signed decode, and the page's own buttons.
#include "pages/ntc_page.h"
#include "pages/ntc_table.h"
#include "tst_coefficient_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

class TestNtc : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup() { w.reset(); }
    void signedValue_data();
    void signedValue();
    void everyControlIsNamed();
    void window_data();
    void window();
    void gasScrollMovesOnlyTheGasWindow();
    void tablesFollowAWholeMemoryRead();
    void readButtonStartsAWholeMemoryRead();

  private:
    NtcPage *page() { return w->screens().FnParametres4; }
    std::unique_ptr<TablesWindow> w;
};

// Each table entry holds its own index, so a window shows where it points.
void TestNtc::init() {
    w = std::make_unique<TablesWindow>();
    for (int i = 0; i < 256; ++i) {
        w->image().set(ntc::CoolantBase + i, static_cast<quint8>(i));
        w->image().set(ntc::GasBase + i, static_cast<quint8>(255 - i));
    }
    page()->PutIndexNTCE();
    page()->PutIndexNTCG();
}

void TestNtc::signedValue_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("celsius");
    QTest::newRow("0xEC") << 0xEC << -20;
    QTest::newRow("0x7F") << 0x7F << 127;
    QTest::newRow("0x80") << 0x80 << -128;
    QTest::newRow("0xFF") << 0xFF << -1;
    QTest::newRow("0") << 0 << 0;
}

void TestNtc::signedValue() {
    QFETCH(int, byte);
    QFETCH(int, celsius);
    QCOMPARE(ntc::signedValue(static_cast<quint8>(byte)), celsius);
    w->image().set(0x939, static_cast<quint8>(byte));
    page()->HScroll2->setValue(0);
    page()->PutIndexNTCG();
    QCOMPARE(page()->TxTbGaz.at(0)->text(), QString::number(celsius));
}

void TestNtc::everyControlIsNamed() {
    for (int k = 0; k < 18; ++k) {
        QVERIFY(page()->findChild<QLabel *>(QStringLiteral("IndexNE%1").arg(k)));
        QVERIFY(page()->findChild<QLabel *>(QStringLiteral("IndexGE%1").arg(k)));
        QVERIFY(page()->findChild<QLineEdit *>(QStringLiteral("TxTbEau%1").arg(k + 1)));
        QVERIFY(page()->findChild<QLineEdit *>(QStringLiteral("TxTbGaz%1").arg(k + 1)));
    }
    for (QScrollBar *bar : {page()->HScroll1, page()->HScroll2}) {
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 238);
    }
    QCOMPARE(page()->HScroll1->objectName(), QStringLiteral("HScroll1"));
    QCOMPARE(page()->HScroll2->objectName(), QStringLiteral("HScroll2"));
}

void TestNtc::window_data() {
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("k"); // value field 1..18
    QTest::addColumn<int>("label");
    QTest::addColumn<int>("entry"); // index into the table
    QTest::newRow("start, first") << 0 << 1 << 1 << 0;
    QTest::newRow("start, last") << 0 << 18 << 18 << 17;
    QTest::newRow("middle") << 100 << 5 << 105 << 104;
    QTest::newRow("end, first") << 238 << 1 << 239 << 238;
    QTest::newRow("end, last") << 238 << 18 << 256 << 255;
}

void TestNtc::window() {
    QFETCH(int, scroll);
    QFETCH(int, k);
    QFETCH(int, label);
    QFETCH(int, entry);
    page()->HScroll1->setValue(scroll);
    page()->HScroll2->setValue(scroll);
    const auto slot = static_cast<std::size_t>(k - 1);
    QCOMPARE(page()->IndexNE.at(slot)->text(), QString::number(label));
    QCOMPARE(page()->IndexGE.at(slot)->text(), QString::number(label));
    QCOMPARE(page()->TxTbEau.at(slot)->text(), QString::number(ntc::signedValue(entry)));
    QCOMPARE(page()->TxTbGaz.at(slot)->text(), QString::number(ntc::signedValue(255 - entry)));
}

void TestNtc::gasScrollMovesOnlyTheGasWindow() {
    page()->HScroll2->setValue(50);
    QCOMPARE(page()->IndexGE.at(0)->text(), QStringLiteral("51"));
    QCOMPARE(page()->IndexNE.at(0)->text(), QStringLiteral("1"));
    QCOMPARE(page()->TxTbEau.at(0)->text(), QStringLiteral("0"));
}

void TestNtc::tablesFollowAWholeMemoryRead() {
    w->link->StartFullRead();
    for (int i = 0; i < BlockCount && w->link->state.FullReadActive; ++i) {
        const BlockRange r = blockRange(w->port->written.last().chopped(1));
        w->port->feed(filledFrame(r.address, r.count, 0xEC));
    }
    QVERIFY(!w->link->state.FullReadActive);
    QCOMPARE(page()->TxTbEau.at(17)->text(), QStringLiteral("-20"));
    QCOMPARE(page()->TxTbGaz.at(0)->text(), QStringLiteral("-20"));
}

void TestNtc::readButtonStartsAWholeMemoryRead() {
    QVERIFY(!page()->BoutonCentrale->isEnabled()); // the page writes nothing
    page()->BoutonPC->click();
    QVERIFY(w->link->state.FullReadActive);
    QCOMPARE(w->port->written, QByteArrayList{"@R0003489\r"});
}

QTEST_MAIN(TestNtc)
#include "tst_ntc.moc"

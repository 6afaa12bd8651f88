// The emission test screen, the final test screen and their menu button,
// on an in-memory line: the bytes each action leaves in the image and the
// frames it puts on the line.
#include "emission/emission_screen.h"
#include "emission/final_test_screen.h"
#include "emission/time_graph.h"
#include "pages/number_format.h"
#include "pages/tst_pages_fixture.h"
#include "transfer/memory_viewer.h"
#include "transfer/transfer_form.h"
#include "ui/menu.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

using schedule::Column;
Q_DECLARE_METATYPE(schedule::Column)

class TestEmissionScreens : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void gridWindow_data();
    void gridWindow();
    void enterStoresLimitedValue_data();
    void enterStoresLimitedValue();
    void clock_data();
    void clock();
    void monitorStartRunsTheClockAndShowsIt();
    void wholeScheduleWrite_data();
    void wholeScheduleWrite();
    void scheduleReadReachesTheLastBlock();
    void finalTestShowsAndWrites_data();
    void finalTestShowsAndWrites();
    void finalTestRefusesWhatTheBlockCannotHold();
    void finalTestReadShowsTheAnswer();
    void menuButton_data();
    void menuButton();

  private:
    std::unique_ptr<PagesWindow> w;
    EmissionScreen *emi() { return w->screens().FnEmi; }
    FinalTestScreen *fin() { return w->screens().FnFinTeste; }
};

void TestEmissionScreens::init() {
    w = std::make_unique<PagesWindow>();
    emi()->showForm();
    emi()->Temp.stop(); // the tests tick the clock themselves
}

void TestEmissionScreens::cleanup() {
    w.reset();
}

void TestEmissionScreens::gridWindow_data() {
    QTest::addColumn<int>("scroll");
    QTest::addColumn<QString>("labels");   // IndexGE0 .. IndexGE17
    QTest::addColumn<QString>("firstRow"); // time|idle|load|state of row 1
    QTest::addColumn<QString>("lastRow");  // ... of row 18
    QTest::newRow("top") << 0 << "1..18"
                         << "25|160|120|1"
                         << "433|160|120|1";
    QTest::newRow("one down") << 1 << "2..19"
                              << "49|160|120|1"
                              << "457|160|120|1";
    QTest::newRow("bottom") << 32 << "33..50"
                            << "793|160|120|1"
                            << "1201|160|120|1";
}

void TestEmissionScreens::gridWindow() {
    QFETCH(int, scroll);
    QFETCH(QString, labels);
    QFETCH(QString, firstRow);
    QFETCH(QString, lastRow);
    emi()->Command1_Click();
    emi()->HScroll2->setValue(scroll);
    QCOMPARE(emi()->IndexGE(0)->text() + QStringLiteral("..") + emi()->IndexGE(17)->text(), labels);
    auto rowText = [this](int k) {
        QStringList cells;
        for (Column c : schedule::Columns)
            cells << emi()->cell(c, k)->text();
        return cells.join(QLatin1Char('|'));
    };
    QCOMPARE(rowText(1), firstRow);
    QCOMPARE(rowText(18), lastRow);
    QVERIFY(w->port.written.isEmpty()); // only the image changed
}

void TestEmissionScreens::enterStoresLimitedValue_data() {
    QTest::addColumn<Column>("column");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("time over the limit")
        << Column::Time << 0 << 1 << "12345" << 0xA47 << QByteArray("\x27\x0F") << "9999";
    QTest::newRow("time of entry 50")
        << Column::Time << 32 << 18 << "1200" << 0xAA9 << QByteArray("\x04\xB0") << "1200";
    QTest::newRow("idle halves to even")
        << Column::Idle << 32 << 18 << "333" << 0xADC << QByteArray("\xA6") << "332";
    QTest::newRow("idle letters filtered")
        << Column::Idle << 0 << 2 << "3a3b5" << 0xAAC << QByteArray("\xA8") << "336";
    QTest::newRow("load over the limit")
        << Column::Load << 3 << 5 << "300" << 0xAE4 << QByteArray("\xFF") << "255";
    QTest::newRow("state over the limit")
        << Column::State << 0 << 2 << "7" << 0xB10 << QByteArray("\x01") << "1";
    QTest::newRow("state zero") << Column::State << 0 << 3 << "0" << 0xB11 << QByteArray("\x00", 1)
                                << "0";
}

void TestEmissionScreens::enterStoresLimitedValue() {
    QFETCH(Column, column);
    QFETCH(int, scroll);
    QFETCH(int, k);
    QFETCH(QString, typed);
    QFETCH(int, address);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    emi()->Command1_Click();
    emi()->HScroll2->setValue(scroll);
    NumericEdit *cell = emi()->cell(column, k);
    cell->clear();
    QTest::keyClicks(cell, typed);
    QTest::keyClick(cell, Qt::Key_Return);
    for (int i = 0; i < bytes.size(); ++i)
        QCOMPARE(int(w->image().at(address + i)), int(quint8(bytes.at(i))));
    QCOMPARE(cell->text(), shown);
    QVERIFY(w->port.written.isEmpty()); // Enter writes only to the image
}

void TestEmissionScreens::clock_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("after");
    QTest::addColumn<double>("pointer");
    QTest::addColumn<int>("scroll");
    QTest::newRow("first second") << true << "0" << 1 << "1" << 1.0 << 1;
    QTest::newRow("to the graph end") << true << "1198" << 2 << "1200" << 1200.0 << 1199;
    QTest::newRow("past the graph") << true << "1300" << 1 << "1301" << 1301.0 << 1199;
    QTest::newRow("stopped") << false << "40" << 3 << "40" << 40.0 << 40;
    QTest::newRow("garbage restarts") << true << "x1" << 1 << "1" << 1.0 << 1;
}

void TestEmissionScreens::clock() {
    QFETCH(bool, running);
    QFETCH(QString, before);
    QFETCH(int, ticks);
    QFETCH(QString, after);
    QFETCH(double, pointer);
    QFETCH(int, scroll);
    const int start = int(qMin(1199.0, number::parse(before)));
    emi()->HScroll1->setValue(start);
    QCOMPARE(emi()->Picture1->pointeur(), double(start));
    emi()->TxTemps->setText(before);
    if (running)
        QTest::mouseClick(emi()->EmiStart, Qt::LeftButton);
    else
        QTest::mouseClick(emi()->BtStop, Qt::LeftButton);
    for (int i = 0; i < ticks; ++i)
        emi()->Temp_Timer();
    QCOMPARE(emi()->TxTemps->text(), after);
    QCOMPARE(emi()->Picture1->pointeur(), pointer);
    QCOMPARE(emi()->HScroll1->value(), scroll);

    QTest::mouseClick(emi()->Btreset, Qt::LeftButton);
    QCOMPARE(emi()->TxTemps->text(), QStringLiteral("0"));
    QCOMPARE(emi()->Picture1->pointeur(), 0.0);
}

void TestEmissionScreens::monitorStartRunsTheClockAndShowsIt() {
    emi()->BtStop_Click();
    QTest::mouseClick(w->screens().FnMoniteur->EmiStart, Qt::LeftButton);
    QVERIFY(emi()->EmissionTestRunning);
    emi()->Temp_Timer();
    emi()->Temp_Timer();
    w->port.feed(filledFrame(0x000, 4, 0)); // a poll answer refreshes the screens
    QCOMPARE(w->screens().FnMoniteur->TxTemps->text(), QStringLiteral("2"));
    // Loading the form again stops the clock.
    emi()->unloadForm();
    emi()->showForm();
    QVERIFY(!emi()->EmissionTestRunning);
}

void TestEmissionScreens::wholeScheduleWrite_data() {
    QTest::addColumn<bool>("initialised");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("messages");
    QTest::newRow("initialised: the whole schedule") << true << 19 << 0;
    QTest::newRow("never read: up to entry 15, and a note") << false << 15 << 1;
}

// Each block goes out after the previous one is answered; the frames carry
// the schedule from the image.
void TestEmissionScreens::wholeScheduleWrite() {
    QFETCH(bool, initialised);
    QFETCH(int, frames);
    QFETCH(int, messages);
    if (initialised)
        emi()->Command1_Click();
    QTest::mouseClick(emi()->BoutonCentrale, Qt::LeftButton);
    QVERIFY(w->screens().FnUPLoad->isShown());
    for (int i = 0; i < 25 && w->port.written.size() < frames + 1; ++i)
        w->acknowledge();
    QCOMPARE(w->port.written.size(), frames);
    QVERIFY(w->port.written.first().startsWith("@W8030B"));
    QCOMPARE(w->app().link.state.UploadStep, 0);
    QVERIFY(!w->screens().FnUPLoad->isShown());
    QCOMPARE(w->dialogs.shown.size(), messages);
    if (!initialised)
        return;
    // Entry 15: 0xA47.., times 25, 49 ...; entry 16: 0xA79.., times 625 ... 1201, then idle 80.
    QVERIFY(w->port.written.at(14).startsWith("@WA473300190031004900"));
    const QByteArray tail = w->port.written.at(15);
    QVERIFY(tail.startsWith("@WA7933027102"));
    QCOMPARE(tail.mid(7 + 2 * 48, 6), QByteArray("04B150"));
    QVERIFY(w->port.written.at(18).startsWith("@WB0F330101"));
}

void TestEmissionScreens::scheduleReadReachesTheLastBlock() {
    w->app().link.state.PollingOn = true;
    w->screens().FnMoniteur->Timer1.start();
    QTest::mouseClick(emi()->BoutonPC, Qt::LeftButton);
    QVERIFY(!w->app().link.state.PollingOn);
    QVERIFY(!w->screens().FnMoniteur->Timer1.isActive());
    const BlockTable &blocks = w->app().link.blocks;
    for (int entry = 0; entry < schedule::ScheduleBlockEnd; ++entry) {
        QCOMPARE(w->port.written.size(), 1);
        QCOMPARE(w->port.written.takeFirst(), blocks.at(std::size_t(entry)) + '\r');
        const BlockRange r = blockRange(blocks.at(std::size_t(entry)));
        w->port.feed(filledFrame(r.address, r.count, entry == 19 ? 1 : 0x22));
    }
    QVERIFY(w->port.written.isEmpty());
    QVERIFY(emi()->isScheduleKnown());
    emi()->HScroll2->setValue(32);
    QCOMPARE(emi()->cell(Column::State, 18)->text(), QStringLiteral("1")); // 0xB40, last block
    QCOMPARE(emi()->cell(Column::Idle, 18)->text(), QStringLiteral("68")); // 0x22 doubled
}

void TestEmissionScreens::finalTestShowsAndWrites_data() {
    QTest::addColumn<int>("field"); // 1..12
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("signAddress");
    QTest::addColumn<int>("sign");
    QTest::addColumn<int>("magnitude");
    QTest::newRow("Text1 -12") << 1 << "-12" << 0xB4D << 1 << 12;
    QTest::newRow("Text7 -0") << 7 << "-0" << 0xB41 << 0 << 0;
    QTest::newRow("Text12 255") << 12 << "255" << 0xB46 << 0 << 255;
}

void TestEmissionScreens::finalTestShowsAndWrites() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(int, signAddress);
    QFETCH(int, sign);
    QFETCH(int, magnitude);
    w->image().set(0xB53, 12); // Text1 magnitude
    w->image().set(0xB4D, 1);  // ... negative
    w->image().set(0xB59, 30);
    QTest::mouseClick(emi()->Command2, Qt::LeftButton);
    QVERIFY(fin()->isShown());
    QCOMPARE(fin()->Text(1)->text(), QStringLiteral("-12"));
    QCOMPARE(fin()->Text(2)->text(), QStringLiteral("0"));
    QCOMPARE(fin()->TxCycle->text(), QStringLiteral("30"));

    fin()->Text(field)->setText(typed);
    QTest::mouseClick(fin()->BoutonCentrale, Qt::LeftButton);
    QCOMPARE(int(w->image().at(signAddress)), sign);
    QCOMPARE(int(w->image().at(signAddress + 6)), magnitude);
    QCOMPARE(w->port.written.size(), 1);
    QVERIFY(w->port.written.first().startsWith("@WB4119"));
    QCOMPARE(w->port.written.first(), w->writeOf(frames::WriteFinalTest));
}

void TestEmissionScreens::finalTestRefusesWhatTheBlockCannotHold() {
    fin()->ShowValue();
    fin()->Text(3)->setText(QStringLiteral("300"));
    fin()->Text(5)->setText(QStringLiteral("-9"));
    fin()->BoutonCentrale_Click();
    QVERIFY(w->port.written.isEmpty());
    QCOMPARE(int(w->image().at(0xB51)), 0); // Text5's sign untouched
    QCOMPARE(w->dialogs.texts(),
             QStringList{QStringLiteral(
                 "Text3 = 300 : value out of range (-255 to 255, cycles 0 to 255)")});
}

void TestEmissionScreens::finalTestReadShowsTheAnswer() {
    w->app().link.state.PollingOn = true;
    w->image().set(0xB59, 4);
    fin()->BoutonPC_Click();
    QCOMPARE(w->port.written, QByteArrayList{"@RB4119A3\r"});
    QVERIFY(!w->app().link.state.PollingOn);
    QCOMPARE(fin()->TxCycle->text(), QStringLiteral("4")); // the image at the press
    std::vector<int> block(25, 0);
    block[0] = 1;   // Text7 negative
    block[6] = 77;  // Text7 magnitude
    block[24] = 99; // cycles
    w->port.feed(dataFrame(0xB41, block));
    QCOMPARE(fin()->Text(7)->text(), QStringLiteral("-77"));
    QCOMPARE(fin()->TxCycle->text(), QStringLiteral("99"));
}

void TestEmissionScreens::menuButton_data() {
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<bool>("polling");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("port open") << true << true << QStringList{};
    QTest::newRow("port closed") << false << false
                                 << QStringList{QStringLiteral(" Serial Port not select ")};
}

void TestEmissionScreens::menuButton() {
    QFETCH(bool, portOpen);
    QFETCH(bool, polling);
    QFETCH(QStringList, messages);
    emi()->hideForm();
    if (!portOpen)
        w->link.ClosePort();
    Screens &s = w->screens();
    s.FnParametres6->showForm();
    s.FnParametres->showForm();
    w->window.navigation().BtEmi_Click();
    QVERIFY(emi()->isShown());
    QVERIFY(s.FnParametres6->isShown()); // the lambda page stays
    QVERIFY(!s.FnParametres->isShown());
    QCOMPARE(w->app().link.state.PollingOn, polling);
    QVERIFY(s.FnMoniteur->Timer1.isActive());
    QCOMPARE(w->dialogs.texts(), messages);
    QCOMPARE(s.FnConnection->isShown(), !portOpen);

    // The memory viewer opens and changes nothing else.
    w->window.navigation().BtMemoire_Click();
    QVERIFY(s.FnMemoire->isShown());
    QVERIFY(emi()->isShown());
    QCOMPARE(w->app().link.state.PollingOn, polling);
}

QTEST_MAIN(TestEmissionScreens)
#include "tst_emission_screens.moc"

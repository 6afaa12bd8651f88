// The emission and final test screens on an in-memory line: bytes and frames.
#include "emission/emission_screen.h"
#include "emission/final_test_screen.h"
#include "emission/time_graph.h"
#include "pages/tst_pages_fixture.h"
#include "support/fake_link.h"
#include "transfer/memory_viewer.h"
#include "transfer/transfer_form.h"
#include "ui/menu.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <tuple>

using schedule::Column;

class TestEmissionScreens : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { w = std::make_unique<PagesWindow>(); }
    void cleanup() { w.reset(); }

    // Opening the screen reads the schedule once, block by block; the grid
    // stays empty, and "Initialisation" and the writes wait, until the last
    // block is in.
    void scheduleReadOnOpening() {
        emi()->showForm();
        const QByteArrayList expected = {
            "@R0003489\r", "@R8030B9F\r", "@R8013896\r", "@RA15249F\r", "@RA390EB4\r",
            "@R8A737AC\r", "@R8DE37BD\r", "@R9152497\r", "@R93937A1\r", "@R8013896\r",
            "@R970379C\r", "@R9A737AD\r", "@R9DE37BE\r", "@R83937A0\r", "@R870379B\r",
            "@RA4733A4\r", "@RA7933A9\r", "@RAAB33BC\r", "@RADD33C1\r", "@RB0F33B0\r"};
        for (const QByteArray &request : expected) {
            QCOMPARE(std::exchange(w->port.written, {}), QByteArrayList{request});
            QCOMPARE(gridEnds(), QStringLiteral("1: |||, 18: |||"));
            QVERIFY(!emi()->Command1->isEnabled() && !emi()->BoutonCentrale->isEnabled());
            const BlockRange r = blockRange(request);
            w->port.feed(filledFrame(r.address, r.count, 0x22));
        }
        QVERIFY(emi()->Command1->isEnabled() && emi()->BoutonCentrale->isEnabled());
        emi()->HScroll2->setValue(32);
        QCOMPARE(gridEnds(), QStringLiteral("33: 8738|68|34|34, 50: 8738|68|34|34"));
        emi()->hideForm();
        emi()->showForm();
        QVERIFY(w->port.written.isEmpty());
    }

    // Before the schedule is known (the port closed, nothing read) the write
    // sends nothing and says so.
    void writeRefusedBeforeTheRead() {
        w->link.ClosePort();
        emi()->showForm();
        QTest::mouseClick(emi()->BoutonCentrale, Qt::LeftButton);
        QVERIFY(w->port.written.isEmpty());
        QCOMPARE(w->dialogs.texts(),
                 QStringList{"Nothing was written to the ECU: the emission schedule has not been "
                             "read from it, so the times, idle, load and state values of its 50 "
                             "entries are not known. \"ECU -->> PC\" reads them, "
                             "\"Initialisation\" sets them all; then the write sends the "
                             "configuration and the whole schedule, never the final test "
                             "results."});
    }

    // A schedule read from one ECU is not another's: opening the port again
    // forgets it (the next write reads first); one the fitter set stays.
    void scheduleAfterThePortOpensAgain_data() {
        columns<bool, QString>("initialised", "firstRow");
        row("read from the ECU", false, QStringLiteral("1: |||, 18: |||"));
        row("initialised", true, QStringLiteral("1: 25|160|120|1, 18: 433|160|120|1"));
    }
    void scheduleAfterThePortOpensAgain() {
        const auto [initialised, firstRow] = fetch<bool, QString>("initialised", "firstRow");
        open();
        if (initialised)
            emi()->Command1_Click();
        w->link.ClosePort();
        QVERIFY(w->link.OpenPort());
        QCOMPARE(gridEnds(), firstRow);
        QCOMPARE(emi()->isScheduleKnown(), initialised);
    }

    // Enter stores the limited value in the image only and shows it back.
    void enterStoresLimitedValue() {
        open();
        emi()->Command1_Click();
        // Column, scroll, row, typed, address, byte stored (the time's two), shown.
        const std::tuple<Column, int, int, const char *, int, int, const char *> cases[] = {
            {Column::Time, 0, 1, "12345", 0xA47, 0x270F, "9999"},
            {Column::Idle, 32, 18, "3a3b3", 0xADC, 0xA6, "332"}, // letters filtered
            {Column::Load, 3, 5, "300", 0xAE4, 0xFF, "255"}};
        for (const auto &[column, scroll, k, typed, address, stored, shown] : cases) {
            emi()->HScroll2->setValue(scroll);
            NumericEdit *cell = emi()->cell(column, k);
            cell->clear();
            QTest::keyClicks(cell, QString::fromLatin1(typed));
            QTest::keyClick(cell, Qt::Key_Return);
            QCOMPARE(column == Column::Time ? w->image().u16(address) : w->image().at(address),
                     stored);
            QCOMPARE(cell->text(), QString::fromLatin1(shown));
        }
        QVERIFY(w->port.written.isEmpty());
    }

    void clock() {
        open();
        const std::tuple<bool, const char *, const char *, int> cases[] = {
            {true, "1199", "1200", 1199}, {false, "40", "40", 40}};
        for (const auto &[running, before, after, scroll] : cases) {
            emi()->HScroll1->setValue(QString::fromLatin1(before).toInt());
            emi()->TxTemps->setText(QString::fromLatin1(before));
            QTest::mouseClick(running ? emi()->EmiStart : emi()->BtStop, Qt::LeftButton);
            emi()->Temp_Timer();
            QCOMPARE(emi()->TxTemps->text(), QString::fromLatin1(after));
            QCOMPARE(emi()->Picture1->pointeur(), QByteArray(after).toDouble());
            QCOMPARE(emi()->HScroll1->value(), scroll);
            QTest::mouseClick(emi()->Btreset, Qt::LeftButton);
            QCOMPARE(emi()->Picture1->pointeur(), 0.0);
        }
    }

    // The monitor's start button runs the clock; a poll answer shows it there.
    void monitorStartRunsTheClockAndShowsIt() {
        open();
        emi()->BtStop_Click();
        QTest::mouseClick(w->screens().monitorScreen->EmiStart, Qt::LeftButton);
        emi()->Temp_Timer();
        emi()->Temp_Timer();
        answerRead(w->link, w->port, filledFrame(0x000, 4, 0));
        QCOMPARE(w->screens().monitorScreen->TxTemps->text(), QStringLiteral("2"));
        emi()->unloadForm();
        emi()->showForm();
        QVERIFY(!emi()->EmissionTestRunning);
    }

    // One block per answer, entry 1 then 2..19; the states block goes out as
    // 0xB0F..0xB40 and the final test's sign flag at 0xB41 stays the ECU's.
    void wholeScheduleWrite_data() {
        columns<bool, QByteArray>("initialised", "states");
        row("as read", false,
            QByteArray("@WB0F32222222222222222222222222222222222222222222222222222222222222222"
                       "22222222222222222222222222222222222223C\r"));
        row("initialised", true,
            QByteArray("@WB0F320101010101010101010101010101010101010101010101010101010101010101"
                       "010101010101010101010101010101010101A6\r"));
    }
    void wholeScheduleWrite() {
        const auto [initialised, states] = fetch<bool, QByteArray>("initialised", "states");
        open();
        if (initialised)
            emi()->Command1_Click();
        QTest::mouseClick(emi()->BoutonCentrale, Qt::LeftButton);
        for (int i = 0; i < 25; ++i)
            w->acknowledge();
        const QByteArrayList &sent = w->port.written;
        QCOMPARE(sent.size(), 19);
        QVERIFY(sent.first().startsWith("@W8030B"));
        QCOMPARE(sent.last(), states);
        for (const QByteArray &frame : sent) {
            const BlockRange r = blockRange(frame);
            QVERIFY2(r.address + r.count <= 0xB41, frame.constData());
        }
        QCOMPARE(int(w->image().at(0xB41)), 0x22);
        QVERIFY(!w->screens().uploadProgress->isShown() && w->dialogs.shown.isEmpty());
        // The read of the states block reaches 0xB41 again.
        QCOMPARE(w->app().link.blocks.at(19), "@RB0F33B0");
        if (!initialised)
            return;
        // Entry 15: 0xA47.., times 25, 49 ...; entry 16: 0xA79.., times 625 ... 1201, idle 80.
        QVERIFY(sent.at(14).startsWith("@WA473300190031004900"));
        QVERIFY(sent.at(15).startsWith("@WA7933027102") &&
                sent.at(15).mid(7 + 2 * 48, 6) == "04B150");
    }

    // The progress bars end with the last block of the transfer running: the
    // schedule's read and write take 20 blocks, the configuration's read 16.
    void progressEndsWithTheTransfer() {
        QProgressBar *read = w->screens().readProgress->AXProgress1;
        emi()->showForm();
        QCOMPARE(read->maximum(), 20);
        const BlockTable &blocks = w->app().link.blocks;
        for (int entry = 0; entry < 16; ++entry) {
            const BlockRange r = blockRange(blocks.at(std::size_t(entry)));
            w->port.feed(filledFrame(r.address, r.count, 0x22));
        }
        QCOMPARE(read->value(), 17); // four blocks still to come: not full
        open();
        QTest::mouseClick(emi()->BoutonCentrale, Qt::LeftButton);
        QCOMPARE(w->screens().uploadProgress->AXProgress1->maximum(), 20);
        for (int i = 0; i < 25; ++i)
            w->acknowledge();
        w->app().link.StartFullRead();
        QCOMPARE(read->maximum(), 16);
    }

    // A value the block cannot hold stops the whole write; once put right,
    // every field goes out in one frame.
    void finalTestShowsRefusesAndWrites() {
        open();
        w->set({{0xB53, 12}, {0xB4D, 1}, {0xB59, 30}}); // Text1 magnitude, its sign, the cycles
        QTest::mouseClick(emi()->Command2, Qt::LeftButton);
        QCOMPARE(texts(fin()->Text(1), fin()->TxCycle), QStringList({"-12", "30"}));
        typeInto({{fin()->Text(3), "300"}, {fin()->Text(5), "-9"}});
        QTest::mouseClick(fin()->BoutonCentrale, Qt::LeftButton);
        QVERIFY(w->port.written.isEmpty());
        QCOMPARE(w->dialogs.texts(),
                 QStringList{"Text3 = 300 : value out of range (-255 to 255, cycles 0 to 255)"});
        typeInto({{fin()->Text(3), "0"}, {fin()->Text(6), "-200"}});
        typeInto({{fin()->Text(7), "-0"}, {fin()->Text(12), "255"}});
        QTest::mouseClick(fin()->BoutonCentrale, Qt::LeftButton);
        // Signs of Text7..12, their magnitudes, signs of Text1..6, theirs, the cycles.
        QCOMPARE(w->port.written, QByteArrayList{"@WB4119"
                                                 "000000000000"
                                                 "0000000000FF"
                                                 "010000000101"
                                                 "0C00000009C8"
                                                 "1E84\r"});
    }

    void finalTestReadShowsTheAnswer() {
        open();
        w->app().link.poll.start();
        fin()->BoutonPC_Click();
        QCOMPARE(w->port.written, QByteArrayList{"@RB4119A3\r"});
        QVERIFY(!w->app().link.poll.isOn());
        // Text7 negative, its magnitude 77, and 99 cycles.
        answerRead(w->link, w->port, dataFrame(0xB41, {1, 0, 0, 0, 0, 0, 77, 0, 0, 0, 0, 0, 0,
                                                       0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 99}));
        QCOMPARE(texts(fin()->Text(7), fin()->TxCycle), QStringList({"-77", "99"}));
    }

    void menuButton_data() {
        columns<bool, QStringList>("portOpen", "messages");
        row("port open", true, QStringList{});
        row("port closed", false, QStringList{QStringLiteral(" Serial Port not select ")});
    }
    void menuButton() {
        const auto [portOpen, messages] = fetch<bool, QStringList>("portOpen", "messages");
        open();
        emi()->hideForm();
        if (!portOpen)
            w->link.ClosePort();
        Screens &s = w->screens();
        s.lambdaPage->showForm();
        s.mainParametersPage->showForm();
        w->window.navigation().BtEmi_Click();
        // The lambda page stays.
        QVERIFY(emi()->isShown() && !s.mainParametersPage->isShown() && s.lambdaPage->isShown());
        QCOMPARE(w->app().link.poll.isOn(), portOpen);
        QCOMPARE(w->dialogs.texts(), messages);
        QCOMPARE(s.connection->isShown(), !portOpen);
    }

  private:
    // Opens the screen and answers its read of the schedule with 0x22 in
    // every byte; the line is then quiet.
    void open() {
        emi()->showForm();
        emi()->Temp.stop(); // the tests tick the clock themselves
        const BlockTable &blocks = w->app().link.blocks;
        for (int entry = 0; entry < schedule::ScheduleBlockEnd; ++entry) {
            const BlockRange r = blockRange(blocks.at(std::size_t(entry)));
            w->port.feed(filledFrame(r.address, r.count, 0x22));
        }
        w->port.written.clear();
    }

    // Label and time|idle|load|state of the grid's first and last rows.
    QString gridEnds() {
        QStringList ends;
        for (int k : {1, 18}) {
            QStringList cells;
            for (Column c : schedule::Columns)
                cells << emi()->cell(c, k)->text();
            ends << emi()->IndexGE(k - 1)->text() + QStringLiteral(": ") + cells.join(u'|');
        }
        return ends.join(QStringLiteral(", "));
    }

    std::unique_ptr<PagesWindow> w;
    EmissionScreen *emi() { return w->screens().emissionScreen; }
    FinalTestScreen *fin() { return w->screens().finalTestScreen; }
};

QTEST_MAIN(TestEmissionScreens)
#include "tst_emission_screens.moc"

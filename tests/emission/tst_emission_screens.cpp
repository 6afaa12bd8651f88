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
#include <QScrollBar>
#include <tuple>

using schedule::Column;

class TestEmissionScreens : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() {
        w = std::make_unique<PagesWindow>();
        emi()->showForm();
        emi()->Temp.stop(); // the tests tick the clock themselves
    }
    void cleanup() { w.reset(); }

    void gridWindowAtBothEnds() {
        emi()->Command1_Click();
        QCOMPARE(gridEnds(), QStringLiteral("1: 25|160|120|1, 18: 433|160|120|1"));
        emi()->HScroll2->setValue(32);
        QCOMPARE(gridEnds(), QStringLiteral("33: 793|160|120|1, 50: 1201|160|120|1"));
        QVERIFY(w->port.written.isEmpty());
    }

    // Enter stores the limited value in the image only and shows it back.
    void enterStoresLimitedValue() {
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
            QCOMPARE(emi()->TxTemps->text(), QStringLiteral("0"));
            QCOMPARE(emi()->Picture1->pointeur(), 0.0);
        }
    }

    // The monitor's start button runs the clock; a poll answer shows it there.
    void monitorStartRunsTheClockAndShowsIt() {
        emi()->BtStop_Click();
        QTest::mouseClick(w->screens().FnMoniteur->EmiStart, Qt::LeftButton);
        emi()->Temp_Timer();
        emi()->Temp_Timer();
        answerRead(w->link, w->port, filledFrame(0x000, 4, 0));
        QCOMPARE(w->screens().FnMoniteur->TxTemps->text(), QStringLiteral("2"));
        emi()->unloadForm();
        emi()->showForm();
        QVERIFY(!emi()->EmissionTestRunning);
    }

    // One block per answer: the whole schedule once initialised, else to entry 15.
    void wholeScheduleWrite_data() {
        columns<bool>("initialised");
        row("initialised", true);
        row("never read", false);
    }
    void wholeScheduleWrite() {
        const auto [initialised] = fetch<bool>("initialised");
        if (initialised)
            emi()->Command1_Click();
        QTest::mouseClick(emi()->BoutonCentrale, Qt::LeftButton);
        for (int i = 0; i < 25; ++i)
            w->acknowledge();
        const QByteArrayList &sent = w->port.written;
        QCOMPARE(sent.size(), initialised ? 19 : 15);
        QVERIFY(sent.first().startsWith("@W8030B"));
        QVERIFY(w->app().link.state.UploadStep == 0 && !w->screens().FnUPLoad->isShown());
        QCOMPARE(w->dialogs.shown.size(), initialised ? 0 : 1);
        if (!initialised)
            return;
        // Entry 15: 0xA47.., times 25, 49 ...; entry 16: 0xA79.., times 625 ... 1201, idle 80.
        QVERIFY(sent.at(14).startsWith("@WA473300190031004900"));
        QVERIFY(sent.at(15).startsWith("@WA7933027102") &&
                sent.at(15).mid(7 + 2 * 48, 6) == "04B150");
        QVERIFY(sent.at(18).startsWith("@WB0F330101"));
    }

    // The read asks for the schedule's blocks one by one.
    void scheduleReadReachesTheLastBlock() {
        QTest::mouseClick(emi()->BoutonPC, Qt::LeftButton);
        const BlockTable &blocks = w->app().link.blocks;
        for (int entry = 0; entry < schedule::ScheduleBlockEnd; ++entry) {
            QCOMPARE(w->port.written.size(), 1);
            QCOMPARE(w->port.written.takeFirst(), blocks.at(std::size_t(entry)) + '\r');
            const BlockRange r = blockRange(blocks.at(std::size_t(entry)));
            w->port.feed(filledFrame(r.address, r.count, entry == 19 ? 1 : 0x22));
        }
        QVERIFY(w->port.written.isEmpty() && emi()->isScheduleKnown());
        emi()->HScroll2->setValue(32);
        QCOMPARE(emi()->cell(Column::State, 18)->text(), QStringLiteral("1")); // 0xB40, last block
    }

    // A value the block cannot hold stops the whole write; once put right,
    // every field goes out in one frame.
    void finalTestShowsRefusesAndWrites() {
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
        emi()->hideForm();
        if (!portOpen)
            w->link.ClosePort();
        Screens &s = w->screens();
        s.FnParametres6->showForm();
        s.FnParametres->showForm();
        w->window.navigation().BtEmi_Click();
        QVERIFY(emi()->isShown() && !s.FnParametres->isShown());
        QVERIFY(s.FnParametres6->isShown()); // the lambda page stays
        QCOMPARE(w->app().link.poll.isOn(), portOpen);
        QCOMPARE(w->dialogs.texts(), messages);
        QCOMPARE(s.FnConnection->isShown(), !portOpen);
    }

  private:
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
    EmissionScreen *emi() { return w->screens().FnEmi; }
    FinalTestScreen *fin() { return w->screens().FnFinTeste; }
};

QTEST_MAIN(TestEmissionScreens)
#include "tst_emission_screens.moc"

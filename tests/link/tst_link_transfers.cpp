// Whole-memory reads and uploads, the chained-write sequencer, time-outs.
#include "pages/data_table.h"
#include "support/fake_link.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

// The ECU's answer to one read request, filled with one value.
static QByteArray answer(const QByteArray &request, int fill) {
    const BlockRange r = blockRange(request);
    return filledFrame(r.address, r.count, fill);
}

class TestLinkTransfers : public QObject, FakeLink {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QVERIFY(reset()); }

    // Each reply asks for the next block while the polls go on.
    void fullReadRequestsSixteenBlocksInOrder() {
        link->poll.start();
        QSignalSpy progress(link, &Link::fullReadProgress);
        QSignalSpy completed(link, &Link::fullReadCompleted);
        QSignalSpy first(link, &Link::firstDataLoaded);
        link->StartFullRead();
        for (int reply = 0; reply < BlockCount; ++reply) {
            QByteArrayList lines = std::exchange(port->written, {});
            lines.removeAll(frames::MonitorPoll.toByteArray());
            QCOMPARE(lines, QByteArrayList{link->blocks[std::size_t(reply)] + '\r'});
            port->feed(answer(link->blocks[std::size_t(reply)], reply + 1));
        }
        QVERIFY(completed.count() == 1 && first.count() == 1);
        QVERIFY(!link->state.FullReadActive && !link->TimerDownload.isActive());
        QCOMPARE(progress.last().at(0).toInt(), BlockCount);
        // Only the first read counts as the first load.
        link->StartFullRead();
        for (int block = 0; block < BlockCount; ++block)
            port->feed(answer(link->blocks[std::size_t(block)], 1));
        QVERIFY(completed.count() == 2 && first.count() == 1);
    }

    void corruptedBlockIsAskedForAgain() {
        link->StartFullRead();
        port->feed(answer(link->blocks[0], 1));
        QByteArray bad = answer(link->blocks[1], 2);
        bad.replace(9, 2, "zz");
        port->written.clear();
        port->feed(bad);
        QCOMPARE(port->written, QByteArrayList{link->blocks[1] + '\r'});
        QSignalSpy timedOut(link, &Link::fullReadTimedOut);
        port->feed(bad);
        port->feed(bad);
        QVERIFY(link->state.FullReadActive);
        port->feed(bad); // the fourth corrupted answer in a row gives up
        QVERIFY(timedOut.count() == 1 && !link->state.FullReadActive);
    }

    // Replies in flight (the poll's, or left by an earlier program) never move
    // the read on: every block is requested once, in order, and the image holds
    // each block's answer. Answers to our polls are stored; the others dropped.
    void readMovesOnOnlyOnTheBlockAskedFor_data() {
        // Strays arrive before each answer; ours: the link asked for them;
        // oneEvent: strays and answer in one receive event.
        columns<QByteArrayList, bool, bool>("strays", "ours", "oneEvent");
        const QByteArray poll = filledFrame(0x000, 0x37, 0xEE);
        row("poll answers", QByteArrayList{poll, poll}, true, false);
        row("an earlier program's block", QByteArrayList{filledFrame(0x8A7, 0x10, 0xEE)}, false,
            false);
        row("all in one event", QByteArrayList{ackFrame(), poll}, true, true);
    }
    void readMovesOnOnlyOnTheBlockAskedFor() {
        const auto [strays, ours, oneEvent] =
            fetch<QByteArrayList, bool, bool>("strays", "ours", "oneEvent");
        QSignalSpy completed(link, &Link::fullReadCompleted);
        link->StartFullRead();
        QByteArrayList requests;
        for (int block = 0; block < BlockCount && completed.isEmpty(); ++block) {
            requests += std::exchange(port->written, {});
            for (const QByteArray &stray : std::as_const(strays))
                if (ours && stray.startsWith("@W"))
                    ask(0x000, 0x37);
            const QByteArray reply = answer(link->blocks[std::size_t(block)], block + 1);
            if (oneEvent) {
                port->feed(strays.join() + reply);
                for (int i = 0; i < strays.size(); ++i)
                    port->feed({}); // one frame per receive event
            } else {
                for (const QByteArray &stray : std::as_const(strays))
                    port->feed(stray);
                QVERIFY2(port->written.isEmpty(), "a stray reply moved the read on");
                port->feed(reply);
            }
        }
        QCOMPARE(completed.count(), 1);
        QByteArrayList expected;
        for (int block = 0; block < BlockCount; ++block)
            expected += link->blocks[std::size_t(block)] + '\r';
        QCOMPARE(requests, expected);
        QCOMPARE(link->image.at(0x8A7), quint8(6));               // block 5's answer, not the stray
        QCOMPARE(link->image.at(0x036), quint8(ours ? 0xEE : 0)); // the last poll answer
        QCOMPARE(link->image.at(0xA47), quint8(16));
    }

    // The ECU answers in order: the late answer to an earlier request of the
    // same block (old bytes, before an upload) is not the read's own.
    void answerToAnEarlierRequestOfTheBlockDoesNotCount() {
        QSignalSpy completed(link, &Link::fullReadCompleted);
        ask(0xA47, 0x33);
        link->StartFullRead();
        for (int block = 0; block < BlockCount - 1; ++block)
            port->feed(answer(link->blocks[std::size_t(block)], 1));
        port->feed(answer(link->blocks[BlockCount - 1], 0x02));
        QCOMPARE(completed.count(), 0);
        port->feed(answer(link->blocks[BlockCount - 1], 0x12));
        QCOMPARE(completed.count(), 1);
        QCOMPARE(link->image.at(0xA79), quint8(0x12));
    }

    // A block asked for twice: the second answer, arriving once the read is
    // over and a file was loaded, never lands in the image.
    void lateSecondAnswerAfterTheReadNeverLands() {
        QSignalSpy completed(link, &Link::fullReadCompleted);
        link->StartFullRead();
        for (int tick = 0; tick < 3; ++tick)
            link->TimerDownload_Timer();
        for (int block = 0; block < BlockCount; ++block)
            port->feed(answer(link->blocks[std::size_t(block)], 1));
        QCOMPARE(completed.count(), 1);
        link->image.set(0x010, 0x77);
        port->feed(answer(link->blocks[0], 2));
        QCOMPARE(link->image.at(0x010), quint8(0x77));
    }

    // Three silent ticks ask for the block again, twice; then the read gives up.
    // A lost acknowledgement sends the same block again; then the upload gives
    // up and says how far it went.
    void silenceAsksAgainThenGivesUp() {
        QSignalSpy timedOut(link, &Link::fullReadTimedOut);
        link->StartFullRead();
        for (int tick = 0; tick < 8; ++tick)
            link->TimerDownload_Timer();
        QCOMPARE(timedOut.count(), 0);
        link->TimerDownload_Timer();
        QCOMPARE(std::exchange(port->written, {}),
                 (QByteArrayList{"@R0003489\r", "@R0003489\r", "@R0003489\r"}));
        QVERIFY(timedOut.count() == 1 && !link->TimerDownload.isActive());
        QSignalSpy uploadTimedOut(link, &Link::uploadTimedOut);
        QSignalSpy uploaded(link, &Link::uploadCompleted);
        link->StartUpload(14); // entries 1, 14 and 15
        port->feed(ackFrame());
        for (int tick = 0; tick < 3; ++tick)
            link->UPLoadTimer_Timer(); // entry 14's acknowledgement was lost
        port->feed(ackFrame());
        const QByteArrayList lines = std::exchange(port->written, {});
        QVERIFY(lines.size() == 4 && lines.at(1).startsWith("@W87037") &&
                lines.at(2) == lines.at(1));
        for (int tick = 0; tick < 8; ++tick)
            link->UPLoadTimer_Timer();
        QCOMPARE(uploadTimedOut.count(), 0);
        link->UPLoadTimer_Timer();
        QVERIFY(uploadTimedOut.count() == 1 && uploaded.isEmpty() &&
                link->state.UploadStep == ChainStep::Rest);
        QCOMPARE(port->written.size(), 2);
        QCOMPARE(link->uploadStoppedText(),
                 QStringLiteral(" Upload stopped after 2 of 3 blocks: the ECU now holds part of "
                                "the new configuration and part of the old one; write the file "
                                "again or load its restore point "));
    }

    void closingTheProgressStopsTheRead() {
        link->StartFullRead();
        link->AbandonFullRead();
        port->written.clear();
        port->feed(answer(link->blocks[0], 5));
        QCOMPARE(link->image.at(0x000), quint8(0)); // nor does the block in flight land
        QVERIFY(port->written.isEmpty());
    }

    void sequencerChains_data() {
        // The writes of a zero image, one per acknowledgement.
        columns<ChainStep, QByteArrayList, bool>("start", "writes", "pollResumes");
        using L = QByteArrayList;
        row("switch-over block", ChainStep::SwitchOverBlock, L{"@WA4106000000000000E3\r"}, false);
        row("extra time", ChainStep::ExtraTime, L{"@WA44010001\r", "@W80102000052\r"}, true);
        row("bank 2 trims", ChainStep::Bank2Trims,
            L{"@W8390200005D\r", "@WA44010001\r", "@W80102000052\r"}, true);
        row("switch-over delay", ChainStep::SwitchOverDelay, L{"@W8070100F7\r", "@WA410100FE\r"},
            true);
    }
    // A chain moves on only at an acknowledgement: the poll's answers and
    // acknowledgements with no write awaiting one are not. The switch-over
    // block follows the caller's own write; the others start at once.
    void sequencerChains() {
        const auto [start, writes, pollResumes] =
            fetch<ChainStep, QByteArrayList, bool>("start", "writes", "pollResumes");
        QSignalSpy done(link, &Link::chainAcknowledged);
        port->feed(ackFrame()); // left over: nothing awaits it
        if (start == ChainStep::SwitchOverBlock)
            link->SendLine("@F00016\r"); // the caller's own write
        port->written.clear();
        link->StartSequence(start);
        if (start == ChainStep::SwitchOverBlock)
            port->feed(ackFrame());
        for (const QByteArray &frame : std::as_const(writes)) {
            QCOMPARE(std::exchange(port->written, {}), QByteArrayList{frame});
            ask(0x000, 0x37);
            port->feed(filledFrame(0x000, 0x37, 1)); // a poll answer in between
            QVERIFY(port->written.isEmpty() && done.isEmpty());
            port->feed(ackFrame());
        }
        QCOMPARE(done.count(), 1);
        port->feed(ackFrame()); // the last reply sends nothing more
        QVERIFY(port->written.isEmpty());
        QCOMPARE(link->poll.watchdogActive(), pollResumes);
    }

    // A chain write left unacknowledged goes out again twice; then the chain
    // stops and says so. One still waiting its turn on the line is not lost.
    void unacknowledgedChainWriteIsSentAgainThenFails() {
        QSignalSpy failed(link, &Link::chainFailed);
        port->feed("@W00"); // a reply is arriving: the chain's write waits
        link->StartSequence(ChainStep::SwitchOverDelay);
        for (int tick = 0; tick < 6; ++tick)
            link->ChainTimer_Timer();
        link->ControlTimer3_Timer();
        link->ControlTimer3_Timer();
        for (int tick = 0; tick < 8; ++tick)
            link->ChainTimer_Timer();
        QCOMPARE(failed.count(), 0);
        link->ChainTimer_Timer();
        QCOMPARE(failed.count(), 1);
        QCOMPARE(port->written, QByteArrayList(3, "@W8070100F7\r"));
        QVERIFY(!link->chainRunning() && !link->ChainTimer.isActive());
        QCOMPARE(link->unacknowledgedWriteText(),
                 QStringLiteral(" No acknowledgement from the ECU on COM1: the write of "
                                "0x807..0x807 was not written, nor the writes after it; check the "
                                "port and that the ECU is on "));
    }

    void loneWriteIsWatched_data() {
        // Ticks: -1 for never.
        columns<int, bool, int, int>("ackAfterTicks", "chainFollows", "sent", "failsAtTick");
        row("acknowledged after the re-send", 3, false, 2, -1);
        row("never acknowledged", -1, false, 2, 3);
        row("a chain takes it over", -1, true, 3, -1);
    }
    // A page write outside a chain goes out again once after two silent
    // ticks; two more and the link says it was not written (800 ms).
    void loneWriteIsWatched() {
        const auto [ackAfterTicks, chainFollows, sent, failsAtTick] =
            fetch<int, bool, int, int>("ackAfterTicks", "chainFollows", "sent", "failsAtTick");
        QSignalSpy failed(link, &Link::writeFailed);
        link->WriteBlock("@WA4106");
        if (chainFollows)
            link->StartSequence(ChainStep::SwitchOverBlock);
        int failedAt = -1;
        for (int tick = 0; tick < 6; ++tick) {
            if (tick == ackAfterTicks)
                port->feed(ackFrame());
            link->WriteTimer_Timer();
            link->ChainTimer_Timer();
            if (failed.count() == 1 && failedAt < 0)
                failedAt = tick;
        }
        QCOMPARE(port->written, QByteArrayList(sent, "@WA4106000000000000E3\r"));
        QCOMPARE(failedAt, failsAtTick);
        QCOMPARE(failed.count(), failsAtTick < 0 ? 0 : 1);
        if (failsAtTick >= 0)
            QCOMPARE(link->unacknowledgedWriteText(),
                     QStringLiteral(" No acknowledgement from the ECU on COM1: the write of "
                                    "0xA41..0xA46 was not written; check the port and that the "
                                    "ECU is on "));
    }

    // Answers lag behind the requests, several in flight at once, and arrive
    // cut across frames. In the middle of one, the page writes its block and
    // the fitter resets the alarms: both wait, then go out once each, and the
    // chain's write follows the page's block.
    void linesHandedMidReplyWithSeveralRepliesInFlight() {
        QSignalSpy done(link, &Link::chainAcknowledged);
        const auto reply = [](const QByteArray &line) {
            return line.startsWith("@R") ? answer(line.trimmed(), 1) : ackFrame();
        };
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(link, &Link::dataDecoded, this, [this, once] {
            QObject::disconnect(*once);
            QVERIFY(link->state.LinkBusy); // the next reply is already arriving
            link->WriteBlock("@W80102");
            link->StartSequence(ChainStep::SwitchOverBlock);
            link->SendLine("@F00016\r");
        });
        link->poll.start();
        link->SendLine(frames::MonitorPoll.toByteArray());
        QByteArrayList wire;
        for (int round = 0; round < 12; ++round) {
            for (const QByteArray &line : std::exchange(port->written, {})) {
                wire += line.trimmed();
                port->queueReply(reply(line));
                port->queueReply(reply(line)); // a late second answer overlaps the next
            }
            port->deliverAll(7);
        }
        wire.removeAll("@R000378C");
        QCOMPARE(wire.count("@W80102000052"), 1);
        QCOMPARE(wire.count("@F00016"), 1);
        QCOMPARE(wire.count("@WA4106000000000000E3"), 1);
        QVERIFY(wire.indexOf("@W80102000052") < wire.indexOf("@WA4106000000000000E3"));
        QCOMPARE(done.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestLinkTransfers)
#include "tst_link_transfers.moc"

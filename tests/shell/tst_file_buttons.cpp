// The menu's Load and Save buttons: memory files saved and loaded back, the
// firmware check, the upload of entries 1..15 one per reply after a restore
// point holding the ECU's own bytes, an upload or read stopped part-way, a
// write the ECU never acknowledged, and the live poll left as it was.
#include "emission/emission_screen.h"
#include "files/memory_file.h"
#include "files/restore_points.h"
#include "monitor/monitor_screen.h"
#include "pages/data_table.h"
#include "support/ecu_answers.h"
#include "support/fake_dialogs.h"
#include "support/frame_helpers.h"
#include "support/sim_process.h"
#include "support/window_session.h"
#include "transfer/prog_start_form.h"
#include "transfer/transfer_form.h"
#include "ui/menu.h"
#include "ui/screens.h"
#include "ui/status_strip.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

namespace {
// An ECU: its firmware byte, a pattern in the configuration area.
MemoryImage ecuMemory(quint8 firmware = 0x47) {
    MemoryImage ecu;
    for (int a = 0x800; a <= 0xFFF; ++a)
        ecu.set(a, quint8((a * 5 + 1) & 0xFF));
    ecu.set(0x000, firmware);
    return ecu;
}

// base's configuration with one byte changed, as a file of firmware 0x47.
MemoryImage changed(const MemoryImage &base, int address, quint8 value) {
    MemoryImage image = base;
    image.set(address, value);
    image.set(0x1000, 0x47);
    return image;
}

const QString Stopped7 = QStringLiteral(
    " Upload stopped after 7 of 15 blocks: the ECU now holds part of the new configuration and "
    "part of the old one; write the file again, or write the restore point %1 to put back what "
    "it held ");
} // namespace

class TestFileButtons : public QObject, WindowFixture {
    Q_OBJECT

    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    void clickLoad(const QString &path) {
        dialogs.fileAnswers = {path};
        QTest::mouseClick(window->menu().Charger, Qt::LeftButton);
    }
    // Answers every read request from ecu, the requests it brings included;
    // the other lines stay written.
    void answerReads(const MemoryImage &ecu) { ::answerReads(*port, ecu); }
    // The ECU read as the connection form reads it.
    void readEcu(const MemoryImage &ecu = ecuMemory()) {
        link->StartFullRead();
        answerReads(ecu);
        QVERIFY(link->state.DataLoaded && !link->state.FullReadActive);
    }
    void writeFile(const char *name, const MemoryImage &image) {
        QVERIFY(memory_file::writeAtomically(file(name), memory_file::format(image)));
    }
    // Acknowledges count writes of the upload, one per reply.
    void acknowledge(int count) { acknowledgeEach(*port, count); }

  private Q_SLOTS:
    void init() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(RestorePoints::defaultDirectory()).removeRecursively();
        dialogs = FakeDialogs();
        session.start(dialogs, dir.path());
        QVERIFY(link->OpenPort());
        port->written.clear();
    }

    void cleanup() { session.reset(); }

    void saveThenLoadOffersTheUpload() {
        readEcu();
        dialogs.fileAnswers = {file("car")}; // typed without its extension
        QTest::mouseClick(window->menu().Sauvegarder, Qt::LeftButton);
        QCOMPARE(dialogs.texts(), QStringList{" File saved: " + file("car.fra") + ' '});
        dialogs.shown.clear();
        const QByteArray text = fileBytes(file("car.fra"));
        QVERIFY(text.size() == 6167 && text.endsWith("47.Fin\r\n"));
        const MemoryImage saved = link->image;
        for (int a = 0x800; a <= 0x1000; ++a)
            link->image.set(a, 0);
        dialogs.answers = {false};
        clickLoad(file("car.fra"));
        QVERIFY(link->image.bytes() == saved.bytes());
        QVERIFY(window->screens()
                    .emissionScreen->isScheduleKnown()); // the file holds the whole schedule
        QCOMPARE(dialogs.texts(), QStringList{"PC --> ECM?"});
        // Answered no: nothing written, no restore point.
        QVERIFY(port->written.isEmpty() && RestorePoints().list().isEmpty());
    }

    void restorePointHoldsTheEcuNotAnEarlierFile_data() {
        columns<int, QStringList, bool>("reRead", "messages", "uploaded");
        const QString ask = QStringLiteral("PC --> ECM?");
        const QString stop =
            QStringLiteral(" Stop reading? The screens keep the values already read; the others "
                           "stay as they were until the next read. ");
        row("same ECU", 0x47, QStringList{ask, ask}, true);
        row("another firmware now", 0x48, QStringList{ask, ask, " FIREWAR ERROR "}, false);
        row("read's window closed, no", -1, QStringList{ask, ask, stop}, true);
        row("read's window closed, yes", -2,
            QStringList{ask, ask, stop,
                        " The ECU was not read again before the upload: nothing written "},
            false);
    }
    // File A loaded and not written, then file B written: the ECU is read
    // again first, and the restore point holds the ECU's bytes, never A's.
    void restorePointHoldsTheEcuNotAnEarlierFile() {
        const auto [reRead, messages, uploaded] =
            fetch<int, QStringList, bool>("reRead", "messages", "uploaded");
        const MemoryImage ecu = ecuMemory();
        readEcu(ecu);
        writeFile("a.fra", changed(ecu, 0x801, 0xAA));
        writeFile("b.fra", changed(ecu, 0x801, 0xBB));
        dialogs.answers = {false, true};
        clickLoad(file("a.fra"));
        clickLoad(file("b.fra"));
        QCOMPARE(port->written, QByteArrayList{"@R0003489\r"}); // read again, nothing written
        if (reRead < 0) {
            dialogs.answers = {reRead == -2};
            window->screens().readProgress->window()->close();
        }
        answerReads(reRead >= 0 ? ecuMemory(quint8(reRead)) : ecu);
        QCOMPARE(dialogs.texts(), messages);
        QCOMPARE(link->image.at(0x801), quint8(0xBB)); // the screens show file B
        const QStringList points = RestorePoints().list();
        if (!uploaded) {
            QVERIFY(points.isEmpty() && port->written.isEmpty());
            return;
        }
        QCOMPARE(points.size(), 1);
        MemoryImage kept = ecu;
        kept.set(0x1000, 0x47);
        QCOMPARE(fileBytes(points[0]), memory_file::format(kept));
        acknowledge(1);
        QCOMPARE(port->written.at(0).left(9), QByteArray("@W80138BB"));
        acknowledge(14);
        QVERIFY(port->written.isEmpty() && !window->screens().uploadProgress->isShown());
    }

    void uploadStoppedPartWay_data() {
        columns<int, QStringList, int>("how", "messages", "writesAfter");
        const QString ask = QStringLiteral("PC --> ECM?");
        const QString stop = QStringLiteral(" Stop writing? The ECU would hold part of the new "
                                            "configuration and part of the old one. ");
        row("adapter unplugged", 0, QStringList{ask, Stopped7, " Adapter Serial not connect "}, 0);
        row("ECU silent", 1, QStringList{ask, "No communication on COM1\n" + Stopped7}, 0);
        row("window closed, yes", 2, QStringList{ask, stop, Stopped7}, 0);
        row("window closed, no", 3, QStringList{ask, stop}, 1);
    }
    // After 7 of 15 blocks: the message says how far it went, that the ECU
    // holds a mix, and where the restore point is.
    void uploadStoppedPartWay() {
        const auto [how, messages, writesAfter] =
            fetch<int, QStringList, int>("how", "messages", "writesAfter");
        readEcu();
        writeFile("new.fra", changed(link->image, 0x801, 0xEE));
        clickLoad(file("new.fra"));
        acknowledge(7);
        const QStringList points = RestorePoints().list();
        QCOMPARE(points.size(), 1);
        if (how == 0)
            port->unplug();
        for (int tick = 0; how == 1 && tick < 9; ++tick)
            link->UPLoadTimer_Timer();
        if (how >= 2) {
            dialogs.answers = {how == 2};
            window->screens().uploadProgress->window()->close();
        }
        QStringList expected = messages;
        for (QString &text : expected)
            text.replace(QStringLiteral("%1"), points[0]);
        QCOMPARE(dialogs.texts(), expected);
        QCOMPARE(window->screens().uploadProgress->isShown(), how == 3);
        port->written.clear();
        port->feed(ackFrame()); // a late acknowledgement moves a stopped upload no further
        QCOMPARE(port->written.size(), writesAfter);
    }

    void unacknowledgedWritesAreSaid_data() {
        columns<bool, bool, QStringList>("chain", "portOpen", "messages");
        row("page write", false, true,
            QStringList{" No acknowledgement from the ECU on COM1: the write of 0x801..0x802 was "
                        "not written; check the port and that the ECU is on "});
        row("port closed meanwhile", true, false, QStringList{});
    }
    void unacknowledgedWritesAreSaid() {
        const auto [chain, portOpen, messages] =
            fetch<bool, bool, QStringList>("chain", "portOpen", "messages");
        if (chain)
            link->StartSequence(ChainStep::Bank2Trims); // the calibration reports its own
        else
            link->WriteBlock("@W80102");
        if (!portOpen)
            link->ClosePort();
        for (int tick = 0; tick < 9; ++tick) {
            link->WriteTimer_Timer();
            link->ChainTimer_Timer();
        }
        QCOMPARE(dialogs.texts(), messages);
    }

    void loadBeforeAnyReadKeepsTheDataAndEnablesTheMenu() {
        MemoryImage fromFile;
        fromFile.set(0x900, 0x12);
        fromFile.set(0x1000, 0x47);
        writeFile("early.fra", fromFile);
        window->screens().startForm->showForm();
        window->menu().setButtonsEnabled(Menu::dataButtons(), false);
        window->menu().setButtonsEnabled({QStringLiteral("Charger")}, true); // start form closed
        clickLoad(file("early.fra"));
        QCOMPARE(dialogs.texts(), QStringList{" FIREWAR ERROR "});
        QCOMPARE(link->image.at(0x900), quint8(0x12));
        QVERIFY(link->state.DataLoaded && !window->screens().startForm->isShown());
        for (const QString &name : Menu::dataButtons())
            QVERIFY2(window->menu().button(name)->isEnabled(), qPrintable(name));
        QVERIFY(port->written.isEmpty());
    }

    void refusedFiles_data() {
        columns<QByteArray, QString>("content", "message"); // "(none)": no such file
        row("missing", QByteArray("(none)"), " Non-existent file ");
        row("config file", QByteArray("FichierConfig:]3]]]]]Fin\r\n"), " Noncorrect File error ");
    }
    void refusedFiles() {
        const auto [content, message] = fetch<QByteArray, QString>("content", "message");
        readEcu();
        const MemoryImage before = link->image;
        QVERIFY(content == "(none)" || memory_file::writeAtomically(file("bad.fra"), content));
        clickLoad(file("bad.fra"));
        QCOMPARE(dialogs.texts(), QStringList{message});
        QVERIFY(link->image.bytes() == before.bytes());
    }

    void saveAsksBeforeReplacing() {
        readEcu();
        QVERIFY(memory_file::writeAtomically(file("old.fra"), "old\r\n"));
        dialogs.answers = {false};
        dialogs.fileAnswers = {file("old.fra")};
        window->menu().Sauvegarder->click();
        QCOMPARE(
            dialogs.texts(),
            QStringList{" The file that you did select already exists. want to replace it ? "});
        QCOMPARE(fileBytes(file("old.fra")).size(), 5);
    }

    void cancelledDialogsLeaveThePollAsItWas_data() {
        columns<bool, bool>("timerOn", "polling");
        row("monitor polling", true, true);
        row("page, poll off", false, false);
    }
    void cancelledDialogsLeaveThePollAsItWas() {
        const auto [timerOn, polling] = fetch<bool, bool>("timerOn", "polling");
        readEcu();
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        LivePoll &poll = link->poll;
        for (QPushButton *button : {window->menu().Sauvegarder, window->menu().Charger}) {
            timerOn ? poll.startWatchdog() : poll.stopWatchdog();
            polling ? poll.start() : poll.stop();
            button->click(); // both dialogs cancelled
            QCOMPARE(poll.watchdogActive(), timerOn);
            QCOMPARE(poll.isOn(), polling);
        }
        QCOMPARE(link->image.at(0x1000), quint8(0x47)); // the save still took the firmware byte
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
    }
};

QTEST_MAIN(TestFileButtons)
#include "tst_file_buttons.moc"

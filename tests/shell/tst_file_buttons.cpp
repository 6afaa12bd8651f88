// The menu's Load and Save buttons: memory files saved and loaded back, the
// firmware check, the upload of entries 1..15 one per reply after a restore
// point, and the live poll left as it was.
#include "emission/emission_screen.h"
#include "files/memory_file.h"
#include "files/restore_points.h"
#include "monitor/monitor_screen.h"
#include "pages/data_table.h"
#include "support/fake_dialogs.h"
#include "support/frame_helpers.h"
#include "support/window_session.h"
#include "transfer/prog_start_form.h"
#include "transfer/transfer_form.h"
#include "ui/menu.h"
#include "ui/screens.h"
#include "ui/status_strip.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray fileText(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestFileButtons : public QObject, WindowFixture {
    Q_OBJECT

    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    void clickLoad(const QString &path) {
        dialogs.fileAnswers = {path};
        QTest::mouseClick(window->menu().Charger, Qt::LeftButton);
    }
    // A read ECU: firmware byte 0x47, a pattern in the configuration area.
    void readEcu() {
        for (int a = 0x800; a <= 0xFFF; ++a)
            link->image.set(a, quint8((a * 5 + 1) & 0xFF));
        link->image.set(0x000, 0x47);
        link->setDataLoaded(true);
        window->menu().setButtonsEnabled(Menu::readyButtons(), true);
    }

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
        dialogs.fileAnswers = {file("car.fra")};
        QTest::mouseClick(window->menu().Sauvegarder, Qt::LeftButton);
        const QByteArray text = fileText(file("car.fra"));
        QVERIFY(text.size() == 6167 && text.endsWith("47.Fin\r\n"));
        const MemoryImage saved = link->image;
        for (int a = 0x800; a <= 0x1000; ++a)
            link->image.set(a, 0);
        dialogs.answers = {false};
        clickLoad(file("car.fra"));
        QVERIFY(link->image.bytes() == saved.bytes());
        QVERIFY(window->screens().FnEmi->isScheduleKnown()); // the file holds the whole schedule
        QCOMPARE(dialogs.texts(), QStringList{"PC --> ECM?"});
        QCOMPARE(dialogs.shown.at(0).title, QStringLiteral("UPLOAD ECM"));
        QCOMPARE(window->etat().BarreEtat2->text(), QStringLiteral("File to charge : car.fra"));
        // Answered no: nothing written, no restore point.
        QVERIFY(port->written.isEmpty() && RestorePoints().list().isEmpty());
    }

    void uploadWritesEntries1To15AfterARestorePoint() {
        readEcu();
        const MemoryImage lastRead = link->image;
        MemoryImage other = lastRead;
        other.set(0x801, 0xEE);
        other.set(0xA79, 0xDD);
        other.set(0x1000, 0x47);
        QVERIFY(memory_file::writeAtomically(file("other.fra"), memory_file::format(other)));
        clickLoad(file("other.fra"));

        // The restore point holds the ECU's configuration as it was read.
        const QStringList points = RestorePoints().list();
        QVERIFY(points.size() == 1 && points.at(0).endsWith(QStringLiteral("-fw47.fra")));
        const memory_file::Parsed kept = memory_file::read(points[0]);
        QCOMPARE(kept.bytes[1], lastRead.at(0x801));

        const char *expected[] = {"@W8030B", "@W80138", "@WA1524", "@WA390E", "@W8A737",
                                  "@W8DE37", "@W91524", "@W93937", "@W80138", "@W97037",
                                  "@W9A737", "@W9DE37", "@W83937", "@W87037", "@WA4733"};
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(port->written.size(), 1); // one write per reply
            QCOMPARE(port->written.at(0).left(7), QByteArray(expected[i]));
            if (i == 1) // entry 2 starts at 0x801
                QCOMPARE(port->written.at(0).mid(7, 2), QByteArray("EE"));
            port->written.clear();
            port->feed(ackFrame());
        }
        QVERIFY(port->written.isEmpty() && !window->screens().FnUPLoad->isShown());
    }

    void loadBeforeAnyReadKeepsTheDataAndEnablesTheMenu() {
        MemoryImage fromFile;
        fromFile.set(0x900, 0x12);
        fromFile.set(0x1000, 0x47);
        QVERIFY(memory_file::writeAtomically(file("early.fra"), memory_file::format(fromFile)));
        window->screens().FnProgStart->showForm();
        window->menu().setButtonsEnabled(Menu::dataButtons(), false);
        window->menu().setButtonsEnabled({QStringLiteral("Charger")}, true); // start form closed
        clickLoad(file("early.fra"));
        QCOMPARE(dialogs.texts(), QStringList{" FIREWAR ERROR "});
        QCOMPARE(dialogs.shown.at(0).title, QStringLiteral("ERROR"));
        QCOMPARE(link->image.at(0x900), quint8(0x12));
        QVERIFY(link->state.DataLoaded && !window->screens().FnProgStart->isShown());
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
        if (content != "(none)")
            QVERIFY(memory_file::writeAtomically(file("bad.fra"), content));
        clickLoad(file("bad.fra"));
        QCOMPARE(dialogs.texts(), QStringList{message});
        QVERIFY(link->image.bytes() == before.bytes());
    }

    void saveAsksBeforeReplacing() {
        readEcu();
        for (bool replace : {false, true}) {
            QVERIFY(memory_file::writeAtomically(file("old.fra"), "old\r\n"));
            dialogs.shown.clear();
            dialogs.answers = {replace};
            dialogs.fileAnswers = {file("old.fra")};
            window->menu().Sauvegarder->click();
            QCOMPARE(
                dialogs.texts(),
                QStringList{" The file that you did select already exists. want to replace it ? "});
            QCOMPARE(dialogs.shown.at(0).title, QStringLiteral("Replace ?"));
            QCOMPARE(fileText(file("old.fra")).size(), replace ? 6167 : 5);
        }
    }

    void cancelledDialogsLeaveThePollAsItWas_data() {
        columns<bool, bool>("timerOn", "polling");
        row("monitor polling", true, true);
        row("page, poll off", false, false);
        row("watchdog only", true, false);
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

// Over real pseudo-terminals: back after an unplug, and the command line's read, save,
// upload and port search.
#include "files/memory_file.h"
#include "link/hex.h"
#include "shell/connection_form.h"
#include "support/dump_helpers.h"
#include "support/sim_console.h"
#include "support/sim_session.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QToolButton>

class TestEndToEndConnection : public QObject {
    Q_OBJECT
    OwnDataHome dataHome;

  private Q_SLOTS:
    void unplugPlugBackValidateAndReadAgain() {
        SimSession session(2);
        QVERIFY(session.readEcu());
        auto &form = *static_cast<ConnectionForm *>(session.screens().connection);
        session.sim.command("vanish");
        QVERIFY(QTest::qWaitFor([&] { return form.isShown(); }, ReadTimeoutMs));
        QCOMPARE(session.dialogs.texts(), QStringList{" Adapter Serial not connect "});

        session.sim.command("plug");
        const auto com2 = [&] { return form.Combo1->findText("COM 2"); };
        QVERIFY(QTest::qWaitFor(
            [&] {
                QTest::mouseClick(form.Actualise, Qt::LeftButton);
                return com2() >= 0;
            },
            ReadTimeoutMs));
        form.Combo1->setCurrentIndex(com2());
        QTest::mouseClick(form.Command1, Qt::LeftButton);
        QSignalSpy done(&session.link, &Link::fullReadCompleted);
        session.link.image.set(0x000, 0);
        session.screens().startForm->BoutonPC_Click();
        QVERIFY(QTest::qWaitFor([&] { return done.count() == 1; }, ReadTimeoutMs));
        QVERIFY(session.link.image.at(0x000) != 0);
        QCOMPARE(session.dialogs.texts().size(), 1); // nothing more went wrong
    }

    void cliSaveOverAFileThenUploadRestoresTheEcuNotAnotherFirmware() {
        SimProcess sim(3);
        QVERIFY(sim.start());
        const QString saved = sim.dirPath("car.fra");
        QVERIFY(memory_file::writeAtomically(saved, "keep me\r\n"));
        QCOMPARE(sim.cli({"save", saved}).exitCode, 3);
        QCOMPARE(fileBytes(saved), QByteArray("keep me\r\n"));
        QCOMPARE(sim.cli({"save", saved, "--force"}).exitCode, 0);
        const memory_file::Parsed file = memory_file::parse(QString::fromLatin1(fileBytes(saved)));
        QVERIFY(file.ok);

        // Someone changes the ECU behind the tool's back.
        sim.ask("poke 801 " + hex::byteHex(file.bytes[1] ^ 0x5A));
        sim.ask("poke a79 " + hex::byteHex(file.bytes[0x279] ^ 0x33));

        RunResult r = sim.cli({"upload", saved});
        QVERIFY2(r.exitCode == 0 && r.out.endsWith("verified\n"), r.out.constData());
        r = sim.cli({"read"});
        for (int a = 0x801; a <= 0xA79; ++a)
            QCOMPARE(dumpByte(r.out, a), int(file.bytes[std::size_t(a - 0x800)]));

        // The ECU's changed configuration was kept first.
        const QDir backups(dataHome.dir.filePath("gasecu/backups"));
        const QStringList points = backups.entryList({"restore-*.fra"});
        QCOMPARE(points.size(), 1);
        QCOMPARE(memory_file::parse(QString::fromLatin1(fileBytes(backups.filePath(points[0]))))
                     .bytes[1],
                 quint8(file.bytes[1] ^ 0x5A));

        MemoryImage image;
        image.set(0x1000, 0x01); // the simulator's firmware byte is another
        const QString other = sim.dirPath("other.fra");
        QVERIFY(memory_file::writeAtomically(other, memory_file::format(image)));
        r = sim.cli({"upload", other});
        QCOMPARE(r.exitCode, 4);
        QCOMPARE(r.err, QByteArray(" FIREWAR ERROR \n"));
        // A refused file makes no restore point: none kept is pushed out.
        QCOMPARE(backups.entryList({"restore-*.fra"}), points);
    }

    // A silent ECU, then a port another program holds.
    void cliReadFailures() {
        for (const bool portHeld : {false, true}) {
            SimProcess sim(1);
            QVERIFY(sim.start(portHeld ? QStringList() : QStringList{"--fault", "silent"}));
            QtSerialPort holder{PortDirectory(sim.portsDir())};
            if (portHeld)
                QCOMPARE(holder.open(1), SerialPort::OpenResult::Opened);
            const RunResult r = sim.cli({"read"});
            QCOMPARE(r.exitCode, portHeld ? 2 : 1);
            QCOMPARE(r.err, portHeld ? QByteArray(" Serial Port already in use \n")
                                     : QByteArray("No communication on COM1\n"));
            QVERIFY(r.out.isEmpty());
        }
    }

    // Port 1 never answers; the ECU on port 4 answers, then does not.
    void cliPorts() {
        for (const bool ecuOn4 : {true, false}) {
            SimProcess silent(1);
            QVERIFY(silent.start({"--fault", "silent"}));
            SimProcess ecu(4, silent.portsDir());
            QVERIFY(ecu.start(ecuOn4 ? QStringList{"--no-pacing"}
                                     : QStringList{"--no-pacing", "--fault", "silent"}));
            QTemporaryDir work;
            const int exitCode = ecuOn4 ? 0 : 1;
            RunResult r;
            // One 300 ms tick per port: a loaded machine may need another search.
            for (int attempt = 0; attempt < 3 && r.exitCode != exitCode; ++attempt)
                r = runCli({"ports", "--ports-dir", silent.portsDir()}, work.path());
            QCOMPARE(r.exitCode, exitCode);
            QVERIFY2(r.out.startsWith("COM 1\nCOM 4\n timer  sur 1 = 1\nourvre la com 1\n"),
                     r.out.constData());
            QVERIFY(
                r.out.contains(ecuOn4 ? "found COM 4\n" : " teste fini pas de porte trouvé \n"));
            QCOMPARE(fileBytes(QDir(work.path()).filePath("prconfig.txt")),
                     ecuOn4 ? QByteArray("FichierConfig:]4]]]]]Fin\r\n") : QByteArray("(missing)"));
            if (ecuOn4) // a read without --port takes the port remembered there
                QCOMPARE(runCli({"read", "--ports-dir", silent.portsDir()}, work.path()).exitCode,
                         0);
        }
    }
};

QTEST_MAIN(TestEndToEndConnection)
#include "tst_e2e_connection.moc"

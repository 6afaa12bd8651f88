// The map screen and the acquisition window inside the real main window, on
// an in-memory line: the refresh's copies, the tables and trims with their
// writes, the acquisition run from received frames, the menu and "Quitter",
// and the CSV export.
#include "link/frames.h"
#include "link/link.h"
#include "map/aqui_map_form.h"
#include "map/band_graph.h"
#include "map/map_screen.h"
#include "monitor/monitor_screen.h"
#include "monitor/monitor_widgets.h"
#include "pages/numeric_edit.h"
#include "presentation/refresh.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "ui/app_context.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
// A data frame of the live block's first bytes, as the ECU answers a poll.
QByteArray liveFrame(const QList<int> &bytes, int address = 0) {
    QByteArray body = "@W" + QByteArray::number(address, 16).toUpper().rightJustified(3, '0') +
                      QByteArray::number(bytes.size(), 16).toUpper().rightJustified(2, '0');
    for (int b : bytes)
        body += QByteArray::number(b, 16).toUpper().rightJustified(2, '0');
    return frames::sealed(body) + '\r';
}
} // namespace

class TestMapScreen : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup() { b.reset(); }
    void copiesShowThePreviousPass_data();
    void copiesShowThePreviousPass();
    void tablesWrite_data();
    void tablesWrite();
    void trims_data();
    void trims();
    void acquisitionSeesThePreviousResponse();
    void menuAndQuit_data();
    void menuAndQuit();
    void exportsCsv();

  private:
    void bytes(const QList<int> &pairs);
    QString shown(const QString &name) const;

    struct Bench {
        QTemporaryDir dir;
        FakeSerialPort port;
        Link link{&port};
        FakeDialogs dialogs;
        MainWindow window{link, &dialogs, dir.path()};
    };
    std::unique_ptr<Bench> b;
    MapScreen *map = nullptr;
    AquiMapForm *aqui = nullptr;
};

void TestMapScreen::init() {
    b = std::make_unique<Bench>();
    b->window.MDIForm1_Load();
    b->window.show();
    map = b->window.screens().FnMAP;
    aqui = b->window.screens().FnAquiMap;
    RefreshScreens(b->window.app());
}

void TestMapScreen::bytes(const QList<int> &pairs) {
    for (int i = 0; i + 1 < pairs.size(); i += 2)
        b->link.image.set(pairs[i], quint8(pairs[i + 1]));
}

QString TestMapScreen::shown(const QString &name) const {
    QObject *o = map->findChild<QObject *>(name);
    if (auto *bar = qobject_cast<LevelBar *>(o))
        return QString::number(bar->widthTwips()) + QLatin1Char('/') +
               QString::number(bar->fillColor());
    if (auto *pointer = qobject_cast<PointerStrip *>(o))
        return QString::number(pointer->leftTwips());
    return o ? o->property("text").toString() : QStringLiteral("<missing>");
}

void TestMapScreen::copiesShowThePreviousPass_data() {
    QTest::addColumn<QList<int>>("first");
    QTest::addColumn<QList<int>>("second");
    QTest::addColumn<QStringList>("expected"); // after the second pass
    const QList<int> a{0x00C, 0x0F, 0x00D, 0xA0, 0x01C, 0x05, 0x01D, 0x00, 0x02D, 35,
                       0x02E, 0,    0x02F, 105,  0x030, 0,    0x031, 60,   0x002, 3};
    QTest::newRow("petrol time now, the rest from before")
        << a << QList<int>{0x00C, 0x10,  0x00D, 0x00,  0x01C, 0,     0x01D,
                           0,     0x02D, 40,    0x02F, 80,    0x031, 160}
        << QStringList{"txZoom=10.46",         "TxzoomG=35",
                       "TxTIG=3.26",           "Pointeur=3805",
                       "pointeur2=5695",       "BarE1=1696/192",
                       "BarG1=542/40960",      "BarTPGaz=2178/12623872",
                       "BarLambda=1500/49152", "TextGazEtat=Gas"};
    QTest::newRow("an unchanged image: copies catch up")
        << a << a
        << QStringList{"txZoom=10.21", "TxzoomG=35", "TxTIG=3.26", "Pointeur=3805",
                       "BarE1=1696/192"};
    QTest::newRow("negative Dep, no pressure")
        << QList<int>{0x02D, 0xF6} << QList<int>{0x02D, 0xF6}
        << QStringList{"TxzoomG=-10", "Pointeur=-740", "pointeur2=130", "BarTPGaz=396/12623872"};
}

void TestMapScreen::copiesShowThePreviousPass() {
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, second);
    QFETCH(QStringList, expected);
    bytes(first);
    RefreshScreens(b->window.app());
    bytes(second);
    RefreshScreens(b->window.app());
    QStringList got;
    for (const QString &e : expected)
        got << e.section(QLatin1Char('='), 0, 0) + QLatin1Char('=') +
                   shown(e.section(QLatin1Char('='), 0, 0));
    QCOMPARE(got, expected);
}

void TestMapScreen::tablesWrite_data() {
    QTest::addColumn<QList<int>>("image");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("stored");
    QTest::newRow("300 in TxTbCG5 is 255") << QList<int>{} << "TxTbCG5"
                                           << "300"
                                           << "255" << 0x828 << 255;
    QTest::newRow("255 stays") << QList<int>{} << "TxTbCP3"
                               << "255"
                               << "255" << 0x812 << 255;
    QTest::newRow("256 is 255") << QList<int>{} << "TxTbCG20"
                                << "256"
                                << "255" << 0x837 << 255;
    QTest::newRow("cleared field stores 0") << QList<int>{0x810, 0x64} << "TxTbCP1"
                                            << ""
                                            << "" << 0x810 << 0;
    QTest::newRow("image shown first") << QList<int>{0x837, 0xFF} << "TxTbCG19"
                                       << "7"
                                       << "7" << 0x837 << 255;
}

void TestMapScreen::tablesWrite() {
    QFETCH(QList<int>, image);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, address);
    QFETCH(int, stored);
    bytes(image);
    b->link.image.set(0x801, 0x7D);
    map->PutInTaB();
    auto *edit = map->findChild<NumericEdit *>(field);
    QVERIFY(edit);
    edit->clear();
    QTest::keyClicks(edit, typed + QStringLiteral("x"));
    QCOMPARE(edit->text(), kept);
    QVERIFY(b->link.OpenPort());
    b->port.written.clear();
    QTest::mouseClick(map->BoutonCentrale, Qt::LeftButton);
    QCOMPARE(int(b->link.image.at(address)), stored);
    QCOMPARE(b->port.written.size(), 1);
    const QByteArray frame = b->port.written.first();
    QVERIFY(frame.startsWith("@W801387D")); // 0x801 goes out as it stands
    QCOMPARE(frame.mid(7 + 2 * (address - 0x801), 2),
             QByteArray::number(stored, 16).toUpper().rightJustified(2, '0'));
    QCOMPARE(frame.size(), 7 + 2 * 0x38 + 3);
}

void TestMapScreen::trims_data() {
    QTest::addColumn<QString>("charge");
    QTest::addColumn<QString>("idle");
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QString>("chargeShown");
    QTest::addColumn<QString>("idleShown");
    QTest::addColumn<int>("loadByte");
    QTest::addColumn<int>("idleByte");
    QTest::newRow("one step each") << "1.25"
                                   << "0.4" << QStringList{"BtCharge2", "BtRalenti1"} << "1.26"
                                   << "0.38" << 126 << 19;
    QTest::newRow("past the top: shown, clamped on write")
        << "2.55"
        << "5.1" << QStringList{"BtCharge2", "BtRalenti2"} << "2.56"
        << "5.12" << 255 << 255;
    QTest::newRow("below zero: shown, 0 on write")
        << "0"
        << "0.01" << QStringList{"BtCharge1", "BtRalenti1"} << "-0.01"
        << "-0.01" << 0 << 0;
}

void TestMapScreen::trims() {
    QFETCH(QString, charge);
    QFETCH(QString, idle);
    QFETCH(QStringList, presses);
    QFETCH(QString, chargeShown);
    QFETCH(QString, idleShown);
    QFETCH(int, loadByte);
    QFETCH(int, idleByte);
    map->TxCharge->setText(charge);
    map->TxRalenti->setText(idle);
    for (const QString &name : presses)
        QTest::mouseClick(map->findChild<QPushButton *>(name), Qt::LeftButton);
    QCOMPARE(map->TxCharge->text(), chargeShown);
    QCOMPARE(map->TxRalenti->text(), idleShown);

    QVERIFY(b->link.OpenPort());
    b->link.state.PollingOn = true;
    b->port.written.clear();
    QTest::mouseClick(map->Command1, Qt::LeftButton);
    QVERIFY(!b->link.state.PollingOn);
    QCOMPARE(int(b->link.image.at(0x801)), loadByte);
    QCOMPARE(int(b->link.image.at(0x802)), idleByte);
    // The extra time, then bank 1, one per answer.
    b->port.feed("@A81\r");
    b->port.feed("@A81\r");
    QCOMPARE(b->port.written.size(), 2);
    QVERIFY(b->port.written.at(0).startsWith("@WA4401"));
    const QByteArray bank1 = "@W80102" +
                             QByteArray::number(loadByte, 16).toUpper().rightJustified(2, '0') +
                             QByteArray::number(idleByte, 16).toUpper().rightJustified(2, '0');
    QCOMPARE(b->port.written.at(1), frames::sealed(bank1) + '\r');
}

// The step runs before the frame is decoded: what it records comes from the
// image and the screens as the previous answer left them.
void TestMapScreen::acquisitionSeesThePreviousResponse() {
    QVERIFY(b->link.OpenPort());
    // The previous answer: on gas, 10.21 ms, "Dep" 35, lambda rich.
    bytes({0x002, 3, 0x00C, 0x0F, 0x00D, 0xA0, 0x02D, 35, 0x031, 160});
    RefreshScreens(b->window.app());
    RefreshScreens(b->window.app());
    aqui->Check1->setChecked(false);
    aqui->Check2->setChecked(false);
    QTest::mouseClick(map->StarMapAqui, Qt::LeftButton);
    QVERIFY(aqui->isShown());
    QVERIFY(aqui->acquisition().MapAcquisitionOn);

    // This answer turns the lambda lean and the time to 10.46 ms.
    b->port.feed(liveFrame({0x10, 0x00}, 0x00C));
    QCOMPARE(aqui->tx1->toPlainText(), QString());
    QCOMPARE(aqui->param3->text(), QStringLiteral("0.8"));
    b->link.image.set(0x031, 60);
    b->port.feed(liveFrame({0x11, 0x00}, 0x00C));
    QCOMPARE(aqui->param1->text(), QStringLiteral("10.46"));
    QCOMPARE(aqui->param2->text(), QStringLiteral("35"));
    QCOMPARE(aqui->tx1->toPlainText(), QStringLiteral("0 - Dep 35 index =  7\n"));
    QCOMPARE(aqui->TxTbmapG(7)->text(), QStringLiteral("1046"));
    QCOMPARE(aqui->TxTbmapB(7)->text(), QString());
    QCOMPARE(aqui->Statu->text(), QStringLiteral("Controle"));
    QVERIFY(map->Picture1->hasCurves());
    QCOMPARE(map->Picture1->gasValues().at(6), 1046.0);

    QTest::mouseClick(map->StopMapAqui, Qt::LeftButton);
    b->link.image.set(0x031, 160);
    b->port.feed(liveFrame({0x10, 0x00}, 0x00C));
    QVERIFY(aqui->isShown());
    QCOMPARE(aqui->tx1->toPlainText(), QStringLiteral("0 - Dep 35 index =  7\n"));
}

void TestMapScreen::menuAndQuit_data() {
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<bool>("calibrating");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("port closed") << false << false
                                 << QStringList{" Serial port not select ",
                                                " Serial port not select "};
    QTest::newRow("port open") << true << false << QStringList{};
    QTest::newRow("calibration running") << true << true << QStringList{" CALIBRATION STOP "};
}

void TestMapScreen::menuAndQuit() {
    QFETCH(bool, portOpen);
    QFETCH(bool, calibrating);
    QFETCH(QStringList, messages);
    if (portOpen)
        QVERIFY(b->link.OpenPort());
    b->link.image.set(0x824, 0x77);
    b->window.app().CalibrationRunning = calibrating;
    Navigation &nav = b->window.navigation();
    nav.BtMap_Click();
    QVERIFY(map->isShown());
    QCOMPARE(map->TxTbCG(1)->text(), QStringLiteral("119"));
    QCOMPARE(b->link.state.PollingOn, portOpen);
    QCOMPARE(b->window.screens().FnConnection->isShown(), !portOpen);
    QVERIFY(!b->window.app().CalibrationRunning);

    b->link.state.PollingOn = false;
    QTest::mouseClick(map->Btexit, Qt::LeftButton);
    QVERIFY(!map->isShown());
    QVERIFY(b->window.screens().FnMoniteur->isShown());
    QCOMPARE(b->link.state.PollingOn, portOpen);
    QCOMPARE(b->dialogs.texts(), messages);
}

void TestMapScreen::exportsCsv() {
    aqui->TxTbmapB(2)->setText(QStringLiteral("500"));
    aqui->TxTbmapG(2)->setText(QStringLiteral("550"));
    map->TxTbCG(2)->setText(QStringLiteral("104"));
    const QString path = b->dir.filePath(QStringLiteral("bands.csv"));
    b->dialogs.fileAnswers = {path, QString()};
    QTest::mouseClick(aqui->BtExportBands, Qt::LeftButton);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.value(2), QByteArray("2,10,15,500,550,10,104\r"));
    // Cancelled: nothing written, nothing said.
    QTest::mouseClick(aqui->BtExportLog, Qt::LeftButton);
    QVERIFY(!QFile::exists(b->dir.filePath(QStringLiteral("crossings.csv"))));
    QCOMPARE(b->dialogs.texts(), QStringList{});
}

QTEST_MAIN(TestMapScreen)
#include "tst_map_screen.moc"

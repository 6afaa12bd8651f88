// The map screen and the acquisition window in the main window, on an in-memory line.
#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "calibration/calibration_set_form.h"
#include "map/aqui_map_form.h"
#include "map/band_graph.h"
#include "map/map_screen.h"
#include "map/proposal_table.h"
#include "pages/coefficient_page.h"
#include "pages/tst_pages_fixture.h"
#include "presentation/refresh.h"
#include "shell/navigation.h"
#include "support/fake_link.h"
#include "support/window_bench.h"
#include "ui/coefficient_grid.h"
#include "ui/readout_widgets.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <memory>

class TestMapScreen : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() {
        b = std::make_unique<WindowBench>();
        b->window.MDIForm1_Load();
        b->window.show();
        map = b->window.screens().mapScreen;
        aqui = b->window.screens().mapAcquisition;
        RefreshScreens(b->window.app());
    }
    void cleanup() { b.reset(); }

    // The screen shown throughout, or hidden during the passes and shown
    // after them: it shows the same.
    void copiesShowThePreviousPass_data() {
        columns<bool, QList<int>, QList<int>, QStringList>("shownThroughout", "first", "second",
                                                           "expected");
        const QList<int> a{0x00C, 0x0F, 0x00D, 0xA0, 0x01C, 0x05, 0x01D, 0x00, 0x02D, 35,
                           0x02E, 0,    0x02F, 105,  0x030, 0,    0x031, 60,   0x002, 3};
        const QList<int> next{0x00C, 0x10,  0x00D, 0x00,  0x01C, 0,     0x01D,
                              0,     0x02D, 40,    0x02F, 80,    0x031, 160};
        const QStringList expected{
            "txZoom=10.46",         "TxzoomG=35",     "TxTIG=3.26",      "Pointeur=3805",
            "pointeur2=5695",       "BarE1=1696/192", "BarG1=542/40960", "BarTPGaz=2178/12623872",
            "BarLambda=1500/49152", "TextGazEtat=Gas"};
        row("shown: petrol time now, the rest from before", true, a, next, expected);
        row("hidden, then shown", false, a, next, expected);
        row("negative Dep, no pressure, hidden then shown", false, QList<int>{0x02D, 0xF6},
            QList<int>{0x02D, 0xF6},
            QStringList{"TxzoomG=-10", "Pointeur=-740", "pointeur2=130", "BarTPGaz=396/12623872"});
    }

    void copiesShowThePreviousPass() {
        const auto [shownThroughout, first, second, expected] =
            fetch<bool, QList<int>, QList<int>, QStringList>("shownThroughout", "first", "second",
                                                             "expected");
        if (shownThroughout)
            map->showForm();
        bytes(first);
        RefreshScreens(b->window.app());
        bytes(second);
        RefreshScreens(b->window.app());
        if (!shownThroughout) {
            QVERIFY(!map->isShown());
            map->showForm();
        }
        QStringList got;
        for (const QString &e : expected)
            got << e.section(QLatin1Char('='), 0, 0) + QLatin1Char('=') +
                       shown(e.section(QLatin1Char('='), 0, 0));
        QCOMPARE(got, expected);
    }

    // The write button sends 0x801..0x838: the field typed, the image shown first.
    void tablesWrite() {
        b->link.image.set(0x801, 0x7D);
        b->link.image.set(0x837, 0xFF);
        map->PutInTaB();
        auto *field = map->TxTbCG(19);
        field->clear();
        QTest::keyClicks(field, QStringLiteral("7x"));
        QVERIFY(b->link.OpenPort());
        b->port.written.clear();
        QTest::mouseClick(map->BoutonCentrale, Qt::LeftButton);
        const QByteArray frame = b->port.written.value(0);
        QVERIFY(frame.startsWith("@W801387D")); // 0x801 goes out as it stands
        QCOMPARE(frame.mid(7 + 2 * (0x836 - 0x801), 4), QByteArray("07FF"));
        QCOMPARE(frame.size(), 7 + 2 * 0x38 + 3);
    }

    void trims_data() {
        // Load, idle typed; load, idle after the presses; bank 1's load, idle bytes.
        columns<QStringList, QStringList, QByteArray>("texts", "presses", "bank1");
        using L = QStringList;
        row("one step each", L{"1.25", "0.4", "1.26", "0.38"}, L{"BtCharge2", "BtRalenti1"},
            QByteArray("7E13"));
        row("past the top: shown, clamped on write", L{"2.55", "5.1", "2.56", "5.12"},
            L{"BtCharge2", "BtRalenti2"}, QByteArray("FFFF"));
        row("below zero: shown, 0 on write", L{"0", "0.01", "-0.01", "-0.01"},
            L{"BtCharge1", "BtRalenti1"}, QByteArray("0000"));
    }

    void trims() {
        const auto [texts, presses, bank1] =
            fetch<QStringList, QStringList, QByteArray>("texts", "presses", "bank1");
        map->TxCharge->setText(texts.at(0));
        map->TxRalenti->setText(texts.at(1));
        for (const QString &name : presses)
            QTest::mouseClick(map->findChild<QPushButton *>(name), Qt::LeftButton);
        QCOMPARE(QStringList({map->TxCharge->text(), map->TxRalenti->text()}), texts.mid(2));

        QVERIFY(b->link.OpenPort());
        b->link.poll.start();
        b->port.written.clear();
        QTest::mouseClick(map->Command1, Qt::LeftButton);
        b->port.feed("@A81\r");
        b->port.feed("@A81\r");
        QCOMPARE(b->port.written.size(), 2);
        QVERIFY(b->port.written.at(0).startsWith("@WA4401"));
        QCOMPARE(b->port.written.at(1), frames::sealed("@W80102" + bank1) + '\r');
    }

    // The step runs before the frame is decoded: what it records comes from the
    // image and the screens as the previous answer left them, the map screen
    // hidden as while the fitter drives on another screen.
    void acquisitionSeesThePreviousResponse() {
        QVERIFY(!map->isShown());
        QVERIFY(b->link.OpenPort());
        // The previous answer: on gas, 10.21 ms, "Dep" 35, lambda rich.
        bytes({0x002, 3, 0x00C, 0x0F, 0x00D, 0xA0, 0x02D, 35, 0x031, 160});
        RefreshScreens(b->window.app());
        RefreshScreens(b->window.app());
        aqui->Check1->setChecked(false);
        aqui->Check2->setChecked(false);
        QTest::mouseClick(map->StarMapAqui, Qt::LeftButton);

        // This answer turns the lambda lean and the time to 10.46 ms.
        answerRead(b->link, b->port, dataFrame(0x00C, {0x10, 0}));
        QCOMPARE(aqui->param3->text(), QStringLiteral("0.8"));
        b->link.image.set(0x031, 60);
        answerRead(b->link, b->port, dataFrame(0x00C, {0x11, 0}));
        QCOMPARE(aqui->tx1->toPlainText(), QStringLiteral("0 - Dep 35 index =  7\n"));
        QCOMPARE(aqui->TxTbmapG(7)->text(), QStringLiteral("1046"));
        QCOMPARE(aqui->Statu->text(), QStringLiteral("Controle"));
        QCOMPARE(map->Picture1->gasValues().at(6), 1046.0);

        QTest::mouseClick(map->StopMapAqui, Qt::LeftButton);
        b->link.image.set(0x031, 160);
        answerRead(b->link, b->port, dataFrame(0x00C, {0x10, 0}));
        QVERIFY(aqui->isShown());
        QCOMPARE(aqui->tx1->toPlainText(), QStringLiteral("0 - Dep 35 index =  7\n"));
    }

    void menuAndQuit_data() {
        columns<bool, bool, QStringList>("portOpen", "calibrating", "messages");
        row("port closed", false, false, QStringList(2, " Serial port not select "));
        row("calibration running", true, true, QStringList{" CALIBRATION STOP "});
    }

    void menuAndQuit() {
        const auto [portOpen, calibrating, messages] =
            fetch<bool, bool, QStringList>("portOpen", "calibrating", "messages");
        if (portOpen)
            QVERIFY(b->link.OpenPort());
        b->link.image.set(0x824, 0x77);
        b->window.app().CalibrationRunning = calibrating;
        b->window.navigation().BtMap_Click();
        QCOMPARE(map->TxTbCG(1)->text(), QStringLiteral("119"));
        QCOMPARE(b->link.poll.isOn(), portOpen);
        QCOMPARE(b->window.screens().connection->isShown(), !portOpen);
        QVERIFY(!b->window.app().CalibrationRunning);

        // "Quitter" leaves the monitor alone on screen: every calibration
        // form, both banks' end forms included, is hidden with the map.
        const Screens &s = b->window.screens();
        const QList<Form *> calibration = {s.calibrationScreen, s.calibrationSettings,
                                           s.calibrationEndBank1, s.calibrationEndBank2};
        for (Form *form : calibration)
            form->showForm();
        b->link.poll.stop();
        QTest::mouseClick(map->Btexit, Qt::LeftButton);
        for (Form *form : calibration)
            QVERIFY2(!form->isShown(), qPrintable(form->objectName()));
        QVERIFY(!map->isShown() && s.monitorScreen->isShown());
        QCOMPARE(b->link.poll.isOn(), portOpen);
        QCOMPARE(b->dialogs.texts(), messages);
    }

    void exportsCsv() {
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

    // In the 1024 x 717 main window the acquisition window opens beside
    // what the fitter works with while driving, and the proposal cells stand
    // under their table entries.
    void acquisitionOpensBeside() {
        QVERIFY(b->link.OpenPort());
        b->window.navigation().BtMap_Click();
        QTest::mouseClick(map->StarMapAqui, Qt::LeftButton);
        QWidget *area = aqui->window()->parentWidget();
        const QRect acquisition = aqui->window()->geometry();
        const auto at = [area](const QWidget *w) {
            return QRect(w->mapTo(area, QPoint(0, 0)), w->size());
        };
        QList<QWidget *> kept{
            map->grid(),         map->proposal(), map->Picture1,    map->StarMapAqui,
            map->StopMapAqui,    map->TxCharge,   map->TxRalenti,   map->BtCharge1,
            map->BtCharge2,      map->BtRalenti1, map->BtRalenti2,  map->Command1,
            map->BoutonCentrale, map->Btexit,     map->txZoom,      map->TxzoomG,
            map->TxTIG,          map->BarLambda,  map->BarPression, map->TextGazEtat};
        QVERIFY(area->rect().contains(map->window()->geometry()));
        QVERIFY(area->rect().contains(acquisition));
        for (const QWidget *w : kept)
            QVERIFY2(!at(w).intersects(acquisition), qPrintable(w->objectName()));
        for (int n = 1; n <= 20; ++n) {
            const QRect entry = at(map->TxTbCG(n));
            const QRect cell = at(map->proposal()->TxProposed(n));
            QCOMPARE(QPair(cell.left(), cell.width()), QPair(entry.left(), entry.width()));
        }
    }

    // Eighty crossings: the log, left alone, shows its newest line.
    void logFollowsTheNewestLine() {
        QTest::mouseClick(map->StarMapAqui, Qt::LeftButton);
        map->txZoom->setText(QStringLiteral("10.46"));
        map->TxzoomG->setText(QStringLiteral("35"));
        for (int i = 0; i < 80; ++i) {
            b->link.image.set(0x031, i % 2 ? 160 : 60);
            aqui->MapAcquisitionStep();
        }
        QCOMPARE(aqui->tx1->blockCount(), 81);
        const QTextCursor newest(aqui->tx1->document()->findBlockByNumber(79));
        QVERIFY(newest.block().text().startsWith(QStringLiteral("79 - Dep 35")));
        QVERIFY(aqui->tx1->viewport()->rect().contains(aqui->tx1->cursorRect(newest)));
        QVERIFY(aqui->tx1->verticalScrollBar()->value() > 0);
    }

    void captions() {
        QCOMPARE(QStringList({aqui->Check1->text(), aqui->Check2->text()}),
                 QStringList({"Relative test", "Absolute test"}));
        const auto axis = [](const QWidget *screen) {
            return screen->findChild<QLabel *>(QStringLiteral("LabelAxeTemperature"))->text();
        };
        QCOMPARE(axis(map), QStringLiteral("<< -- Depression"));
        QCOMPARE(axis(b->window.screens().coefficientPage), QStringLiteral("<< -- Temperature °C"));
    }

  private:
    std::unique_ptr<WindowBench> b;
    MapScreen *map = nullptr;
    AquiMapForm *aqui = nullptr;

    void bytes(const QList<int> &pairs) {
        for (int i = 0; i + 1 < pairs.size(); i += 2)
            b->link.image.set(pairs[i], quint8(pairs[i + 1]));
    }

    QString shown(const QString &name) const {
        QObject *o = map->findChild<QObject *>(name);
        if (auto *bar = qobject_cast<LevelBar *>(o))
            return QString::number(bar->widthTwips()) + QLatin1Char('/') +
                   QString::number(bar->fillColor());
        if (auto *pointer = qobject_cast<PointerStrip *>(o))
            return QString::number(pointer->leftTwips());
        return o ? o->property("text").toString() : QStringLiteral("<missing>");
    }
};

QTEST_MAIN(TestMapScreen)
#include "tst_map_screen.moc"

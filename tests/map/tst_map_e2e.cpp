// A map acquisition against the simulator's road cycle: on petrol, then on gas
// after the screen's fuel switch; where the default gas correction is too lean
// the gas column stands above the petrol one.
#include "link/link.h"
#include "map/aqui_map_form.h"
#include "map/map_screen.h"
#include "shell/main_window.h"
#include "support/sim_session.h"
#include "tuning/band_stats.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

constexpr int Generous = 120000;

class TestMapEndToEnd : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void roadCycleFillsBothColumns();
};

void TestMapEndToEnd::roadCycleFillsBothColumns() {
    SimSession session(7);
    QVERIFY(session.sim.start({QStringLiteral("--warm"), QStringLiteral("--drive"),
                               QStringLiteral("--switch-delay"), QStringLiteral("0")}));
    Link &link = session.link;
    MainWindow &window = *session.window;
    QVERIFY(link.OpenPort());
    MapScreen *map = window.screens().mapScreen;
    AquiMapForm *aqui = window.screens().mapAcquisition;

    // The menu opens the map; the watchdog starts the poll.
    window.navigation().BtMap_Click();
    QTest::mouseClick(map->StarMapAqui, Qt::LeftButton);

    // On petrol until the cycle has cruised above half load.
    auto upperBand = [aqui](bool both) {
        for (int k = 12; k <= 20; ++k) {
            const bool petrol = !aqui->TxTbmapB(k)->text().isEmpty();
            if (petrol && (!both || !aqui->TxTbmapG(k)->text().isEmpty()))
                return k;
        }
        return 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(
        aqui->filledBands(MapAcquisition::Column::Petrol) >= 3 && upperBand(false) != 0, Generous);
    QCOMPARE(aqui->filledBands(MapAcquisition::Column::Gas), 0);

    // Then on gas, until a band above half load has both columns: there the
    // default table gives too little gas and the petrol ECU lengthens its time.
    // Judged on the band's means (gas over the crossings a correction
    // trusts): one crossing taken while the load moves may lag the loop.
    QTest::mouseClick(map->SwitchCommutateur, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(link.image.at(0x002), quint8(3), Generous);
    QTRY_VERIFY_WITH_TIMEOUT(upperBand(true) != 0, Generous);
    const BandStats &stats = aqui->bandStats();
    auto trustedOnGas = [&stats] {
        for (int band = 12; band <= 20; ++band) {
            if (!stats.at(band, BandStats::Column::Petrol).empty() &&
                stats.at(band, BandStats::Column::Gas).reliable())
                return band;
        }
        return 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(trustedOnGas() != 0, Generous);
    const int k = trustedOnGas();
    const double petrol = stats.at(k, BandStats::Column::Petrol).mean;
    const double gas = stats.at(k, BandStats::Column::Gas).mean;
    QVERIFY2(gas > petrol * 1.02,
             qPrintable(QStringLiteral("band %1: %2 / %3").arg(k).arg(petrol).arg(gas)));
}

QTEST_MAIN(TestMapEndToEnd)
#include "tst_map_e2e.moc"

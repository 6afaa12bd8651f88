#include "map/aqui_map_form.h"

#include "link/link.h"
#include "map/band_graph.h"
#include "map/map_screen.h"
#include "settings/number_format.h"
#include "tuning/map_export.h"
#include "ui/app_context.h"
#include "ui/captions.h"
#include "ui/dialogs.h"
#include "ui/monitor_controls.h"
#include "ui/numeric_edit.h"
#include "ui/screens.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace {
void setText(QLineEdit *field, const QString &text) {
    if (field->text() != text)
        field->setText(text);
}
} // namespace

void AquiMapForm::MapAcquisitionStep() {
    if (!m_acquisition.MapAcquisitionOn)
        return;
    const MapScreen *map = m_app.screens.mapScreen;
    MapAcquisition::Inputs in;
    in.txZoom = map->txZoom->text();
    in.TxzoomG = map->TxzoomG->text();
    in.TxRPM = m_app.screens.monitorControls->TxRPM->text();
    in.param5 = param5->text();
    in.param4 = param4->text();
    in.param6 = param6->text();
    in.Check1 = Check1->isChecked();
    in.Check2 = Check2->isChecked();
    const MapAcquisition::Step s = m_acquisition.step(in, m_app.link.image);

    setText(param1, s.param1);
    setText(param2, s.param2);
    setText(param3, s.param3);
    if (!s.complete)
        return;
    setCrossingColour(s.crossing);
    if (!s.logLine.isEmpty()) {
        // Inserted where the log's cursor stands, one line a crossing; the
        // log then scrolls to that place, so while the fitter leaves the
        // cursor at the end the newest line stays in view.
        QString line = s.logLine;
        line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        tx1->insertPlainText(line);
        tx1->ensureCursorVisible();
    }
    if (s.recorded)
        recordBand(*s.recorded, QDateTime::currentDateTime());
    if (s.redraw)
        DrawBandCurves();
    setText(Statu, s.status);
}

void AquiMapForm::recordBand(const MapAcquisition::Record &r, const QDateTime &when) {
    QLineEdit *band = r.column == MapAcquisition::Column::Gas ? TxTbmapG(r.band) : TxTbmapB(r.band);
    band->setText(QString::number(r.value));
    m_stats.add(r.band, r.column, r.value, when);
    showBand(r.band, r.column);
}

int AquiMapForm::filledBands(MapAcquisition::Column column) const {
    const auto &fields = column == MapAcquisition::Column::Gas ? m_gas : m_petrol;
    return int(std::count_if(fields.begin(), fields.end(),
                             [](const QLineEdit *f) { return !f->text().isEmpty(); }));
}

// An empty band is drawn as a gap, not as a zero time.
void AquiMapForm::DrawBandCurves() {
    auto valueOf = [](const QLineEdit *f) {
        return f->text().isEmpty() ? std::numeric_limits<double>::quiet_NaN()
                                   : number::parse(f->text());
    };
    std::array<double, 20> gas{}, petrol{};
    for (int k = 1; k <= 20; ++k) {
        gas.at(std::size_t(k - 1)) = valueOf(TxTbmapG(k));
        petrol.at(std::size_t(k - 1)) = valueOf(TxTbmapB(k));
    }
    MapScreen *map = m_app.screens.mapScreen;
    map->Picture1->drawCurves(gas, petrol);
    map->showProposal();
}

// The count beside the value; a band too thin to trust is greyed, and the
// tooltips tell its mean, spread and age.
void AquiMapForm::showBand(int band, MapAcquisition::Column column) {
    const bool gas = column == MapAcquisition::Column::Gas;
    const BandStats::Band &b = m_stats.at(band, column);
    QLabel *count = gas ? TxNbG(band) : TxNbB(band);
    QLineEdit *value = gas ? TxTbmapG(band) : TxTbmapB(band);
    count->setText(b.empty() ? QString() : QString::number(b.count));
    const QString grey = QStringLiteral("color: gray;");
    count->setStyleSheet(b.reliable() ? QString() : grey);
    value->setStyleSheet(b.empty() || b.reliable() ? QString() : grey);
    QString tip;
    if (!b.empty()) {
        tip = captions::text(captions::BandTip)
                  .arg(b.count)
                  .arg(b.mean / 100, 0, 'f', 2)
                  .arg(b.spread() / 100, 0, 'f', 2)
                  .arg(b.lastFilled.toString(QStringLiteral("HH:mm:ss")));
        if (!b.reliable())
            tip += QLatin1Char('\n') +
                   captions::text(captions::BandThinTip).arg(BandStats::MinSamples);
    }
    count->setToolTip(tip);
    value->setToolTip(tip);
}

void AquiMapForm::BtClearBands_Click() {
    m_stats.clear();
    for (int k = 1; k <= 20; ++k) {
        TxTbmapB(k)->clear();
        TxTbmapG(k)->clear();
        showBand(k, MapAcquisition::Column::Petrol);
        showBand(k, MapAcquisition::Column::Gas);
    }
    DrawBandCurves();
}

// Light green while the lambda crosses, the window colour otherwise.
void AquiMapForm::setCrossingColour(bool crossing) {
    if (crossing == m_crossingShown)
        return;
    m_crossingShown = crossing;
    QPalette palette = param3->palette();
    palette.setColor(QPalette::Base,
                     crossing ? QColor(128, 255, 128) : this->palette().color(QPalette::Base));
    param3->setPalette(palette);
}

bool AquiMapForm::save(const QString &title, const QString &defaultName, const QByteArray &csv) {
    const QString path = m_app.dialogs.savePath(
        title, QStringLiteral("CSV (*.csv)|*.csv|All File (*.*)|*.*"), defaultName);
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        m_app.dialogs.warning(captions::text(captions::CannotWriteFile) + path);
        return false;
    }
    return true;
}

void AquiMapForm::BtExportBands_Click() {
    QStringList petrol, gas, correction;
    for (int k = 1; k <= 20; ++k) {
        petrol.append(TxTbmapB(k)->text());
        gas.append(TxTbmapG(k)->text());
        correction.append(m_app.screens.mapScreen->TxTbCG(k)->text());
    }
    save(captions::text(captions::ExportBandsTitle), QStringLiteral("bands.csv"),
         mapexport::bandsCsv(petrol, gas, correction));
}

void AquiMapForm::BtExportLog_Click() {
    save(captions::text(captions::ExportCrossingsTitle), QStringLiteral("crossings.csv"),
         mapexport::crossingsCsv(m_acquisition.crossings()));
}

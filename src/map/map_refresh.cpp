// The map screen's part of the screen refresh. The copies are taken between
// the monitor's first injection time and the rest of its live values, so
// apart from the petrol time they show the monitor's previous pass.
#include "map/map_screen.h"

#include "link/link.h"
#include "map/aqui_map_form.h"
#include "map/band_graph.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/monitor_controls.h"
#include "ui/numeric_edit.h"
#include "ui/readout_widgets.h"
#include "ui/screens.h"

#include <QLineEdit>

namespace {
void setText(QLineEdit *field, const QString &text) {
    if (field->text() != text)
        field->setText(text);
}

int twipsOf(double value) {
    return int(number::roundHalfEven(value));
}
} // namespace

void MapScreen::refreshCopies() {
    const MonitorControls *m = m_app.screens.monitorControls;
    m_copies = LiveCopies{m->txZoom->text(),
                          m->TextTPGaz->text(),
                          m->TextPression->text(),
                          m->TextG[0]->text(),
                          m->BarTPGaz->widthTwips(),
                          m->BarLambda->widthTwips(),
                          m->BarPression->widthTwips(),
                          m->BarE[0]->widthTwips(),
                          m->BarG[0]->widthTwips(),
                          m->BarLambda->fillColor(),
                          m->BarPression->fillColor()};
    // The map acquisition reads its two texts on every answer, shown or not.
    if (m_app.screens.mapAcquisition->acquisition().MapAcquisitionOn && !isShown())
        showAcquisitionCopies();
    if (isShown())
        showCopies();
}

void MapScreen::showAcquisitionCopies() {
    if (!m_copies)
        return;
    setText(txZoom, m_copies->petrolTime);
    setText(TxzoomG, m_copies->gasTemperature);
}

void MapScreen::showCopies() {
    if (!m_copies)
        return;
    showAcquisitionCopies();
    const LiveCopies &c = *m_copies;
    Pointeur->setLeftTwips(twipsOf(number::parse(c.gasTemperature) * 101 + 270));
    pointeur2->setLeftTwips(twipsOf(number::parse(c.pressure) * 100 * 53 + 130));
    setText(TxTIG, c.gasTime);
    BarTPGaz->setWidthTwips(twipsOf(c.barTPGaz * 1.8));
    BarLambda->setWidthTwips(c.barLambda);
    BarLambda->setFillColor(c.lambdaColour);
    BarPression->setFillColor(c.pressionColour);
    BarPression->setWidthTwips(twipsOf(c.barPression * 1.8));
    BarE1->setWidthTwips(c.barE1 * 2);
    BarG1->setWidthTwips(c.barG1 * 2);
}

void MapScreen::refreshFuelState() {
    setText(TextGazEtat, m_app.screens.monitorControls->TextGazEtat->text());
}

void MapScreen::refreshTrims() {
    if (m_app.link.poll.isOn())
        return;
    const MonitorControls *m = m_app.screens.monitorControls;
    setText(TxCharge, m->TxCharge->text());
    setText(TxRalenti, m->TxRalenti->text());
}

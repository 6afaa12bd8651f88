// The map screen's part of the screen refresh. The copies are taken between
// the monitor's first injection time and the rest of its live values, so
// apart from the petrol time they show the monitor's previous pass.
#include "map/map_screen.h"

#include "link/link.h"
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
    setText(txZoom, m->txZoom->text());
    setText(TxzoomG, m->TextTPGaz->text());
    Pointeur->setLeftTwips(twipsOf(number::parse(m->TextTPGaz->text()) * 101 + 270));
    pointeur2->setLeftTwips(twipsOf(number::parse(m->TextPression->text()) * 100 * 53 + 130));
    setText(TxTIG, m->TextG[0]->text());
    BarTPGaz->setWidthTwips(twipsOf(m->BarTPGaz->widthTwips() * 1.8));
    BarLambda->setWidthTwips(m->BarLambda->widthTwips());
    BarLambda->setFillColor(m->BarLambda->fillColor());
    BarPression->setFillColor(m->BarPression->fillColor());
    BarPression->setWidthTwips(twipsOf(m->BarPression->widthTwips() * 1.8));
    BarE1->setWidthTwips(m->BarE[0]->widthTwips() * 2);
    BarG1->setWidthTwips(m->BarG[0]->widthTwips() * 2);
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

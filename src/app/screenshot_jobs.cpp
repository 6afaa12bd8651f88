// The job panel in the ready area: a car with its kit, the job in hand and
// an earlier one selected in its history with what changed since; then the
// new vehicle and new job forms.
#include "app/screenshot_tour.h"
#include "ecu/memory_map.h"
#include "jobs/job_form.h"
#include "jobs/job_history.h"
#include "jobs/job_panel.h"
#include "jobs/vehicle_form.h"
#include "link/link.h"
#include "shell/main_window.h"
#include "ui/form.h"
#include "ui/screens.h"
#include "vehicles/job_images.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// The configuration an earlier job left: a few settings the fitter has
// changed since.
QByteArray earlierConfiguration(MemoryImage image) {
    const auto add = [&image](int address, int step) {
        image.set(address, static_cast<quint8>(image.at(address) + step));
    };
    add(ecu::field::SwitchTemperature.address, -5);
    add(ecu::PressureCoefficients.address + 2, -4);
    return jobimages::memoryFileOf(image);
}
} // namespace

bool ScreenshotTour::shootJobs() {
    Screens &s = m_window.screens();
    for (Form *screen : s.screenSet())
        screen->hideForm();
    JobPanel *panel = m_window.jobPanel();
    RecordStore &store = panel->store();
    if (!panel->isVisible() || !store.isOpen())
        return shoot(QStringLiteral("70-job-panel"));

    Vehicle car;
    car.plate = QStringLiteral("GH-482-KL");
    car.vin = QStringLiteral("VF1RFB00X52314876");
    car.make = QStringLiteral("Renault");
    car.model = QStringLiteral("Clio IV 1.2 16V");
    car.year = 2016;
    car.capacityCc = 1149;
    car.cylinders = 4;
    car.powerKw = 54;
    car.odometerKm = 84210;
    car.reducer = QStringLiteral("RX-200");
    car.injectors = QStringLiteral("IG1 3 ohm");
    car.nozzle = QStringLiteral("1.9 mm");
    car.tank = QStringLiteral("Toroidal 54 l");
    const qint64 carId = store.addVehicle(car);
    store.setSetting(QStringLiteral("job.fitter"), QStringLiteral("M. Durand"));
    Job conversion;
    conversion.vehicleId = carId;
    conversion.date = QDateTime::currentDateTime().addDays(-61);
    conversion.fitter = QStringLiteral("M. Durand");
    conversion.customer = QStringLiteral("Taxis du Nord");
    const qint64 earlier = store.addJob(conversion);
    const QByteArray before = earlierConfiguration(m_window.app().link.image);
    store.setFirstRead(earlier, before, conversion.date);
    store.setLastWritten(earlier, before, conversion.date.addSecs(5400));
    Job service = conversion;
    service.date = QDateTime::currentDateTime();
    service.kind = Job::Kind::Service;
    service.notes = QStringLiteral("Idle hesitation when warm");
    const qint64 current = store.addJob(service);
    store.setFirstRead(current, jobimages::memoryFileOf(m_window.app().link.image), service.date);

    panel->pickVehicle(carId);
    panel->resumeJob(current);
    panel->history->HistoryList->setCurrentRow(1);
    bool ok = shoot(QStringLiteral("70-job-panel"));

    panel->NewVehicleButton->click();
    panel->vehicleForm->PlateEdit->setText(QStringLiteral("BT-907-RS"));
    panel->vehicleForm->MakeEdit->setText(QStringLiteral("Dacia"));
    panel->vehicleForm->ModelEdit->setText(QStringLiteral("Sandero"));
    panel->vehicleForm->YearEdit->setText(QStringLiteral("2019"));
    ok = shoot(QStringLiteral("71-new-vehicle")) && ok;
    panel->vehicleForm->CancelVehicleButton->click();

    panel->NewJobButton->click();
    panel->jobForm->CustomerEdit->setText(QStringLiteral("Taxis du Nord"));
    panel->jobForm->NotesEdit->setPlainText(QStringLiteral("Reducer membrane"));
    ok = shoot(QStringLiteral("72-new-job")) && ok;
    panel->jobForm->CancelJobButton->click();
    return ok;
}

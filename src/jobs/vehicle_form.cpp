#include "jobs/vehicle_form.h"

#include "jobs/job_texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
using jobtexts::Id;
// The captions of the rows, in the order the fields are laid out.
constexpr Id RowCaptions[] = {Id::Plate,    Id::Vin,       Id::MakeAndModel, Id::Year,
                              Id::Capacity, Id::Cylinders, Id::Power,        Id::Odometer,
                              Id::Reducer,  Id::Injectors, Id::Nozzle,       Id::Tank};

QLineEdit *field(const char *name, QWidget *parent, int maximum = 0) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (maximum > 0)
        edit->setValidator(new QIntValidator(0, maximum, edit));
    return edit;
}
} // namespace

VehicleForm::VehicleForm(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VehicleForm"));
    PlateEdit = field("PlateEdit", this);
    VinEdit = field("VinEdit", this);
    MakeEdit = field("MakeEdit", this);
    ModelEdit = field("ModelEdit", this);
    YearEdit = field("YearEdit", this, 2100);
    CapacityEdit = field("CapacityEdit", this, 20000);
    CylindersEdit = field("CylindersEdit", this, 16);
    PowerEdit = field("PowerEdit", this, 2000);
    OdometerEdit = field("OdometerEdit", this, 9999999);
    ReducerEdit = field("ReducerEdit", this);
    InjectorsEdit = field("InjectorsEdit", this);
    NozzleEdit = field("NozzleEdit", this);
    TankEdit = field("TankEdit", this);
    VinEdit->setMaxLength(17);

    auto *grid = new QGridLayout(this);
    auto *makeModel = new QHBoxLayout;
    makeModel->addWidget(MakeEdit);
    makeModel->addWidget(ModelEdit);
    const QList<QLineEdit *> rows = {PlateEdit,    VinEdit,       nullptr,    YearEdit,
                                     CapacityEdit, CylindersEdit, PowerEdit,  OdometerEdit,
                                     ReducerEdit,  InjectorsEdit, NozzleEdit, TankEdit};
    for (int row = 0; row < rows.size(); ++row) {
        auto *label = new QLabel(this);
        m_labels.append(label);
        grid->addWidget(label, row, 0);
        if (rows[row])
            grid->addWidget(rows[row], row, 1);
        else
            grid->addLayout(makeModel, row, 1);
    }
    SaveVehicleButton = new QPushButton(this);
    SaveVehicleButton->setObjectName(QStringLiteral("SaveVehicleButton"));
    CancelVehicleButton = new QPushButton(this);
    CancelVehicleButton->setObjectName(QStringLiteral("CancelVehicleButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SaveVehicleButton);
    buttons->addWidget(CancelVehicleButton);
    grid->addLayout(buttons, int(rows.size()), 0, 1, 2);
    grid->setRowStretch(int(rows.size()) + 1, 1);

    SaveVehicleButton->setEnabled(false);
    connect(PlateEdit, &QLineEdit::textChanged, this, [this](const QString &plate) {
        SaveVehicleButton->setEnabled(!plate.trimmed().isEmpty());
    });
    connect(SaveVehicleButton, &QPushButton::clicked, this, &VehicleForm::saveClicked);
    connect(CancelVehicleButton, &QPushButton::clicked, this, &VehicleForm::cancelClicked);
    caption();
}

void VehicleForm::caption() {
    for (int row = 0; row < m_labels.size(); ++row)
        m_labels[row]->setText(jobtexts::text(RowCaptions[row]));
    SaveVehicleButton->setText(jobtexts::save());
    CancelVehicleButton->setText(jobtexts::text(Id::Cancel));
}

void VehicleForm::start() {
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->clear();
    PlateEdit->setFocus();
}

Vehicle VehicleForm::vehicle() const {
    Vehicle v;
    v.plate = PlateEdit->text().trimmed();
    v.vin = VinEdit->text().trimmed().toUpper();
    v.make = MakeEdit->text().trimmed();
    v.model = ModelEdit->text().trimmed();
    v.year = YearEdit->text().toInt();
    v.capacityCc = CapacityEdit->text().toInt();
    v.cylinders = CylindersEdit->text().toInt();
    v.powerKw = PowerEdit->text().toInt();
    v.odometerKm = OdometerEdit->text().toInt();
    v.reducer = ReducerEdit->text().trimmed();
    v.injectors = InjectorsEdit->text().trimmed();
    v.nozzle = NozzleEdit->text().trimmed();
    v.tank = TankEdit->text().trimmed();
    return v;
}

#include "jobs/vehicle_picker.h"

#include "jobs/job_texts.h"
#include "vehicles/record_store.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

VehiclePicker::VehiclePicker(const RecordStore &store, QWidget *parent)
    : QWidget(parent), m_store(store) {
    setObjectName(QStringLiteral("VehiclePicker"));
    m_label = new QLabel(this);
    VehicleSearch = new QLineEdit(this);
    VehicleSearch->setObjectName(QStringLiteral("VehicleSearch"));
    VehicleSearch->setClearButtonEnabled(true);
    VehicleList = new QListWidget(this);
    VehicleList->setObjectName(QStringLiteral("VehicleList"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_label);
    column->addWidget(VehicleSearch);
    column->addWidget(VehicleList, 1);

    connect(VehicleSearch, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(VehicleList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (!item)
            return;
        m_picked = item->data(Qt::UserRole).toLongLong();
        Q_EMIT picked(item->data(Qt::UserRole).toLongLong());
    });
    caption();
}

void VehiclePicker::caption() {
    m_label->setText(jobtexts::text(jobtexts::PlateOrVin));
}

void VehiclePicker::mark(qint64 vehicleId) {
    m_picked = vehicleId;
    refresh();
}

void VehiclePicker::refresh() {
    const QSignalBlocker quiet(VehicleList);
    VehicleList->clear();
    if (!m_store.isOpen())
        return;
    for (const Vehicle &v : m_store.findVehicles(VehicleSearch->text().trimmed())) {
        QString line = v.title();
        if (!v.vin.isEmpty())
            line += QStringLiteral("   ") + v.vin;
        auto *item = new QListWidgetItem(line, VehicleList);
        item->setData(Qt::UserRole, v.id);
        if (v.id == m_picked)
            VehicleList->setCurrentItem(item);
    }
}

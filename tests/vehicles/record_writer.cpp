// gasecu-record-writer PATH: opens the records at PATH and adds jobs, each
// with a memory file, one after another until it is killed, printing each
// job's id once its commit has returned. The crash-safety test kills it.
#include "vehicles/record_store.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2)
        return 2;
    RecordStore store;
    if (!store.open(args.at(1))) {
        std::fprintf(stderr, "%s\n", qPrintable(store.error()));
        return 1;
    }
    Vehicle car;
    car.plate = QStringLiteral("KILL-1");
    const std::optional<Vehicle> known = store.vehicleByPlate(car.plate);
    Job job;
    job.vehicleId = known ? known->id : store.addVehicle(car);
    // A job a few pages long, so a kill can land inside its commit.
    job.firstRead = QByteArray("FichierMemoire:") + QByteArray("5A.").repeated(4000);
    for (int k = 0;; ++k) {
        job.notes = QStringLiteral("job %1").arg(k);
        job.date = QDateTime::currentDateTime();
        const qint64 id = store.addJob(job);
        if (id == 0) {
            std::fprintf(stderr, "%s\n", qPrintable(store.error()));
            return 1;
        }
        std::printf("%lld\n", id);
        std::fflush(stdout);
    }
}

#pragma once

#include "vehicles/record_store.h"

#include <QString>

#include <array>

class BandStats;
class MemoryImage;
namespace calibration {
class Sequence;
}

namespace cli {

class CommandArgs;

// What a command records into the job named by --job ID while it talks to
// the ECU: the configuration read and written, the restore points, the
// calibration results and the map bands. Without --job it records nothing.
// A record that cannot be kept is said on stderr and turns a successful
// ending into exit 3: the ECU is not affected by it.
class JobLog {
  public:
    // Adds --job ID to the command's options.
    static void addOption(CommandArgs &args);

    // Opens the records when --job was given and checks the job exists.
    // False, with *exitCode set and the reason printed, when it cannot.
    bool open(const CommandArgs &args, int *exitCode);
    bool active() const { return m_job != 0; }

    void read(const MemoryImage &image);
    void written(const MemoryImage &image);
    void restorePoint(const QString &path);
    void calibration(const calibration::Sequence &sequence, int kind);
    // applied: the depression entries written after the drive, or nullptr.
    void map(const BandStats &stats, const std::array<int, 20> *applied);

    // The command's exit code, or 3 when it ended well but a record failed.
    int finish(int code) const;

  private:
    void check(bool ok);
    RecordStore m_store;
    qint64 m_job = 0;
    bool m_failed = false;
};

} // namespace cli

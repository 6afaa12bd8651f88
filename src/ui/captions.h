#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The captions this tool has beyond the language table of the original
// screens. They are built in in English; a language file carries them as
// texts 83 and on, after the ones every older file has, and a text such a
// file lacks (or leaves empty) keeps the English caption.
namespace captions {

enum Id : int {
    PressureMemory,
    Lowest,
    Highest,
    ResetPressure,
    Record,
    StopRecording,
    Chart,
    ChartTitle,
    Pause,
    Resume,
    OpenLog,
    Live,
    Fit,
    TimeAxis,
    LiveSource,
    CompareTitle,
    CompareFile,
    Compare,
    Setting,
    Address,
    InTool,
    Band1,
    Band2,
    ExportBands,
    ExportLog,
    ClearBands,
    RelativeTest,
    AbsoluteTest,
    Current,
    Proposed,
    Difference,
    Apply,
    DepressionAxis,
    FileSaved,
    EditedTip,
    AwaitingTip,
    RefusedTip,
    Results,
    CalibrationDone,
    // The chart's channels, in the order of live::chartChannels().
    ChannelSpeed,
    ChannelPetrol1,
    ChannelGas1,
    ChannelLambda,
    ChannelPressure,
    ChannelVaporiser,
    ChannelGasTemp,
    NoDifference,
    OneDifference,
    Differences,   // %1: how many
    RecordRunning, // %1: mm:ss, %2: rows
    RecordDone,    // %1: rows, %2: the file's name
    FileNotSaved,
    RestorePointNotSaved,
    SaveDriveLog,
    OpenDriveLog,
    CannotWriteLog,
    LogStopped,
    CannotOpenLog,
    ExportBandsTitle,
    ExportCrossingsTitle,
    CannotWriteFile,
    BandTip,     // %1 crossings, %2 mean, %3 spread, %4 time
    BandThinTip, // %1: the fewest crossings a proposal takes
    Count
};

// Text number of the first caption in a language file.
inline constexpr int FirstText = 83;

inline constexpr int textNumber(Id id) {
    return FirstText + id;
}

QString english(Id id);
// The caption in the language loaded last.
QString text(Id id);

// Text n of the language file loaded last, or english when that file has
// none there (or leaves it empty), or none was loaded: the captions other
// floors number themselves (the report's, the job panel's).
QString numbered(int n, const QString &english);

// Takes texts FirstText.. of a language file's texts 0..200.
void setTexts(const QStringList &languageTexts);

// Says when a language file changed the captions, for the windows that
// caption their controls by their state.
class Notifier : public QObject {
    Q_OBJECT
  Q_SIGNALS:
    void changed();
};
Notifier &notifier();

} // namespace captions

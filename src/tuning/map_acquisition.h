#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

class MemoryImage;

// Road tuning: while the fitter drives, every lambda crossing seen in a
// steady state records the petrol injection time in the band of the current
// "Dep" value, in the petrol column while the engine runs on petrol and in
// the gas column while it runs on gas. The two columns drawn as curves show
// where the gas correction table is wrong. The analysis writes nothing into
// the ECU memory image.
//
// One step runs at the start of the handling of every received frame, so it
// sees the values the previous response left on the screens. The screens'
// texts stay the store of what they show: a step takes those texts and
// returns the texts to write back.
class MapAcquisition {
  public:
    static constexpr int Bands = 20;
    static constexpr int BandWidth = 5; // band k covers "Dep" 5k to 5k + 5
    static constexpr int CrossingsKept = 100000;
    // Responses without a crossing before the status says "hors controle",
    // and responses with unchanged speed and time before "Cut OFF".
    static constexpr int QuietLimit = 10;
    static constexpr int SteadyLimit = 20;

    enum class Column { Petrol, Gas };

    // What a step reads from the screens.
    struct Inputs {
        QString txZoom;      // the map screen's petrol time, ms ("TI B")
        QString TxzoomG;     // the map screen's "Dep"
        QString TxRPM;       // the monitor's engine-speed caption
        QString param5;      // lambda threshold, V ("Valeur Rich/lean")
        QString param4;      // admitted relative change, % ("% Admit")
        QString param6;      // admitted absolute change, ms ("TI Admit")
        bool Check1 = false; // relative test on
        bool Check2 = false; // absolute test on
    };

    // A band value to write into TxTbmapBk or TxTbmapGk.
    struct Record {
        int band = 0; // 1..20
        Column column = Column::Petrol;
        int value = 0; // 0.01 ms
    };

    // What a step gives back to the screens.
    struct Step {
        bool ran = false;      // false while the acquisition is off
        bool complete = false; // false: a text was not a number, only the copies were made
        QString param1, param2, param3;
        bool crossing = false;          // param3 turns light green
        QString logLine;                // appended to the crossing log, CR LF included
        std::optional<Record> recorded; // accepted crossing in band 1..20: write, then redraw
        bool redraw = false;            // an accepted crossing: redraw both curves
        QString status;                 // Statu
    };

    // One logged crossing, kept for the export.
    struct Crossing {
        int number = 0;
        QString dep;
        int band = 0;
        int ti = 0; // 0.01 ms, as compared
        std::optional<int> percent;
        std::optional<int> change;
        bool accepted = false;
        std::optional<Record> recorded;
    };

    Step step(const Inputs &in, const MemoryImage &image);

    // The acquisition window's tests as it opens: lambda threshold 0.5 V,
    // at most 8 % and 0.40 ms of change between crossings, both tests on.
    static constexpr const char *DefaultThreshold = "0.5";
    static constexpr const char *DefaultAdmitPercent = "8";
    static constexpr const char *DefaultAdmitMs = "0.40";
    // The inputs as the screens would show the image's live values, with
    // the default tests: for an acquisition without screens.
    static Inputs inputsFrom(const MemoryImage &image);

    // True between "Start Aquisition" and "Stop Aquisition".
    bool MapAcquisitionOn = false;

    // State that survives a stop and a new start; only a program start
    // clears it.
    int LambdaLean = 0; // 1 while the last lambda was below the threshold
    qint16 CrossingCount = 0;
    qint16 SteadyCount = 0;
    qint16 NoCrossingCount = 0;
    qint16 CutOffFlag = 0;
    qint16 LastTi = 0;
    qint16 LastRpm = 0;
    QString MapStatus;
    qint32 TiChangePercent = 0;
    qint16 TiChange = 0;

    const QList<Crossing> &crossings() const { return m_crossings; }

    // The pieces of a step, for the screens and the tests.

    // The whole text as a number (blanks around it allowed, "." or "," as
    // the decimal separator); nothing for an empty or partly numeric text.
    static std::optional<double> strictNumber(const QString &text);
    // The lambda value as the monitor computes it, formatted: the word / 200.
    static QString lambdaText(const MemoryImage &image);
    // floor(dep / 5) as a 16-bit integer.
    static int bandOf(double dep);
    // The bank-1 petrol time from the image in 0.01 ms, multiplier 255:
    // floor((255 * high + low) / 3.9).
    static int bandValue(const MemoryImage &image);
    // Relative (%) and absolute (0.01 ms) change from prev to ti, each the
    // nearest integer, halves to even; both 0 when prev is 0 and ti is not
    // smaller. Nothing when ti is 0 and prev is not: no relative change.
    struct Change {
        int percent = 0;
        int absolute = 0;
    };
    static std::optional<Change> changeOf(double ti, int prev);

  private:
    bool detectCrossing(double threshold, double lambda);
    QString logCrossing(const Inputs &in, double dep, double ti, const MemoryImage &image,
                        Step &out);
    void followCutOff(double ti, double rpm);

    QList<Crossing> m_crossings;
};

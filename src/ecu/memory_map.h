#pragma once

#include <array>
#include <span>

class MemoryImage;

// The ECU's configuration memory described as data: one row per setting
// (where it lies, how its bytes are coded, how the fitter reads, types and
// steps it), the tables and blocks around them, and the named addresses the
// rest of the tool reads and writes. No other folder spells a configuration
// address: it names it here.
namespace ecu {

// The configuration area: saved in memory files, compared setting by
// setting. Its last byte is never on the wire (frames carry three hex
// digits) and holds the firmware byte's copy in a memory file.
inline constexpr int ConfigStart = 0x800;
inline constexpr int WireEnd = 0xFFF;
inline constexpr int FirmwareCopy = 0x1000;
inline constexpr int ConfigEnd = FirmwareCopy;

// How a setting's bytes hold its value. Values of two bytes are stored high
// byte first; a flag+magnitude pair has its sign byte first.
enum class Coding {
    Byte,          // one unsigned byte
    Signed,        // one byte, two's complement
    FlagMagnitude, // a sign byte (not 0 = negative), then a magnitude byte
    Word,          // two bytes, high first
    EngineSpeed,   // a word, kept halved when the injection type is sequential
    ListIndex,     // one byte: the entry of a choice list
};

constexpr int width(Coding coding) {
    switch (coding) {
    case Coding::FlagMagnitude:
    case Coding::Word:
    case Coding::EngineSpeed:
        return 2;
    default:
        return 1;
    }
}

// The characters a field's key filter lets through.
enum class Keys {
    None,          // no filter
    Whole,         // digits
    Decimal,       // digits and the point
    SignedWhole,   // digits and the minus
    SignedDecimal, // digits, the point and the minus
};

// Where the fitter edits the setting.
enum class Page { MainParameters, Monitor, LevelSensor, Battery, Lambda, MemoryFile };

struct Field {
    const char *control; // the page's field, "TemperatureText" ("" if none)
    const char *caption; // how the fitter knows the setting
    int address;         // first byte
    Coding coding;
    // Shown value = stored value * num / den (the product first, so a
    // trim of 29 hundredths is 29 / 100.0, not 29 * 0.01).
    int num = 1;
    int den = 1;
    const char *unit = ""; // UTF-8, "" for none
    std::span<const char *const> list = {};
    // The shown values the page's validation holds the field to, and the
    // step of its minus and plus buttons.
    double min = 0;
    double max = 255;
    double step = 1;
    Keys keys = Keys::None;
    Page page = Page::MainParameters;
    // A decimal comma in the field's text becomes a point.
    bool pointText = false;
};

constexpr int width(const Field &field) {
    return width(field.coding);
}
constexpr int lastAddress(const Field &field) {
    return field.address + width(field) - 1;
}

// The entries of the choice lists, as the page shows them.
inline constexpr std::array<const char *, 3> SwitchWayTexts = {
    " Directe               ", " Acceleration          ", " Deceleration          "};
inline constexpr std::array<const char *, 3> InjectionTypeTexts = {
    "Sequentielle      ", "Full groupe       ", "Semi Sequentielle "};
inline constexpr std::array<const char *, 4> LambdaTypeTexts = {"   0 - 1V    ", " 0.8 - 1.6 V ",
                                                                "   0 - 5 V   ", "   5 - 0 V   "};
inline constexpr std::array<const char *, 3> BatteryModeTexts = {"OFF", "ADD ( x2 )", "% TI"};

// Index 0 of the injection types: sequential injection, whose engine
// speeds the ECU keeps halved.
inline constexpr int Sequential = 0;

namespace field {

// A setting of one byte shown as the byte itself.
constexpr Field byteField(const char *control, const char *caption, int address, Page page,
                          double max = 255) {
    return {.control = control,
            .caption = caption,
            .address = address,
            .coding = Coding::Byte,
            .max = max,
            .page = page};
}
// A monitor trim: one byte counts for perByte hundredths of the injection
// time, and the buttons step by one byte.
constexpr Field trimField(const char *control, const char *caption, int address, int perByte) {
    return {.control = control,
            .caption = caption,
            .address = address,
            .coding = Coding::Byte,
            .num = perByte,
            .den = 100,
            .max = 255 * perByte / 100.0,
            .step = perByte / 100.0,
            .page = Page::Monitor};
}
// A lambda setting of two bytes, high first.
constexpr Field lambdaWord(const char *control, const char *caption, int address, double max) {
    return {.control = control,
            .caption = caption,
            .address = address,
            .coding = Coding::Word,
            .max = max,
            .page = Page::Lambda};
}

// A choice list's entry, one byte.
constexpr Field listField(const char *control, const char *caption, int address,
                          std::span<const char *const> list) {
    return {.control = control,
            .caption = caption,
            .address = address,
            .coding = Coding::ListIndex,
            .list = list,
            .max = static_cast<double>(list.size() - 1)};
}

// Main parameters page.
inline constexpr Field SwitchTemperature{.control = "TemperatureText",
                                         .caption = "Switch-over temperature",
                                         .address = 0x803,
                                         .coding = Coding::Byte,
                                         .unit = "°C",
                                         .max = 100,
                                         .keys = Keys::Whole};
inline constexpr Field SwitchPressure{.control = "PressionText",
                                      .caption = "Switch-over pressure",
                                      .address = 0x804,
                                      .coding = Coding::FlagMagnitude,
                                      .den = 100,
                                      .unit = "bar",
                                      .min = -1,
                                      .max = 2.5,
                                      .step = 0.01,
                                      .keys = Keys::SignedDecimal,
                                      .pointText = true};
inline constexpr Field PressureDelay{.control = "CoPressionText",
                                     .caption = "Pressure alarm delay",
                                     .address = 0x806,
                                     .coding = Coding::Byte,
                                     .max = 120,
                                     .keys = Keys::Whole};
inline constexpr Field SwitchDelay{.control = "DelayComText",
                                   .caption = "Delay before switch-over",
                                   .address = 0x807,
                                   .coding = Coding::Byte,
                                   .max = 120,
                                   .keys = Keys::Whole};
inline constexpr Field Overlapping{.control = "DelaySupText",
                                   .caption = "Fuel overlapping",
                                   .address = 0x808,
                                   .coding = Coding::Byte,
                                   .num = 5,
                                   .unit = "ms",
                                   .max = 1000,
                                   .step = 5,
                                   .keys = Keys::Whole};
inline constexpr Field AlarmTemperature{.control = "ALTemperatureText",
                                        .caption = "Temperature alarm",
                                        .address = 0x809,
                                        .coding = Coding::Signed,
                                        .unit = "°C",
                                        .min = -20,
                                        .max = 100,
                                        .keys = Keys::SignedWhole};
inline constexpr Field AlarmPressure{.control = "ALPressionText",
                                     .caption = "Pressure alarm",
                                     .address = 0x80A,
                                     .coding = Coding::FlagMagnitude,
                                     .den = 100,
                                     .unit = "bar",
                                     .max = 2.5,
                                     .step = 0.01,
                                     .keys = Keys::Decimal,
                                     .pointText = true};
inline constexpr Field LambdaType = listField("ComboLambda", "Lambda type", 0x80C, LambdaTypeTexts);
inline constexpr Field InjectionType =
    listField("ComboInjection", "Injection type", 0x80D, InjectionTypeTexts);
inline constexpr Field SwitchWay =
    listField("ComboCommutation", "Way of switch-over", 0xA41, SwitchWayTexts);
inline constexpr Field SwitchSpeed{.control = "RPMText",
                                   .caption = "Switch-over engine speed",
                                   .address = 0xA42,
                                   .coding = Coding::EngineSpeed,
                                   .unit = "rpm",
                                   .max = 6000,
                                   .step = 50,
                                   .keys = Keys::Whole};
inline constexpr Field EmptyTank{.control = "TxTank",
                                 .caption = "Empty-tank delay",
                                 .address = 0xA45,
                                 .coding = Coding::Byte,
                                 .keys = Keys::Decimal};
inline constexpr Field CutOff{.control = "TxCutOff",
                              .caption = "Deceleration cut-off delay",
                              .address = 0xA46,
                              .coding = Coding::Byte,
                              .keys = Keys::Decimal};

// Monitor trims, and the extra injection time as the byte itself.
inline constexpr Field LoadTrim = trimField("TxCharge", "Load trim, bank 1", 0x801, 1);
inline constexpr Field IdleTrim = trimField("TxRalenti", "Idle trim, bank 1", 0x802, 2);
inline constexpr Field LoadTrimB = trimField("TxChargeB", "Load trim, bank 2", 0x839, 1);
inline constexpr Field IdleTrimB = trimField("TxRalentiB", "Idle trim, bank 2", 0x83A, 2);
inline constexpr Field ExtraTime =
    byteField("TxTIExclu", "Extra injection time", 0xA44, Page::Monitor);

// Level sensor page: the range, then the lamp thresholds in percent.
inline constexpr Field LevelRange =
    byteField("TxNiveauPWM", "Level sensor range correction", 0xA3A, Page::LevelSensor);
inline constexpr Field LevelMinimum =
    byteField("TxNiveauMin", "Level sensor minimum value", 0xA3B, Page::LevelSensor);
inline constexpr Field LevelMaximum =
    byteField("TxNiveauMax", "Level sensor maximum value", 0xA3C, Page::LevelSensor);
inline constexpr Field LevelThreshold1 =
    byteField("TxNiveau1", "Level threshold 1/4", 0xA3D, Page::LevelSensor, 100);
inline constexpr Field LevelThreshold2 =
    byteField("TxNiveau2", "Level threshold 1/2", 0xA3E, Page::LevelSensor, 100);
inline constexpr Field LevelThreshold3 =
    byteField("TxNiveau3", "Level threshold 3/4", 0xA3F, Page::LevelSensor, 100);
inline constexpr Field LevelThreshold4 =
    byteField("TxNiveau4", "Level threshold full", 0xA40, Page::LevelSensor, 100);

// Battery page: the correction mode and the blocking value after the table.
inline constexpr Field BatteryMode{.control = "TxVbatType",
                                   .caption = "Battery correction mode",
                                   .address = 0x83B,
                                   .coding = Coding::ListIndex,
                                   .list = BatteryModeTexts,
                                   .max = BatteryModeTexts.size() - 1,
                                   .keys = Keys::SignedDecimal,
                                   .page = Page::Battery};
inline constexpr Field BlockFlag = byteField("TxBloque", "Blocking value", 0x87F, Page::Battery);

// Lambda page: the closed-loop mixture correction. The four corrections
// are read as signed bytes when the page's negative-delta box is ticked.
inline constexpr Field LambdaRichVolts =
    lambdaWord("TxVVlambdaRich", "Voltage lambda pour Activation (RICH)", 0x882, 1023);
inline constexpr Field LambdaLeanVolts =
    lambdaWord("TxVVlambdaPauvre", "Voltage lambda pour Activation (PAUVRE)", 0x884, 1023);
inline constexpr Field LambdaRichDelay =
    byteField("TxDelayRich", "Delay avant declanchement (RICH)", 0x886, Page::Lambda);
inline constexpr Field LambdaLeanDelay =
    byteField("TxDelayPauvre", "Delay avant declanchement (PAUVRE)", 0x887, Page::Lambda);
inline constexpr Field LambdaRepeatDelay =
    byteField("TxDelayRepet", "Delay repetebilitée de detection", 0x888, Page::Lambda);
inline constexpr Field LambdaSpeed =
    lambdaWord("TxRpmAct", "RPM sous lequel s'active le system", 0x889, 32767);
inline constexpr Field LambdaIdleLean =
    byteField("TxRaCoPauvre", "Correction ralenti (PAUVRE)", 0x88B, Page::Lambda);
inline constexpr Field LambdaIdleRich =
    byteField("TxRaCoRich", "Correction ralenti (RICH)", 0x88C, Page::Lambda);
inline constexpr Field LambdaLoadLean =
    byteField("TxChCoPauvre", "Correction charge (PAUVRE)", 0x88D, Page::Lambda);
inline constexpr Field LambdaLoadRich =
    byteField("TxChCoRich", "Correction charge (RICH)", 0x88E, Page::Lambda);
inline constexpr Field LambdaMemorise =
    byteField("TxMemorise", "Memorise la correction", 0x88F, Page::Lambda);

// A memory file keeps the firmware byte of the ECU it was made from after
// the configuration.
inline constexpr Field Firmware = byteField("", "Firmware", FirmwareCopy, Page::MemoryFile);

} // namespace field

// Every setting, in the order: main parameters (in the order the upload
// stores them: the engine speed's coding reads the injection type stored
// before it), monitor trims, level sensor, battery mode and blocking value,
// lambda settings, firmware copy.
inline constexpr std::array<const Field *, 13> MainParameters = {
    &field::SwitchTemperature, &field::PressureDelay,  &field::SwitchDelay,
    &field::Overlapping,       &field::SwitchWay,      &field::InjectionType,
    &field::LambdaType,        &field::CutOff,         &field::EmptyTank,
    &field::AlarmTemperature,  &field::SwitchPressure, &field::AlarmPressure,
    &field::SwitchSpeed};
// In the order the monitor's validation checks them.
inline constexpr std::array<const Field *, 5> Trims = {
    &field::IdleTrim, &field::LoadTrim, &field::IdleTrimB, &field::LoadTrimB, &field::ExtraTime};
inline constexpr std::array<const Field *, 7> LevelSettings = {
    &field::LevelRange,      &field::LevelMinimum,    &field::LevelMaximum,
    &field::LevelThreshold1, &field::LevelThreshold2, &field::LevelThreshold3,
    &field::LevelThreshold4};
inline constexpr std::array<const Field *, 11> LambdaSettings = {
    &field::LambdaRichVolts, &field::LambdaLeanVolts,   &field::LambdaRichDelay,
    &field::LambdaLeanDelay, &field::LambdaRepeatDelay, &field::LambdaSpeed,
    &field::LambdaIdleLean,  &field::LambdaIdleRich,    &field::LambdaLoadLean,
    &field::LambdaLoadRich,  &field::LambdaMemorise};

// All of the above in one list.
std::span<const Field *const> settings();

// A run of bytes the tool reads or writes as a whole: a table of one-byte
// entries (entry i at address + i) or a block.
struct Range {
    int address;
    int length;
    constexpr int last() const { return address + length - 1; }
    constexpr bool contains(int a) const { return a >= address && a <= last(); }
};

// Correction tables in percent of the injection time: entry 1 of each
// table is its first byte.
inline constexpr Range PressureCoefficients{0x810, 20};
inline constexpr Range GasTemperatureCoefficients{0x824, 20};
// Temperature-sensor conversion tables: one signed byte per raw reading.
// The coolant table runs over the bank-2 trims and the battery settings.
inline constexpr Range CoolantNtc{0x839, 256};
inline constexpr Range GasNtc{0x939, 256};
// Battery-voltage corrections, indexed by the live battery reading.
inline constexpr Range BatteryCorrections{0x83C, 67};
inline constexpr Range LambdaBlock{0x882, 14};
inline constexpr Range LevelBlock{0xA3A, 7};
// The switch-over block written after the main parameters: way of switch-
// over, engine speed, extra time, empty tank, cut-off.
inline constexpr Range SwitchBlock{0xA41, 6};

// The emission test schedule, 50 steps: the times as words, then the idle
// values (stored halved), the load values and the states.
inline constexpr int ScheduleSteps = 50;
inline constexpr Range ScheduleTimes{0xA47, 2 * ScheduleSteps};
inline constexpr Range ScheduleIdle{ScheduleTimes.address + ScheduleTimes.length, ScheduleSteps};
inline constexpr Range ScheduleLoad{ScheduleIdle.address + ScheduleSteps, ScheduleSteps};
inline constexpr Range ScheduleStates{ScheduleLoad.address + ScheduleSteps, ScheduleSteps};
inline constexpr Range Schedule{ScheduleTimes.address,
                                ScheduleStates.last() - ScheduleTimes.address + 1};

// The last emission test's results: twelve sign flag + magnitude values
// and a cycle count. Values 7..12 come first, signs then magnitudes; then
// values 1..6 the same way; the cycle count last.
inline constexpr Range FinalTest{0xB41, 25};
inline constexpr int FinalTestLaterSigns = FinalTest.address;      // values 7..12
inline constexpr int FinalTestFirstSigns = FinalTest.address + 12; // values 1..6
inline constexpr int FinalTestMagnitudeOffset = 6;                 // sign to magnitude
inline constexpr int FinalTestCycles = FinalTest.last();

// Copies the firmware byte of the live block to the firmware copy, as a
// memory file carries it.
void stampFirmware(MemoryImage &image);
// True when the firmware copy (a loaded file's) is the ECU's firmware byte.
bool firmwareMatches(const MemoryImage &image);

} // namespace ecu

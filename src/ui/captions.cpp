#include "ui/captions.h"

#include <array>

namespace captions {

namespace {
constexpr std::array<const char *, Count> English = {
    "Pressure memory (bar)",
    "Lowest",
    "Highest",
    "Reset",
    "Record",
    "Stop",
    "Chart",
    "Live chart",
    "Pause",
    "Resume",
    "Open log...",
    "Live",
    "Fit",
    "Time (s)",
    "Live: last 60 s",
    "Compare configurations",
    "File...",
    "Compare",
    "Setting",
    "Address",
    "ECU (the configuration in the tool)",
    "BAND 1",
    "BAND 2",
    "Export bands CSV",
    "Export log CSV",
    "Clear bands",
    "Relative test",
    "Absolute test",
    "Current",
    "Proposed",
    "Diff.",
    "Apply",
    "<< -- Depression",
    " File saved: ",
    "Edited: not yet written to the ECU",
    "Written: awaiting the ECU's acknowledgement",
    "Not acknowledged by the ECU: write it again",
    "Results",
    " Calibration done: see Results ",
    "Engine speed (rpm)",
    "Petrol injection 1 (ms)",
    "Gas injection 1 (ms)",
    "Lambda (V)",
    "Gas pressure (bar)",
    "Vaporiser temperature (\u00b0C)",
    "Gas temperature (\u00b0C)",
    "No difference",
    "1 difference",
    "%1 differences",
    "\u25cf REC %1  %2 rows",
    "%1 rows in %2",
    " File not saved: ",
    " Restore point not saved: nothing written: ",
    "Save drive log",
    "Open drive log",
    " Cannot write the drive log: ",
    " The drive log stopped: ",
    " Cannot open the drive log: ",
    "Export bands",
    "Export crossings",
    " Cannot write the file ",
    "%1 crossings; mean %2 ms; spread %3 ms; last %4",
    "Fewer than %1 crossings: not used for a proposal",
};

std::array<QString, Count> &loaded() {
    static std::array<QString, Count> texts;
    return texts;
}

QStringList &wholeFile() {
    static QStringList texts;
    return texts;
}
} // namespace

QString english(Id id) {
    return QString::fromLatin1(English.at(static_cast<std::size_t>(id)));
}

QString text(Id id) {
    const QString &t = loaded().at(static_cast<std::size_t>(id));
    return t.isEmpty() ? english(id) : t;
}

QString numbered(int n, const QString &english) {
    const QString t = wholeFile().value(n);
    return t.trimmed().isEmpty() ? english : t;
}

void setTexts(const QStringList &languageTexts) {
    wholeFile() = languageTexts;
    for (int i = 0; i < Count; ++i) {
        const QString t = languageTexts.value(FirstText + i);
        loaded().at(static_cast<std::size_t>(i)) = t.trimmed().isEmpty() ? QString() : t;
    }
    Q_EMIT notifier().changed();
}

Notifier &notifier() {
    static Notifier n;
    return n;
}

} // namespace captions

#pragma once

#include <QString>

#include <array>
#include <optional>

// A sensor file (".sen") keeps the level sensor page's seven settings as the
// texts of its fields, so a sensor calibration can be reused on another
// vehicle. One line, ended by CR LF:
//   FichierSensor:]PWM]Min]Max]1/4]1/2]3/4]Full]]]]Fin
// Three reserved fields follow the settings; this tool writes them empty
// and ignores what a file carries there.
namespace sensorfile {

inline constexpr int SettingCount = 7;
// Range correction, minimum, maximum, then the thresholds 1/4, 1/2, 3/4, full.
using Settings = std::array<QString, SettingCount>;

inline const QString Header = QStringLiteral("FichierSensor:");
inline const QString Trailer = QStringLiteral("Fin");
inline const QString DefaultName = QStringLiteral("Default.sen");

// The line for these settings, without its line end.
QString line(const Settings &settings);

// The settings of a line that begins with the header, as texts: the page's
// validation reads them with the number parser and corrects them. Settings
// missing from a line with fewer separators come back empty; nothing else
// is refused.
std::optional<Settings> parse(const QString &line);

// Reads a file's last record and parses it; nothing for an unreadable file.
std::optional<Settings> read(const QString &path);

// Writes the file in one piece (never half-written over an old one); only a
// regular file is replaced. False with *error set, naming the path, when
// nothing was written.
bool write(const QString &path, const Settings &settings, QString *error = nullptr);

} // namespace sensorfile

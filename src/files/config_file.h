#pragma once

#include <QString>
#include <QStringList>

// "prconfig.txt" in the start directory: the port number and the language
// file's path, kept between runs as one line
// FichierConfig:]port]language]]]]Fin
class ConfigFile {
  public:
    static constexpr int FieldCount = 11;

    enum class ReadResult { Missing, Read, BadHeader };

    explicit ConfigFile(QString directory);

    QString path() const;

    // Fills ConfigValues from the file. A missing file (or a folder in its
    // place) leaves the defaults; a wrong header takes nothing from the
    // file. Separators past the last field are ignored.
    ReadResult ReadConfigFile();
    // Writes fields 1..5 (any text: what would end a field is escaped and
    // reads back as it was). False with *error set, naming the path, when
    // the file could not be written or is not a regular file.
    bool WriteConfigFile(QString *error = nullptr);

    // Writes port into the file, keeping its other fields when it reads
    // well (a wrong header keeps nothing). False as WriteConfigFile.
    bool rememberPort(int port, QString *error = nullptr);

    // The port number as a byte: empty or non-numeric gives 0.
    int portNumber() const;
    QString languagePath() const { return ConfigValues[2]; }

    QStringList ConfigValues;

  private:
    QString m_directory;
};

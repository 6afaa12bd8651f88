#pragma once

#include <QString>

#include <array>

// Texts 1..15 the link and the file operations show; a language file may
// replace them. Index 0 holds nothing.
class MessageTable {
  public:
    static constexpr int Count = 16;

    MessageTable() { resetDefaults(); }
    void resetDefaults();

    // An index outside 1..15 gives an empty text.
    QString operator[](int index) const;
    void set(int index, const QString &text);

  private:
    std::array<QString, Count> m_texts;
};

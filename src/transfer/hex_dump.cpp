#include "transfer/hex_dump.h"

#include "ecu/memory_image.h"
#include "files/records.h"
#include "link/hex.h"
#include "settings/number_format.h"

namespace hexdump {

namespace {
const QString Crlf = QStringLiteral("\r\n");
constexpr qint64 Beyond = qint64(1) << 40; // any address past this is simply outside

int hexDigit(QChar c) {
    const int v = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
    return v;
}
} // namespace

std::optional<qint64> parseAddress(const QString &text) {
    const QString t = text.trimmed();
    if (t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        qint64 value = 0;
        int digits = 0;
        for (QChar c : QStringView(t).mid(2)) {
            const int d = hexDigit(c);
            if (d < 0)
                break;
            value = qMin(Beyond, value * 16 + d);
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        return value;
    }
    const double v = number::roundHalfEven(number::parse(t));
    if (!(v > -double(Beyond)) || !(v < double(Beyond)))
        return v < 0 ? -Beyond : Beyond;
    return qint64(v);
}

QChar shownCharacter(quint8 b) {
    if (b < 32)
        return QLatin1Char('.');
    const QChar c = records::windows1252(b);
    return c.category() == QChar::Other_Control ? QChar(NoGlyph) : c;
}

Dump build(const MemoryImage &image, qint64 start) {
    Dump d;
    const qint64 last = MemoryImage::Size - 1;
    if (start < 0 || start > last) {
        d.note = QStringLiteral("Address outside the ECU memory (0 to &H1000)");
        return d;
    }
    const int a = int(start);
    d.valid = true;
    d.Text2 = QString::number(image.at(a));
    d.Text3 = hex::WordToHex(a);
    d.Text4 = hex::WordToHex(image.at(a));
    for (int row = 0; row < Lines; ++row) {
        const int r = a + BytesPerLine * row;
        if (r > last) {
            d.clipped = true;
            break;
        }
        QString line = hex::WordToHex(r);
        QString characters;
        for (int k = 0; k < BytesPerLine; ++k) {
            if (r + k > last) {
                d.clipped = true;
                line += QStringLiteral("   ");
                continue;
            }
            const quint8 b = image.at(r + k);
            d.bytes.append(char(b));
            line += QLatin1Char(' ') + QString::fromLatin1(hex::byteHex(b));
            characters += shownCharacter(b);
        }
        d.Text5 += line + QStringLiteral("   ") + characters + Crlf;
        d.Text6 += hex::WordToHex(r) + Crlf;
    }
    if (d.clipped)
        d.note = QStringLiteral("Dump clipped at the end of the memory (&H1000)");
    return d;
}

} // namespace hexdump

#include "link/hex.h"

namespace hex {

QString WordToHex(int value) {
    QString out(4, QLatin1Char('0'));
    for (int i = 3; i >= 0; --i) {
        out[i] = QLatin1Char(HexDigits[value & 0xF]);
        value >>= 4;
    }
    return out;
}

QByteArray byteHex(int value) {
    QByteArray out(2, '0');
    out[0] = HexDigits[(value >> 4) & 0xF];
    out[1] = HexDigits[value & 0xF];
    return out;
}

bool isUpperHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool isUpperHex(QByteArrayView text) {
    for (char c : text) {
        if (!isUpperHexDigit(c))
            return false;
    }
    return true;
}

int value(QByteArrayView upperHex) {
    int v = 0;
    for (char c : upperHex)
        v = v * 16 + (c <= '9' ? c - '0' : c - 'A' + 10);
    return v;
}

int leadingValue(QStringView text) {
    int v = 0;
    for (QChar ch : text) {
        const char c = ch.toLatin1();
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (v > 0xFFFFF)
            break; // longer than any field a file holds: keep what fits
        v = v * 16 + d;
    }
    return v;
}

} // namespace hex

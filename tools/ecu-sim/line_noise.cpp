#include "ecu-sim/line_noise.h"

namespace ecusim {

namespace {
char otherThan(char c, QRandomGenerator &rng) {
    char out = c;
    while (out == c)
        out = char(rng.bounded(256));
    return out;
}
} // namespace

QByteArray garbleOneChar(const QByteArray &reply, QRandomGenerator &rng) {
    QByteArray out = reply;
    const int at = out.isEmpty() ? 0 : int(rng.bounded(int(out.size())));
    switch (out.isEmpty() ? 2 : rng.bounded(3)) {
    case 0:
        out[at] = otherThan(out.at(at), rng);
        break;
    case 1:
        out.remove(at, 1);
        break;
    default:
        out.insert(at, char(rng.bounded(256)));
        break;
    }
    return out;
}

int silentSpellMs(QRandomGenerator &rng) {
    return 300 + int(rng.bounded(1201));
}

} // namespace ecusim

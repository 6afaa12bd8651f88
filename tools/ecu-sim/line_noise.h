#pragma once

#include <QByteArray>
#include <QRandomGenerator>

namespace ecusim {

// A noisy line's damage to one reply: one character flipped to another, one
// character dropped, or one stray character inserted, each equally likely.
// The result always differs from the reply.
QByteArray garbleOneChar(const QByteArray &reply, QRandomGenerator &rng);

// How long a silent spell lasts: 0.3 to 1.5 s without any reply.
int silentSpellMs(QRandomGenerator &rng);

// How long a reply held back to be joined with the next one waits at most.
inline constexpr int JoinWaitMs = 150;

} // namespace ecusim

// Any byte stream through the receive chain (frame cutter, data-frame
// decoder, sequencer, whole-memory read and upload), delivered in chunks the
// input chooses, with timer ticks and unplugging mixed in. After every
// receive event the image must equal a shadow that only well-formed,
// checksummed data frames inside 0x000..0xFFF have changed (the echo of the
// PC's own write frame during a chain of writes is no answer), as judged
// here independently of the link's own decoder.
#include "link/link.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

// The port the link talks to: delivers what the input says, swallows writes.
class FuzzPort : public SerialPort {
  public:
    using SerialPort::SerialPort;
    OpenResult open(int) override {
        m_open = true;
        return OpenResult::Opened;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    WriteResult write(const QByteArray &text) override {
        lastWritten = text;
        while (lastWritten.endsWith('\r'))
            lastWritten.chop(1);
        return WriteResult::Written;
    }
    QByteArray readAll() override { return std::exchange(m_rx, {}); }
    void deliver(const QByteArray &text) {
        m_rx += text;
        Q_EMIT readyRead();
    }
    void unplug() {
        m_open = false;
        Q_EMIT deviceGone();
    }

    QByteArray lastWritten; // without its CRs

  private:
    bool m_open = false;
    QByteArray m_rx;
};

struct DataFrame {
    int address = 0;
    QByteArray bytes;
};

int digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "@W" AAA LL data CC: upper-case hex throughout, exactly LL data bytes, the
// range inside 0x000..0xFFF and the checksum the sum of all characters
// before it modulo 256.
std::optional<DataFrame> wellFormed(const QByteArray &f) {
    if (f.size() < 9 || f[0] != '@' || f[1] != 'W')
        return std::nullopt;
    for (qsizetype i = 2; i < f.size(); ++i) {
        if (digit(f[i]) < 0)
            return std::nullopt;
    }
    const int address = digit(f[2]) * 256 + digit(f[3]) * 16 + digit(f[4]);
    const int count = digit(f[5]) * 16 + digit(f[6]);
    if (f.size() != 7 + 2 * count + 2 || address + count > 0x1000)
        return std::nullopt;
    unsigned sum = 0;
    for (qsizetype i = 0; i < f.size() - 2; ++i)
        sum += static_cast<unsigned char>(f[i]);
    if (static_cast<int>(sum & 0xFF) != digit(f[f.size() - 2]) * 16 + digit(f[f.size() - 1]))
        return std::nullopt;
    DataFrame out{address, {}};
    for (int j = 0; j < count; ++j)
        out.bytes += static_cast<char>(digit(f[7 + 2 * j]) * 16 + digit(f[8 + 2 * j]));
    return out;
}

// Stream bytes 0xF0..0xF6 are actions, every other byte is line text.
enum Action : uint8_t {
    Deliver = 0xF0,
    HoldTick = 0xF1,
    DownloadTick = 0xF2,
    UploadTick = 0xF3,
    Poll = 0xF4,
    Unplug = 0xF5,
    Reopen = 0xF6,
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    // One link for the whole run, back to its start-up state for each input.
    static FuzzPort port;
    static Link link(&port);
    link.ResetLinkState();
    port.lastWritten.clear();
    link.OpenPort();
    std::array<quint8, MemoryImage::Size> shadow{};
    // Seeds the image so that a wrong write shows even where it writes 0.
    for (int a = 0; a < MemoryImage::Size; ++a) {
        shadow[static_cast<std::size_t>(a)] = static_cast<quint8>(a * 7 + 3);
        link.image.set(a, shadow[static_cast<std::size_t>(a)]);
    }
    // The well-formed data frames cut since the last check: a byte of the
    // image may change only to the value one of them carries for it (whether
    // it lands at all depends on its answering a read of the link's).
    QList<DataFrame> arrived;
    const QMetaObject::Connection watch =
        QObject::connect(&link, &Link::frameArrived, [&](const QByteArray &frame) {
            if (const auto f = wellFormed('@' + frame))
                arrived.append(*f);
        });
    auto check = [&] {
        for (int a = 0; a < MemoryImage::Size; ++a) {
            const quint8 now = link.image.at(a);
            if (now == shadow[static_cast<std::size_t>(a)])
                continue;
            const bool carried = std::any_of(arrived.begin(), arrived.end(), [&](const auto &f) {
                return a >= f.address && a < f.address + f.bytes.size() &&
                       static_cast<quint8>(f.bytes[a - f.address]) == now;
            });
            if (!carried)
                abort(); // the image changed other than by a well-formed data frame
            shadow[static_cast<std::size_t>(a)] = now;
        }
        arrived.clear();
    };

    const uint8_t flags = data[0];
    if (flags & 1)
        link.poll.start();
    if (flags & 2)
        link.StartFullRead();
    if (flags & 4)
        link.StartUpload(2);
    if (flags & 8)
        link.StartSequence(flags & 16 ? ChainStep::SwitchOverDelay : ChainStep::Bank2Trims);
    QByteArray chunk;
    for (size_t i = 1; i < size; ++i) {
        switch (data[i]) {
        case Deliver:
            port.deliver(std::exchange(chunk, {}));
            break;
        case HoldTick:
            link.ControlTimer3_Timer();
            break;
        case DownloadTick:
            link.TimerDownload_Timer();
            break;
        case UploadTick:
            link.UPLoadTimer_Timer();
            break;
        case Poll:
            link.poll.start();
            link.SendLine(link.poll.frame());
            break;
        case Unplug:
            port.unplug();
            break;
        case Reopen:
            link.OpenPort();
            break;
        default:
            chunk += static_cast<char>(data[i]);
            continue;
        }
        check();
    }
    port.deliver(chunk);
    // Frames left in the buffer are cut one per receive event.
    for (int i = 0; i < 64 && !link.state.RxBuffer.isEmpty(); ++i)
        link.Traitement(QByteArray());
    check();
    if (link.image.at(0x1000) != shadow[0x1000])
        abort();
    QObject::disconnect(watch);
    return 0;
}

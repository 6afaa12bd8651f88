#pragma once

#include <functional>

class Link;
class QObject;

namespace acknowledgement {

// What was just handed to the link: one block's write, or a whole upload.
enum class Write { Block, Upload };

// Runs done once, when the ECU acknowledged what was just handed to the
// link: the block's write, or the upload's last block. A write left
// unacknowledged after its re-sends, an upload stopped, timed out or
// replaced by another one, or context destroyed first: done never runs.
void whenAcknowledged(Link &link, Write write, QObject *context, std::function<void()> done);

} // namespace acknowledgement

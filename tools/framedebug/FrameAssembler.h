#pragma once
// Turns the link's frame-monitor records back into frames and formats them as timestamped lines.
#include "platform/RemoteEndpoint.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace framedebug {

struct Frame {
    bool request = true;
    int command = -1;     // as reported for requests, read from the bytes for responses
    int declaredSize = 0; // the size record that preceded the bytes
    std::vector<std::uint8_t> bytes;
    QDateTime time;
};

class FrameAssembler {
public:
    // Returns a frame when the record completed one (its end mark arrived).
    std::optional<Frame> Feed(const vmc::RemoteMessage& m, const QDateTime& now);

private:
    Frame m_request;
    Frame m_response;
};

// "12:00:01.250  REQ  cmd   3  14 bytes  FF FF ..." (commands of responses read from the frame).
QString FormatFrame(const Frame& f);
// Command byte of a HART frame (request or response), -1 when the frame is too short.
int CommandOf(const std::vector<std::uint8_t>& bytes);

} // namespace framedebug

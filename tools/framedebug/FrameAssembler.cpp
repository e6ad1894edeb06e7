#include "FrameAssembler.h"

#include "hart/Codecs.h"
#include "platform/Messages.h"

namespace framedebug {

std::optional<Frame> FrameAssembler::Feed(const vmc::RemoteMessage& m, const QDateTime& now) {
    switch (m.msg) {
    case vmc::WM_FRAMEDEBUG_REQ_COMMAND:
        m_request = Frame{};
        m_request.request = true;
        m_request.command = static_cast<int>(m.lParam);
        break;
    case vmc::WM_FRAMEDEBUG_REQ_SIZE:
        m_request.declaredSize = static_cast<int>(m.lParam);
        m_request.bytes.clear();
        break;
    case vmc::WM_FRAMEDEBUG_RSP_SIZE:
        m_response = Frame{};
        m_response.request = false;
        m_response.declaredSize = static_cast<int>(m.lParam);
        break;
    case vmc::WM_FRAMEDEBUG_REQ_BYTE:
    case vmc::WM_FRAMEDEBUG_RSP_BYTE: {
        Frame& f = m.msg == vmc::WM_FRAMEDEBUG_REQ_BYTE ? m_request : m_response;
        if (m.lParam == vmc::kFrameDebugEndMark) {
            f.time = now;
            if (!f.request)
                f.command = CommandOf(f.bytes);
            Frame done = f;
            f = Frame{};
            f.request = done.request;
            return done;
        }
        if (f.bytes.size() < 1024)
            f.bytes.push_back(static_cast<std::uint8_t>(m.lParam));
        break;
    }
    default:
        break;
    }
    return std::nullopt;
}

int CommandOf(const std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] != 0xFF)
        ++i;
    while (i < bytes.size() && bytes[i] == 0xFF)
        ++i;
    if (i >= bytes.size())
        return -1;
    const std::uint8_t d = bytes[i];
    const std::size_t at = i + ((d & 0x80) ? 6 : 2);
    return at < bytes.size() ? bytes[at] : -1;
}

QString FormatFrame(const Frame& f) {
    return QStringLiteral("%1  %2  cmd %3  %4 bytes  %5")
        .arg(f.time.toString(QStringLiteral("HH:mm:ss.zzz")), f.request ? QStringLiteral("REQ") : QStringLiteral("RSP"))
        .arg(f.command, 3)
        .arg(static_cast<int>(f.bytes.size()), 3)
        .arg(hart::HexText(f.bytes.data(), static_cast<int>(f.bytes.size())).trimmed());
}

} // namespace framedebug

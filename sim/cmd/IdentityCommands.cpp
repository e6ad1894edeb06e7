// The maker's identity command: a production station gives each transmitter its device
// identification number (command 170) before it gets its polling address (command 6, universal).
#include "hart/Codecs.h"
#include "sim/SimCommands.h"

namespace sim {

void RegisterIdentityCommands(CommandTable& t) {
    // 170: manufacturer code, device type, device id (3 bytes), manufacturer code again.
    t.Add(170, [](SimDevice& d, const Request& r) {
        if (!HasBytes(r, 6))
            return Refuse(5);
        if (WriteProtected(d))
            return Refuse(7);
        if (r.data[0] != d.manufacturer || r.data[5] != d.manufacturer || r.data[1] != d.deviceType)
            return Refuse(15); // the identity codes cannot be changed, only the number
        d.deviceId = hart::GetU24(&r.data[2]);
        d.MarkChanged();
        Bytes b;
        hart::AppendU8(b, d.manufacturer);
        hart::AppendU8(b, d.deviceType);
        hart::AppendU24(b, d.deviceId);
        hart::AppendU8(b, d.manufacturer);
        return Ok(b);
    });
}

} // namespace sim

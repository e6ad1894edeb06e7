#pragma once
// Command handlers of the simulated devices, grouped by feature. Each group registers its
// commands in the table; a device answers a command when it has a handler that its family knows.
#include "sim/SimDevice.h"

#include <functional>
#include <optional>
#include <map>

namespace sim {

using Handler = std::function<Reply(SimDevice&, const Request&)>;

class CommandTable {
public:
    // korvexOnly: the maker's device-specific commands, unknown to foreign devices.
    void Add(int command, Handler handler, bool korvexOnly = true);
    const Handler* Find(int command, const SimDevice& device) const;
    bool Has(int command) const { return m_handlers.count(command) != 0; }

private:
    struct Entry {
        Handler handler;
        bool korvexOnly;
    };
    std::map<int, Entry> m_handlers;
};

// Every group, registered once.
const CommandTable& Commands();

// Groups.
void RegisterUniversalCommands(CommandTable& t);
void RegisterCommonPracticeCommands(CommandTable& t);
void RegisterIdentityCommands(CommandTable& t);

// Helpers for handlers.
inline Reply Ok(Bytes data = {}) { return Reply{0, std::move(data), false}; }
inline Reply Refuse(std::uint8_t code) { return Reply{code, {}, false}; }
// Response code 5 (too few data bytes) unless the request carries at least n bytes.
bool HasBytes(const Request& r, std::size_t n);
// Response code 7 when the device is write protected.
bool WriteProtected(const SimDevice& d);

} // namespace sim

#pragma once
// Command handlers of the simulated devices, grouped by feature. Each group registers its
// commands in the table; a device answers a command when it has a handler that its family knows.
#include "sim/SimDevice.h"

#include <functional>
#include <optional>
#include <map>

namespace sim {

using Handler = std::function<Reply(SimDevice&, const Request&)>;
// Whether a handler serves this request (the device's model, a mode byte of the request).
using Accepts = std::function<bool(const SimDevice&, const Request&)>;

class CommandTable {
public:
    // korvexOnly: the maker's device-specific commands, unknown to foreign devices.
    void Add(int command, Handler handler, bool korvexOnly = true);
    // A handler for the requests it accepts only. Several groups may share a command number this
    // way (one mode byte each, one model each); they are asked in the order they were added, and
    // the handler given to Add answers whatever none of them accepts.
    void AddFor(int command, Accepts accepts, Handler handler, bool korvexOnly = true);
    const Handler* Find(int command, const SimDevice& device, const Request& request) const;
    // The handler given to Add.
    const Handler* Find(int command, const SimDevice& device) const;
    bool Has(int command) const { return m_handlers.count(command) != 0 || m_special.count(command) != 0; }

private:
    struct Entry {
        Handler handler;
        bool korvexOnly;
    };
    struct Special {
        Accepts accepts;
        Entry entry;
    };
    std::map<int, Entry> m_handlers;
    std::multimap<int, Special> m_special;
};

// Every group, registered once.
const CommandTable& Commands();

// Groups.
void RegisterUniversalCommands(CommandTable& t);
void RegisterCommonPracticeCommands(CommandTable& t);
void RegisterIdentityCommands(CommandTable& t);
void RegisterUserMenuCommands(CommandTable& t);
void RegisterTransmitterCommands(CommandTable& t);
void RegisterTrimCommands(CommandTable& t);

// Helpers for handlers.
inline Reply Ok(Bytes data = {}) { return Reply{0, std::move(data), false}; }
inline Reply Refuse(std::uint8_t code) { return Reply{code, {}, false}; }
// Response code 5 (too few data bytes) unless the request carries at least n bytes.
bool HasBytes(const Request& r, std::size_t n);
// Response code 7 when the device is write protected.
bool WriteProtected(const SimDevice& d);

} // namespace sim

#include "sim/SimCommands.h"

#include <stdexcept>
#include <string>

namespace sim {

void CommandTable::Add(int command, Handler handler, bool korvexOnly) {
    // Two groups answering one command would silently hide one of them.
    if (!m_handlers.emplace(command, Entry{std::move(handler), korvexOnly}).second)
        throw std::logic_error("simulated command " + std::to_string(command) + " registered twice");
}

void CommandTable::AddFor(int command, Accepts accepts, Handler handler, bool korvexOnly) {
    m_special.emplace(command, Special{std::move(accepts), Entry{std::move(handler), korvexOnly}});
}

const Handler* CommandTable::Find(int command, const SimDevice& device, const Request& request) const {
    const auto [from, to] = m_special.equal_range(command);
    for (auto it = from; it != to; ++it) {
        const Special& s = it->second;
        if ((!s.entry.korvexOnly || device.IsKorvex()) && s.accepts(device, request))
            return &s.entry.handler;
    }
    return Find(command, device);
}

const Handler* CommandTable::Find(int command, const SimDevice& device) const {
    auto it = m_handlers.find(command);
    if (it == m_handlers.end())
        return nullptr;
    if (it->second.korvexOnly && !device.IsKorvex())
        return nullptr;
    return &it->second.handler;
}

const CommandTable& Commands() {
    static const CommandTable table = [] {
        CommandTable t;
        RegisterUniversalCommands(t);
        RegisterCommonPracticeCommands(t);
        RegisterIdentityCommands(t);
        RegisterUserMenuCommands(t);
        RegisterTransmitterCommands(t);
        RegisterTrimCommands(t);
        return t;
    }();
    return table;
}

bool HasBytes(const Request& r, std::size_t n) { return r.data.size() >= n; }

bool WriteProtected(const SimDevice& d) { return d.writeProtect == 1 || d.writeProtect == 241; }

} // namespace sim

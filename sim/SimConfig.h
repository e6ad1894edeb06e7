#pragma once
// Describing a simulated loop in words: one device per line of keys
// ("model=KT410,address=2,id=0x000123,tag=TT-101,busy=2") or per section of a small INI file.
#include "sim/SimLoop.h"

#include <QString>
#include <QStringList>

namespace sim {

// Adds one device; false with *error set when the text is malformed.
bool AddDeviceFromText(SimLoop& loop, const QString& text, QString* error);
// Reads [device...] sections (keys as in a device text) and an optional [line] section
// (baud, turnaround); false with *error set on the first problem.
bool LoadLoopFile(SimLoop& loop, const QString& path, QString* error);
// Several Korvex transmitters and one foreign device, as a new user sees them.
void AddDefaultLoop(SimLoop& loop);
// The keys a device text understands, for --help texts.
QString DeviceTextHelp();

} // namespace sim

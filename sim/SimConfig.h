#pragma once
// Describing a simulated loop in words: one device per spec string
// ("model=KT410,address=2,id=0x000123,tag=TT-101,busy=2") or per section of a small INI file.
#include "sim/SimLoop.h"

#include <QString>
#include <QStringList>

namespace sim {

// Adds one device; false with *error set when the spec is malformed.
bool AddDeviceFromSpec(SimLoop& loop, const QString& spec, QString* error);
// Reads [device...] sections (keys as in a spec) and an optional [line] section
// (baud, turnaround); false with *error set on the first problem.
bool LoadLoopFile(SimLoop& loop, const QString& path, QString* error);
// Several Korvex transmitters and one foreign device, as a new user sees them.
void AddDefaultLoop(SimLoop& loop);
// The keys a spec understands, for --help texts.
QString SpecHelp();

} // namespace sim

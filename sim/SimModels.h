#pragma once
// The devices the simulated loop can hold: the Korvex family and one foreign HART transmitter.
#include "sim/SimDevice.h"

#include <QString>
#include <QStringList>

namespace sim {

// Sets identity, units, ranges and process behaviour for a model; false for an unknown name.
bool ApplyModel(SimDevice& d, const QString& model);
QStringList ModelNames();

} // namespace sim

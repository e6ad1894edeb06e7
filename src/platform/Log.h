#pragma once
// Logging categories per layer, off by default; switch on with
// QT_LOGGING_RULES="vmc.link.debug=true;vmc.sim.debug=true" to capture a field problem.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcHart)
Q_DECLARE_LOGGING_CATEGORY(lcSim)
Q_DECLARE_LOGGING_CATEGORY(lcShell)

#include "platform/Log.h"

Q_LOGGING_CATEGORY(lcLink, "vmc.link", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHart, "vmc.hart", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSim, "vmc.sim", QtWarningMsg)
Q_LOGGING_CATEGORY(lcShell, "vmc.shell", QtWarningMsg)

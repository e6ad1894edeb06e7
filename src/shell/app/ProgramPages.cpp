// The pages, sheets and dialogs the frame's commands open. Each group that builds pages adds its
// registration here; a command without an opener stays disabled in its menu.
#include "shell/PageCatalog.h"

void RegisterProgramPages(CPageCatalog& catalog) { (void)catalog; }

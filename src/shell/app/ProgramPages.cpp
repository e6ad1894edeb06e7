// The pages, sheets and dialogs the frame's commands open. A group that builds pages registers
// each one here under its command identifier (or a PageKey), with an opener that shows it modally
// for the host, for example: register ID_TRANSMITTER_INFO with a function that builds the
// "Transmitter Information" sheet on `host` with `host.DialogParent()` as owner and runs it.
// The frame checks the command's preconditions first and resets the receiver afterwards. A
// command without an opener stays in its menu, disabled.
#include "monitor/trend/TrendPages.h"
#include "pages/misc/MiscPages.h"
#include "pages/transmitter/TransmitterPages.h"
#include "pages/trim/TrimPages.h"
#include "shell/PageCatalog.h"

void RegisterProgramPages(CPageCatalog& catalog) {
    RegisterMiscPages(catalog);
    RegisterTrimPages(catalog);
    // The second argument lists the pages after "Transmitter Setup" in its sheet, in tab order.
    RegisterTransmitterPages(catalog, {CreateTransmitterTrimPage});
    RegisterTrendPages(catalog);
}

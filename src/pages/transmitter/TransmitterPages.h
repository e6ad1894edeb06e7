#pragma once
// Registers the transmitter information, setup and status windows and the command tester with the
// frame's page catalog.
#include "pages/transmitter/TransmitterSheets.h"

#include <vector>

class CPageCatalog;

// setupSheetPages: the pages that follow "Transmitter Setup" in its sheet, in tab order (the
// "Transmitter Trim" page is given here).
void RegisterTransmitterPages(CPageCatalog& catalog, std::vector<PageFactory> setupSheetPages = {});

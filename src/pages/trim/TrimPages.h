#pragma once
// The trim group's entries into the program: the "Transmitter Trim" page for the "Transmitter
// Setup" sheet, and the frame commands whose dialogs live here.
class CPageCatalog;
class CPropertyPage;
class IPageHost;

// Registers the frame commands of the group ("Reference Setup(&R)").
void RegisterTrimPages(CPageCatalog& catalog);
// The "Transmitter Trim" page (the sheet takes ownership).
CPropertyPage* CreateTransmitterTrimPage(IPageHost& host);

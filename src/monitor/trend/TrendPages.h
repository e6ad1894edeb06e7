#pragma once
// The trend sheet for one device and for a multi-drop loop, and the "Log File Setup" dialog, as the
// frame's commands open them.
class CPageCatalog;

void RegisterTrendPages(CPageCatalog& catalog);

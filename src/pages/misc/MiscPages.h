#pragma once
// The rest of the user menu: "LCD Display Mode", "Totalize" (KP510F) and "GWR Level" (KL710).
class CPageCatalog;

void RegisterMiscPages(CPageCatalog& catalog);

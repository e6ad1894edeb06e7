#include "pages/trim/TrimPages.h"

#include "pages/trim/ReferenceSetupDialog.h"
#include "pages/trim/TransmitterTrim.h"
#include "resources/CommandIds.h"
#include "shell/PageCatalog.h"

void RegisterTrimPages(CPageCatalog& catalog) {
    // The menu item names "Reference Setup"; its dialog leads on to "Ref. Zero Point".
    catalog.Register(res::ID_REFERENCE_SETUP, [](IPageHost& host) {
        CReferenceSetupDlg dlg(host, host.DialogParent());
        dlg.DoModal();
    });
}

CPropertyPage* CreateTransmitterTrimPage(IPageHost& host) { return new CTransmitterTrim(host); }

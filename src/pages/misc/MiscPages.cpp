#include "pages/misc/MiscPages.h"

#include "pages/misc/GwrLevelDlg.h"
#include "pages/misc/LcdPropSheet.h"
#include "pages/misc/TotalizeDlg.h"
#include "resources/CommandIds.h"
#include "shell/PageCatalog.h"
#include "shell/PageHost.h"

void RegisterMiscPages(CPageCatalog& catalog) {
    catalog.Register(res::ID_LCD_DISPLAY_MODE, [](IPageHost& host) {
        CLCDPropSheet sheet(host, host.DialogParent());
        sheet.DoModal();
    });
    catalog.Register(res::ID_TOTALIZE, [](IPageHost& host) {
        CTotalizeDlg dlg(host, host.DialogParent());
        dlg.exec();
    });
    catalog.Register(res::ID_GWR_LEVEL, [](IPageHost& host) {
        CGWRLevelDlg dlg(host, host.DialogParent());
        dlg.exec();
    });
}

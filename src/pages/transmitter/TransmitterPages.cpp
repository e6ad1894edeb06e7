#include "pages/transmitter/TransmitterPages.h"

#include "pages/transmitter/CommandTestDialog.h"
#include "pages/transmitter/TransmitterStatus.h"
#include "resources/CommandIds.h"
#include "shell/PageCatalog.h"
#include "shell/PageHost.h"

void RegisterTransmitterPages(CPageCatalog& catalog, std::vector<PageFactory> setupSheetPages) {
    catalog.Register(res::ID_TRANSMITTER_INFO, [](IPageHost& host) {
        CTransmitterInfoPropSheet sheet(host, host.DialogParent());
        sheet.DoModal();
    });
    catalog.Register(res::ID_TRANSMITTER_SETUP, [pages = std::move(setupSheetPages)](IPageHost& host) {
        CTransmitterSetupPropSheet sheet(host, pages, host.DialogParent());
        sheet.DoModal();
    });
    catalog.Register(res::ID_TRANSMITTER_STATUS, [](IPageHost& host) {
        CTransmitterStatus dlg(host, host.DialogParent());
        dlg.exec();
    });
    catalog.Register(res::ID_COMMAND_TEST, [](IPageHost& host) {
        CCommandTestDlg dlg(host, host.DialogParent());
        dlg.exec();
    });
}

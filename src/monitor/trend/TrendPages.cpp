#include "monitor/trend/TrendPages.h"

#include "monitor/trend/CheckPropSheet.h"
#include "monitor/trend/DataDV.h"
#include "monitor/trend/DataDVMultiPage.h"
#include "monitor/trend/DataGraphMulti.h"
#include "monitor/trend/DataGraphSingle.h"
#include "monitor/trend/LogFileSetupDlg.h"
#include "resources/CommandIds.h"
#include "shell/PageCatalog.h"
#include "shell/PageHost.h"

void RegisterTrendPages(CPageCatalog& catalog) {
    catalog.Register(kPageTrendSingle, [](IPageHost& host) {
        CCheckPropSheet sheet(host, host.DialogParent());
        sheet.AddPage(new CDataGraphSingle(host));
        sheet.AddPage(new CDataDVPage(host));
        sheet.DoModal();
    });
    catalog.Register(kPageTrendMulti, [](IPageHost& host) {
        CCheckPropSheet sheet(host, host.DialogParent());
        sheet.AddPage(new CDataGraphMulti(host));
        sheet.AddPage(new CDataDVMultiPage(host));
        sheet.DoModal();
    });
    catalog.Register(res::ID_LOGFILE_SETUP, [](IPageHost& host) {
        CLogFileSetupDlg dlg(host.Profile(), host.DialogParent());
        dlg.exec();
    });
}

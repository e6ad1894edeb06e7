#include "pages/misc/LcdPropSheet.h"

#include "pages/misc/LcdDisplayMode.h"
#include "pages/misc/LcdEngrMode.h"

CLCDPropSheet::CLCDPropSheet(IPageHost& host, QWidget* parent)
    : CReadSetupSheet(QStringLiteral("LCD Display Mode"), Writer::Apply, parent) {
    AddPage(new CLCDDisplayMode(host));
    AddPage(new CLCDENGRMode(host));
}

#pragma once
// "LCD Display Mode" sheet: the pages "LCD Display Mode" and "ENGR Mode" with "Read", "Exit" and
// "Apply"; "Read" and "Apply" go to the active page.
#include "pages/common/ReadSetupSheet.h"

class IPageHost;

class CLCDPropSheet : public CReadSetupSheet {
    Q_OBJECT
public:
    explicit CLCDPropSheet(IPageHost& host, QWidget* parent = nullptr);
};

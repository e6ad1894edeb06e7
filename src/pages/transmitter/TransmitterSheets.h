#pragma once
// The two sheets of the transmitter pages. Both hide OK and caption Cancel "&Exit".
#include "pages/common/PropertySheet.h"

#include <functional>
#include <vector>

class CPropertyPage;
class CSensorOutputInformation;
class CTransmitterInformation;
class CTransmitterSetup;
class IPageHost;

// Makes a page of a sheet for the host (the sheet takes ownership).
using PageFactory = std::function<CPropertyPage*(IPageHost& host)>;

// "Transmitter Information": "Transmitter Information" and "Sensor && Output Information".
class CTransmitterInfoPropSheet : public CPropertySheet {
    Q_OBJECT
public:
    CTransmitterInfoPropSheet(IPageHost& host, QWidget* parent = nullptr);
    CTransmitterInformation* InformationPage() const { return m_info; }
    CSensorOutputInformation* SensorPage() const { return m_sensor; }

private:
    CTransmitterInformation* m_info;
    CSensorOutputInformation* m_sensor;
};

// "Transmitter Setup": the setup page, then the pages the factories make, in their order (the
// "Transmitter Trim" page joins here).
class CTransmitterSetupPropSheet : public CPropertySheet {
    Q_OBJECT
public:
    CTransmitterSetupPropSheet(IPageHost& host, const std::vector<PageFactory>& morePages,
                               QWidget* parent = nullptr);
    CTransmitterSetup* SetupPage() const { return m_setup; }

private:
    CTransmitterSetup* m_setup;
};

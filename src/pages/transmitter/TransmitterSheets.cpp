#include "pages/transmitter/TransmitterSheets.h"

#include "pages/transmitter/SensorOutputInformation.h"
#include "pages/transmitter/TransmitterInformation.h"
#include "pages/transmitter/TransmitterSetup.h"

CTransmitterInfoPropSheet::CTransmitterInfoPropSheet(IPageHost& host, QWidget* parent)
    : CPropertySheet(QStringLiteral("Transmitter Information"), parent),
      m_info(new CTransmitterInformation(host)),
      m_sensor(new CSensorOutputInformation(host)) {
    AddPage(m_info);
    AddPage(m_sensor);
    UseExitButton();
}

CTransmitterSetupPropSheet::CTransmitterSetupPropSheet(IPageHost& host,
                                                       const std::vector<PageFactory>& morePages,
                                                       QWidget* parent)
    : CPropertySheet(QStringLiteral("Transmitter Setup"), parent), m_setup(new CTransmitterSetup(host)) {
    AddPage(m_setup);
    for (const PageFactory& make : morePages)
        if (CPropertyPage* page = make(host))
            AddPage(page);
    UseExitButton();
}

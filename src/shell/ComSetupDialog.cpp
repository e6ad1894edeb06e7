#include "shell/ComSetupDialog.h"

#include "resources/ControlIds.h"
#include "shell/ComPortMap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr int kManualPortsAtOpen = 30;
constexpr int kManualPortsLater = 20;
} // namespace

CComSetupDlg::CComSetupDlg(const std::vector<int>& ports, const CComPortMap& map, QWidget* parent)
    : QDialog(parent), m_ports(ports), m_map(map) {
    setObjectName(res::IdName(res::IDD_COM_SETUP));
    setWindowTitle(QStringLiteral("Com. Setup"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* layout = new QVBoxLayout(this);
    m_auto = new QCheckBox(QStringLiteral("Auto Comport"), this);
    m_auto->setObjectName(res::IdName(res::IDC_AUTO_COMPORT));
    layout->addWidget(m_auto);
    auto* form = new QFormLayout;
    m_port = new QComboBox(this);
    m_port->setObjectName(res::IdName(res::IDC_COMPORT));
    m_port->setMinimumWidth(300);
    form->addRow(QStringLiteral("COM Port :"), m_port);
    m_retry = new QComboBox(this);
    m_retry->setObjectName(res::IdName(res::IDC_RETRY_COUNT));
    for (int n = 1; n <= 5; ++n)
        m_retry->addItem(QStringLiteral("%1").arg(n, 2));
    form->addRow(QStringLiteral("Retry Count :"), m_retry);
    layout->addLayout(form);

    auto* master = new QGroupBox(QStringLiteral(" Master Type "), this);
    auto* masterRow = new QHBoxLayout(master);
    m_primary = new QRadioButton(QStringLiteral("Primary Master"), master);
    m_primary->setObjectName(res::IdName(res::IDC_PRIMARY_MASTER));
    m_secondary = new QRadioButton(QStringLiteral("Secondary Master"), master);
    m_secondary->setObjectName(res::IdName(res::IDC_SECONDARY_MASTER));
    masterRow->addWidget(m_primary);
    masterRow->addWidget(m_secondary);
    layout->addWidget(master);

    auto* buttons = new QHBoxLayout;
    auto* setup = new QPushButton(QStringLiteral("Setup"), this);
    setup->setObjectName(res::IdName(res::IDOK_BUTTON));
    setup->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(res::IdName(res::IDCANCEL_BUTTON));
    buttons->addStretch(1);
    buttons->addWidget(setup);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(setup, &QPushButton::clicked, this, [this] { Accept(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_auto, &QCheckBox::clicked, this, [this] {
        const int keep = PortNumberOf(m_port->currentText());
        FillPorts(kManualPortsLater);
        SelectPort(keep);
    });

    m_auto->setChecked(true);
    FillPorts(kManualPortsAtOpen);
    SetValues(m_values);
}

int CComSetupDlg::PortNumberOf(const QString& entry) {
    const int m = entry.indexOf(QLatin1Char('M'));
    if (m < 0)
        return 0;
    int i = m + 1;
    while (i < entry.size() && entry[i] == QLatin1Char(' '))
        ++i;
    int n = 0;
    for (; i < entry.size() && entry[i].isDigit(); ++i)
        n = n * 10 + entry[i].digitValue();
    return n;
}

void CComSetupDlg::FillPorts(int manualCount) {
    m_port->clear();
    auto add = [this](const QString& text, int number) {
        const QString path = m_map.PathFor(number);
        m_port->addItem(text + QStringLiteral("    ") + path);
        if (const CSerialPortEntry* e = m_map.Find(number); e && !e->byIdName.isEmpty())
            m_port->setItemData(m_port->count() - 1, e->byIdName, Qt::ToolTipRole);
    };
    if (m_auto->isChecked()) {
        for (int number : m_ports)
            add(number == 1 ? QStringLiteral("COM %1 [9-PIN]").arg(number) : QStringLiteral("COM %1 [USB]").arg(number),
                number);
    } else {
        for (int number = 1; number <= manualCount; ++number)
            add(QStringLiteral("COM %1").arg(number), number);
    }
}

void CComSetupDlg::SelectPort(int port) {
    int index = m_port->count() > 0 ? 0 : -1;
    for (int i = 0; i < m_port->count(); ++i) {
        if (PortNumberOf(m_port->itemText(i)) == port) {
            index = i;
            break;
        }
    }
    m_port->setCurrentIndex(index);
}

void CComSetupDlg::SetValues(const CComSetupValues& v) {
    if (v.port != 0)
        m_values.port = v.port;
    if (v.retryCount >= 1 && v.retryCount <= 5)
        m_values.retryCount = v.retryCount;
    m_values.masterType = v.masterType;
    SelectPort(m_values.port);
    m_retry->setCurrentIndex(v.retryCount >= 1 && v.retryCount <= 5 ? v.retryCount - 1 : -1);
    (v.masterType == 0 ? m_primary : m_secondary)->setChecked(true);
}

void CComSetupDlg::Accept() {
    // With nothing chosen the values stay as they were: a port 0 or an attempt count of 0 would
    // be stored and leave the link unusable.
    if (const int port = PortNumberOf(m_port->currentText()); port > 0 && port <= 255)
        m_values.port = port;
    if (m_retry->currentIndex() >= 0)
        m_values.retryCount = m_retry->currentIndex() + 1;
    m_values.masterType = m_primary->isChecked() ? 0 : 1;
    accept();
}

#include "shell/SearchOption.h"

#include "resources/ControlIds.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

CSearchOption::CSearchOption(QWidget* parent) : QWidget(parent) {
    setObjectName(res::IdName(res::IDD_SEARCH_OPTION));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);

    auto* options = new QGroupBox(QStringLiteral(" Searching Option "), this);
    auto* optionRows = new QVBoxLayout(options);
    optionRows->setContentsMargins(6, 4, 6, 4);
    m_auto = new QCheckBox(QStringLiteral("Auto Searching"), options);
    m_auto->setObjectName(res::IdName(res::IDC_AUTO_SEARCHING));
    m_showHide = new QPushButton(QStringLiteral("SHOW"), options);
    m_showHide->setObjectName(res::IdName(res::IDC_OPTION_SHOWHIDE));
    auto* searchNow = new QPushButton(QStringLiteral("Search Now!"), options);
    searchNow->setObjectName(res::IdName(res::IDC_SEARCH_NOW));
    optionRows->addWidget(m_auto);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_showHide);
    buttonRow->addWidget(searchNow);
    optionRows->addLayout(buttonRow);
    layout->addWidget(options);

    auto* addresses = new QGroupBox(QStringLiteral(" Select Polling Address "), this);
    auto* grid = new QGridLayout(addresses);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setHorizontalSpacing(0);
    for (int n = 0; n < 16; ++n) {
        auto* box = new QCheckBox(QString::number(n), addresses);
        box->setObjectName(res::IdName(res::IDC_ADDRESS_0 + n));
        grid->addWidget(box, n / 8, n % 8);
        m_boxes[static_cast<std::size_t>(n)] = box;
        connect(box, &QCheckBox::clicked, this, [this] { RecomputeAddressList(); });
    }
    layout->addWidget(addresses);
    layout->addStretch(1);

    connect(m_auto, &QCheckBox::clicked, this, [this] {
        ApplyEnableRule();
        RecomputeAddressList();
    });
    connect(m_showHide, &QPushButton::clicked, this, [this] { ToggleCollapsed(); });
    connect(searchNow, &QPushButton::clicked, this, [this] {
        if (m_search)
            m_search();
    });

    m_auto->setChecked(true);
    ApplyEnableRule();
    RecomputeAddressList();
}

void CSearchOption::ApplyEnableRule() {
    const bool automatic = m_auto->isChecked();
    for (QCheckBox* box : m_boxes) {
        if (automatic)
            box->setChecked(false);
        box->setEnabled(!automatic);
    }
}

void CSearchOption::RecomputeAddressList() {
    m_nAddressList.fill(0);
    m_nAddressCount = 0;
    for (int n = 0; n < 16; ++n)
        if (m_auto->isChecked() || m_boxes[static_cast<std::size_t>(n)]->isChecked())
            m_nAddressList[static_cast<std::size_t>(m_nAddressCount++)] = n;
}

void CSearchOption::ToggleCollapsed() {
    m_bCollapsed = !m_bCollapsed;
    m_showHide->setText(m_bCollapsed ? QStringLiteral("SHOW") : QStringLiteral("HIDE"));
    if (m_collapse)
        m_collapse(m_bCollapsed);
}

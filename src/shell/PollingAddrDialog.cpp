#include "shell/PollingAddrDialog.h"

#include "resources/ControlIds.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CPollingAddrDlg::CPollingAddrDlg(const std::vector<int>& preset, QWidget* parent) : QDialog(parent) {
    setObjectName(res::IdName(res::IDD_POLLING_ADDR));
    setWindowTitle(QStringLiteral("Polling Addr"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int n = 0; n < 16; ++n) {
        auto* box = new QCheckBox(QStringLiteral("Address %1").arg(n), this);
        box->setObjectName(res::IdName(res::PollingAddrBoxId(n)));
        grid->addWidget(box, n % 8, n / 8);
        m_boxes[static_cast<std::size_t>(n)] = box;
    }
    for (int a : preset)
        if (a >= 0 && a < 16)
            m_boxes[static_cast<std::size_t>(a)]->setChecked(true);
    layout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setObjectName(res::IdName(res::IDOK_BUTTON));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(res::IdName(res::IDCANCEL_BUTTON));
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(apply, &QPushButton::clicked, this, [this] {
        for (int n = 0; n < 16; ++n)
            m_flags[static_cast<std::size_t>(n)] = m_boxes[static_cast<std::size_t>(n)]->isChecked() ? 1 : 0;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

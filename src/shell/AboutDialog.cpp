#include "shell/AboutDialog.h"

#include "resources/ControlIds.h"
#include "resources/Strings.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const QString& variantText, QWidget* parent) : QDialog(parent) {
    setObjectName(res::IdName(res::IDD_ABOUTBOX));
    setWindowTitle(QStringLiteral("Korvex VMC70"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QHBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);
    layout->addWidget(picture);
    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QStringLiteral("Korvex Transmitter Calibrator"), this));
    auto* variant = new QLabel(variantText, this);
    variant->setObjectName(res::IdName(res::IDC_ABOUT_VARIANT));
    texts->addWidget(variant);
    auto* version = new QLabel(res::VersionText(), this);
    version->setObjectName(res::IdName(res::IDC_ABOUT_VERSION));
    texts->addWidget(version);
    layout->addLayout(texts, 1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(res::IdName(res::IDOK_BUTTON));
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignTop);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

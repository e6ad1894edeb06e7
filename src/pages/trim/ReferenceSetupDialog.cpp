#include "pages/trim/ReferenceSetupDialog.h"

#include "pages/trim/TrimIds.h"
#include "platform/MessageBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>

using namespace res;

namespace {

constexpr int kPrescales[] = {1, 2, 4, 8};
constexpr int kMakers[] = {1, 17, 33}; // "Norvane", "Xiyi", "Saic"

int IndexOf(const int* values, int count, int v) {
    for (int i = 0; i < count; ++i)
        if (values[i] == v)
            return i;
    return -1;
}

QString Hex2(int v) { return QString::asprintf("%02X", v & 0xFF); }

} // namespace

CReferenceSetupDlg::CReferenceSetupDlg(IPageHost& host, QWidget* parent) : CTrimDialog(host, parent) {
    setWindowTitle(QStringLiteral("Reference Setup"));
    setObjectName(IdName(IDD_REFERENCE_SETUP));
    m_wndMakeCode = trim::ValueEdit(this, IDC_REF_MAKE_CODE);
    m_wndMakeCode->setMaxLength(2);
    m_wndMakeCode->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,2}")), m_wndMakeCode));
    m_wndPrescaleRead = trim::ValueEdit(this, IDC_REF_PRESCALE_READ, true);

    auto* code = new QGridLayout;
    code->addWidget(new QLabel(QStringLiteral("Make Code :"), this), 0, 0);
    code->addWidget(m_wndMakeCode, 0, 1);
    code->addWidget(new QLabel(QStringLiteral("(Hexa)"), this), 0, 2);
    code->addWidget(m_wndPrescaleRead, 0, 3);

    auto* prescale = new QGroupBox(QStringLiteral("H/W Prescale Select"), this);
    auto* pl = new QHBoxLayout(prescale);
    for (int i = 0; i < 4; ++i) {
        auto* r = trim::Radio(prescale, IDC_REF_PRESCALE_1 + i, QStringLiteral("%1 Prescale").arg(kPrescales[i]));
        m_prescale.Add(r);
        pl->addWidget(r);
    }
    auto* maker = new QGroupBox(QStringLiteral("Assembly Maker"), this);
    auto* ml = new QHBoxLayout(maker);
    const std::pair<int, const char*> makers[] = {{IDC_REF_NORVANE, "Norvane"}, {IDC_REF_XIYI, "Xiyi"}, {IDC_REF_SAIC, "Saic"}};
    for (const auto& [id, text] : makers) {
        auto* r = trim::Radio(maker, id, QString::fromLatin1(text));
        m_maker.Add(r);
        ml->addWidget(r);
    }

    auto* read = trim::Button(this, IDC_REF_READ, QStringLiteral("Read"));
    auto* zero = trim::Button(this, IDC_REF_ZERO_POINT, QStringLiteral("Ref. Zero Point"));
    auto* apply = trim::Button(this, IDOK_BUTTON, QStringLiteral("Apply"));
    auto* exit = trim::Button(this, IDCANCEL_BUTTON, QStringLiteral("Exit"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {read, zero, apply, exit})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(code);
    layout->addWidget(prescale);
    layout->addWidget(maker);
    layout->addLayout(buttons);

    connect(read, &QPushButton::clicked, this, &CReferenceSetupDlg::Read);
    connect(zero, &QPushButton::clicked, this, &CReferenceSetupDlg::OpenZeroPoint);
    connect(apply, &QPushButton::clicked, this, &CReferenceSetupDlg::Apply);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

int CReferenceSetupDlg::SelectedPrescale() const {
    const int i = m_prescale.Selected();
    return i < 0 ? 0 : kPrescales[i];
}

int CReferenceSetupDlg::SelectedMaker() const {
    const int i = m_maker.Selected();
    return i < 0 ? 0 : kMakers[i];
}

void CReferenceSetupDlg::OnInitDialog() {
    BecomeReceiver();
    Read();
}

void CReferenceSetupDlg::Read() {
    QueueCommand(208);
    QueueCommand(200);
    SendWhenIdle();
}

void CReferenceSetupDlg::Apply() {
    bool ok = false;
    const int code = m_wndMakeCode->text().trimmed().toInt(&ok, 16);
    if (!ok || m_wndMakeCode->text().trimmed().isEmpty()) {
        vmc::PlainBox(QStringLiteral("Enter the make code as two hexadecimal digits."));
        m_wndMakeCode->setFocus();
        return;
    }
    m_nMakeCode = code;
    QueueCommand(198);
    // The maker is written only when one is chosen: a request without its byte means nothing.
    if (SelectedMaker() != 0)
        QueueCommand(199);
    SendWhenIdle();
}

void CReferenceSetupDlg::OpenZeroPoint() {
    {
        CRefZeroPointDlg dlg(Host(), this);
        dlg.DoModal();
    }
    BecomeReceiver();
}

bool CReferenceSetupDlg::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    if (command == 198) {
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_nMakeCode);
        byteCount = 1;
        if (const int prescale = SelectedPrescale()) {
            Comm().SetRequestOffset(1);
            Comm().SetXInt8(prescale);
            byteCount = 2;
        }
    } else if (command == 199) {
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(SelectedMaker());
        byteCount = 1;
    }
    return true;
}

void CReferenceSetupDlg::OnReceive(int command, int dataCount) {
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
        SendNextCommand();
        return;
    }
    if (command == 208 || command == 198) {
        Comm().SetResponseOffset(0);
        m_nMakeCode = Comm().GetXInt8();
        m_wndMakeCode->setText(Hex2(m_nMakeCode));
        if (dataCount >= 2) {
            Comm().SetResponseOffset(1);
            const int prescale = Comm().GetXInt8();
            m_wndPrescaleRead->setText(Hex2(prescale));
            const int index = IndexOf(kPrescales, 4, prescale);
            if (index >= 0 || command == 208)
                m_prescale.Select(index);
        }
    } else if (command == 200) {
        Comm().SetResponseOffset(0);
        m_maker.Select(IndexOf(kMakers, 3, Comm().GetXInt8()));
    }
    SendNextCommand();
}

void CReferenceSetupDlg::OnFail(int state) {
    CTrimDialog::OnFail(state);
    SendNextCommand();
}

CRefZeroPointDlg::CRefZeroPointDlg(IPageHost& host, QWidget* parent) : CTrimDialog(host, parent) {
    setWindowTitle(QStringLiteral("Ref. Zero Point"));
    setObjectName(IdName(IDD_REF_ZERO_POINT));
    auto* high = trim::ValueEdit(this, IDC_RZP_HIGH);
    auto* low = trim::ValueEdit(this, IDC_RZP_LOW);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("High :"), this), 0, 0);
    grid->addWidget(high, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Low :"), this), 1, 0);
    grid->addWidget(low, 1, 1);
    auto* req = trim::Button(this, IDC_RZP_REQ, QStringLiteral("Req."));
    auto* read = trim::Button(this, IDC_RZP_READ, QStringLiteral("Read"));
    auto* apply = trim::Button(this, IDOK_BUTTON, QStringLiteral("Apply"));
    auto* exit = trim::Button(this, IDCANCEL_BUTTON, QStringLiteral("Exit"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {req, read, apply, exit})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    Fields().Float(&m_fHigh, high);
    Fields().Float(&m_fLow, low);
    connect(req, &QPushButton::clicked, this, [this] { Send(210); });
    connect(read, &QPushButton::clicked, this, [this] { Send(231); });
    connect(apply, &QPushButton::clicked, this, [this] {
        if (UpdateData(true))
            Send(241);
    });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void CRefZeroPointDlg::OnInitDialog() {
    BecomeReceiver();
    UpdateData(false);
}

void CRefZeroPointDlg::Send(int command) {
    QueueCommand(command);
    SendWhenIdle();
}

bool CRefZeroPointDlg::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    if (command == 241) {
        Comm().SetRequestOffset(0);
        Comm().SetFloat(m_fHigh);
        Comm().SetRequestOffset(1);
        Comm().SetFloat(m_fLow);
        byteCount = 8;
    }
    return true;
}

void CRefZeroPointDlg::OnReceive(int command, int dataCount) {
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
    } else if (command == 210) {
        Comm().SetResponseOffset(6);
        m_fHigh = Comm().GetFloat();
        Comm().SetResponseOffset(8);
        m_fLow = Comm().GetFloat();
        UpdateData(false);
    } else if (command == 231 || command == 241) {
        Comm().SetResponseOffset(0);
        m_fHigh = Comm().GetFloat();
        Comm().SetResponseOffset(1);
        m_fLow = Comm().GetFloat();
        UpdateData(false);
    }
    SendNextCommand();
}

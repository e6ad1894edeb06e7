#include "pages/misc/TotalizeDlg.h"

#include "hart/LinkRelay.h"
#include "hart/widgets/CodeCombos.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct ScaleRow {
    const char* text;
    float value;
    float above; // a value read back selects the row when above < v <= upTo
    float upTo;
};
// Single precision throughout, as the device keeps them.
constexpr ScaleRow kScales[] = {
    {"0.001", 0.001f, 0.00098f, 0.002f}, {"0.01", 0.01f, 0.0098f, 0.02f}, {"0.1", 0.1f, 0.098f, 0.2f},
    {"1", 1.0f, 0.98f, 2.0f},            {"10", 10.0f, 9.8f, 20.0f},      {"100", 100.0f, 99.8f, 200.0f},
    {"1000", 1000.0f, 999.8f, 2000.0f},  {"10000", 10000.0f, 9999.8f, 20000.0f},
};
constexpr int kNoWidth = 255;

template <class W> W* Named(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

} // namespace

CTotalizeDlg::CTotalizeDlg(IPageHost& host, QWidget* parent) : CQueueDialog(host, parent) {
    setWindowTitle(QStringLiteral("Totalize"));
    m_unit = Named(new QComboBox(this), IDC_UNIT);
    m_upper = Named(new QLineEdit(this), IDC_UPPER);
    m_lower = Named(new QLineEdit(this), IDC_LOWER);
    m_scale = Named(new QComboBox(this), IDC_SCALE);
    m_width = Named(new QComboBox(this), IDC_WIDTH);
    for (const ScaleRow& r : kScales)
        m_scale->addItem(QString::fromLatin1(r.text));
    m_width->addItems({QStringLiteral("10 ms"), QStringLiteral("50 ms"), QStringLiteral("100 ms")});
    m_scale->setCurrentIndex(-1);
    m_width->setCurrentIndex(-1);
    auto* reset = Named(new QPushButton(QStringLiteral("Total Reset"), this), IDC_TOTAL_RESET);
    auto* apply = Named(new QPushButton(QStringLiteral("Apply"), this), IDC_APPLY);
    auto* exit = Named(new QPushButton(QStringLiteral("EXIT"), this), IDC_EXIT);
    reset->setAutoDefault(false);
    exit->setAutoDefault(false);
    apply->setDefault(true);

    auto* flowBox = new QGroupBox(QStringLiteral(" Flow Rate "), this);
    auto* flow = new QFormLayout(flowBox);
    flow->addRow(QStringLiteral("Unit :"), m_unit);
    flow->addRow(QStringLiteral("Upper Range :"), m_upper);
    flow->addRow(QStringLiteral("Lower Range :"), m_lower);
    auto* pulseBox = new QGroupBox(QStringLiteral(" Pulse "), this);
    auto* pulse = new QFormLayout(pulseBox);
    pulse->addRow(QStringLiteral("Pulse Scale :"), m_scale);
    pulse->addRow(QStringLiteral("Pulse Width :"), m_width);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reset);
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(flowBox);
    layout->addWidget(pulseBox);
    layout->addLayout(buttons);

    Fields().Float(&m_fUpper, m_upper);
    Fields().Float(&m_fLower, m_lower);

    // Only the user's changes count: values the dialog shows from the device are not written back.
    auto range = [this] {
        if (!IsShowing())
            m_bRangeChanged = true;
    };
    connect(m_unit, &QComboBox::currentIndexChanged, this, range);
    connect(m_upper, &QLineEdit::textChanged, this, range);
    connect(m_lower, &QLineEdit::textChanged, this, range);
    connect(m_scale, &QComboBox::currentIndexChanged, this, [this] {
        if (!IsShowing())
            m_bScaleChanged = true;
    });
    connect(m_width, &QComboBox::currentIndexChanged, this, [this] {
        if (!IsShowing())
            m_bWidthChanged = true;
    });
    connect(apply, &QPushButton::clicked, this, [this] { OnApply(); });
    connect(reset, &QPushButton::clicked, this, [this] { OnTotalReset(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

int CTotalizeDlg::ScaleRowOf(float value) {
    for (int i = 0; i < static_cast<int>(std::size(kScales)); ++i)
        if (value > kScales[i].above && value <= kScales[i].upTo)
            return i;
    return -1;
}

void CTotalizeDlg::OnInitDialog() {
    BecomeReceiver();
    Showing([this] {
        hart::FillFlowUnitCombo(m_unit);
        m_unit->setCurrentIndex(-1);
        ShowFields();
    });
    QueueCommand(189);
    QueueCommand(188);
    QueueCommand(237);
    SendNext();
}

void CTotalizeDlg::OnApply() {
    // A range that cannot be taken is not queued; the box named the field and the change stays.
    if (m_bRangeChanged && !Fields().Update(true))
        return;
    m_CommandQueue.RemoveAll();
    if (m_bScaleChanged) {
        m_bScaleChanged = false;
        QueueCommand(178);
    }
    if (m_bRangeChanged) {
        m_bRangeChanged = false;
        QueueCommand(179);
    }
    if (m_bWidthChanged) {
        m_bWidthChanged = false;
        QueueCommand(247);
    }
    SendWhenFree();
}

void CTotalizeDlg::OnTotalReset() {
    QueueCommand(177);
    SendWhenFree();
}

bool CTotalizeDlg::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    switch (command) {
    case 179: {
        const int row = m_unit->currentIndex();
        if (row < 0) {
            vmc::PlainBox(QStringLiteral("Select a Unit!"));
            m_unit->setFocus();
            m_bRangeChanged = true;
            DropCommand();
            return false;
        }
        if (!Fields().Update(true)) {
            m_bRangeChanged = true;
            DropCommand();
            return false;
        }
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(hart::FlowUnitTable()[static_cast<std::size_t>(row)].code);
        Comm().SetRequestOffset(1);
        Comm().SetFloat(m_fLower);
        Comm().SetRequestOffset(2);
        Comm().SetFloat(m_fUpper);
        byteCount = 9;
        return true;
    }
    case 178: {
        const int row = m_scale->currentIndex();
        Comm().SetRequestOffset(0);
        Comm().SetFloat(row >= 0 ? kScales[row].value : 0.0f);
        byteCount = 4;
        return true;
    }
    case 247:
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_width->currentIndex() >= 0 ? m_width->currentIndex() : kNoWidth);
        byteCount = 1;
        return true;
    default:
        return true;
    }
}

void CTotalizeDlg::Refused(int command, QWidget* focus) {
    ReportCommandError(4, QString::number(command));
    if (focus)
        focus->setFocus();
}

void CTotalizeDlg::OnReceive(int command, int dataCount) {
    switch (command) {
    case 177: {
        // A device that could not reset says so by its response code or by leaving out the data.
        const int code = Host().Relay().LastResponseCode();
        if (dataCount <= 0 || code == 9 || code == 10)
            ReportCommandError(4, QStringLiteral("177"));
        break;
    }
    case 178:
    case 188:
        if (dataCount <= 0) {
            Refused(command, m_scale);
            SendNext();
            return;
        }
        Comm().SetResponseOffset(0);
        if (const int row = ScaleRowOf(Comm().GetFloat()); row >= 0) {
            Showing([&] { m_scale->setCurrentIndex(row); });
        } else {
            Showing([&] { m_scale->setCurrentIndex(-1); });
            vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Can not support scale to this VMC70 version.  "));
        }
        break;
    case 179:
    case 189:
        if (dataCount <= 0) {
            Refused(command, m_upper);
            SendNext();
            return;
        }
        Comm().SetResponseOffset(0);
        Showing([&] { m_unit->setCurrentIndex(hart::FindCodeIndex(hart::FlowUnitTable(), Comm().GetXInt8())); });
        Comm().SetResponseOffset(1);
        m_fLower = Comm().GetFloat();
        Comm().SetResponseOffset(2);
        m_fUpper = Comm().GetFloat();
        ShowFields(); // only the range has fields; other answers leave what the user is typing
        break;
    case 237:
    case 247:
        if (dataCount <= 0) {
            Refused(command, m_width);
            SendNext();
            return;
        }
        Comm().SetResponseOffset(0);
        Showing([&] {
            const int index = Comm().GetXInt8();
            m_width->setCurrentIndex(index < m_width->count() ? index : -1);
        });
        break;
    default:
        break;
    }
    SendNext();
}

#include "pages/trim/LinearizationDialogs.h"

#include "hart/CodeTables.h"
#include "hart/widgets/CodeCombos.h"
#include "pages/trim/LinearizationPlot.h"
#include "pages/trim/TrimIds.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

using namespace res;

namespace {

const LinearizationKind kVariableKind{
    "Transmitter Variable Linearzation",
    IDD_VARIABLE_LINEARIZATION,
    kVariableLinRows,
    11,
    151,
    161,
    "Transmitter Variable :",
    "Transfer FN Setup",
    "Current",
    "Modify",
    "Select a Transmitter Variable!",
    "Select a Unit!",
    "No fixed data!",
    false,
    QColor(0, 0, 0),
};

const LinearizationKind kCJKind{
    "CJ  Temperature Linearization",
    IDD_CJ_LINEARIZATION,
    kCJLinRows,
    5,
    173,
    183,
    "Xmitter Variable :",
    "Transfer Fn Setup",
    "Meas. Temp.",
    "Fixed Temp.",
    "Select Transmitter Variable!",
    "Select Transmitter Unit!",
    "No Fixed Data!",
    true,
    QColor(127, 127, 127),
};

int CodeAt(hart::CodeTable table, int row) {
    return row >= 0 && row < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(row)].code : -1;
}

QString Text(const char* s) { return QString::fromUtf8(s); }

} // namespace

CLinearizationDlg::CLinearizationDlg(IPageHost& host, const LinearizationKind& kind, QWidget* parent)
    : CTrimDialog(host, parent), m_kind(kind) {
    setWindowTitle(Text(kind.caption));
    setObjectName(IdName(kind.resourceId));

    m_wndVariable = trim::Named(new QComboBox(this), IDC_LIN_VARIABLE);
    m_wndUnit = trim::Named(new QComboBox(this), IDC_LIN_UNIT);
    auto* transfer = trim::Button(this, IDC_LIN_TRANSFER_FN, Text(kind.transferLabel));
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(Text(kind.variableLabel), this));
    top->addWidget(m_wndVariable, 1);
    top->addWidget(new QLabel(QStringLiteral("Unit :"), this));
    top->addWidget(m_wndUnit);
    top->addWidget(transfer);

    auto* table = new QGroupBox(QStringLiteral("Linearization Table"), this);
    auto* blocks = new QHBoxLayout(table);
    m_rows.resize(kind.rows.size());
    auto* left = new QGridLayout;
    auto* right = new QGridLayout;
    BuildBlock(left, 0, kind.leftRows - 1);
    BuildBlock(right, kind.leftRows, static_cast<int>(kind.rows.size()) - 1);
    blocks->addLayout(left);
    blocks->addSpacing(12);
    blocks->addLayout(right);

    m_wndPlot = new CLinearizationPlot(this);
    m_wndPlot->SetAxisTitles(Text(kind.currentHeading), Text(kind.modifiedHeading));

    m_wndRead = trim::Button(this, IDC_LIN_READ, QStringLiteral("Read"));
    m_wndWrite = trim::Button(this, IDC_LIN_WRITE, QStringLiteral("Write"));
    auto* exit = trim::Button(this, IDCANCEL_BUTTON, QStringLiteral("Exit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {m_wndRead, m_wndWrite, exit})
        buttons->addWidget(b);

    auto* body = new QHBoxLayout;
    body->addWidget(table);
    body->addWidget(m_wndPlot, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    connect(m_wndRead, &QPushButton::clicked, this, &CLinearizationDlg::OnRead);
    connect(m_wndWrite, &QPushButton::clicked, this, &CLinearizationDlg::OnWrite);
    connect(transfer, &QPushButton::clicked, this, &CLinearizationDlg::OnTransferFn);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

CLinearizationDlg::~CLinearizationDlg() = default;

QLabel* CLinearizationDlg::ColourLabel(const QString& text) {
    auto* l = new QLabel(text, this);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, m_kind.labelBack);
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    return l;
}

void CLinearizationDlg::BuildBlock(QGridLayout* grid, int firstRow, int lastRow) {
    grid->addWidget(ColourLabel(QStringLiteral("No.")), 0, 0);
    grid->addWidget(ColourLabel(Text(m_kind.currentHeading)), 0, 1);
    grid->addWidget(ColourLabel(Text(m_kind.modifiedHeading)), 0, 2);
    grid->addWidget(ColourLabel(QStringLiteral("Use")), 0, 3);
    for (int row = firstRow; row <= lastRow; ++row) {
        const LinRowIds& ids = m_kind.rows[static_cast<std::size_t>(row)];
        TableRow& r = m_rows[static_cast<std::size_t>(row)];
        r.current = trim::ValueEdit(this, ids.current, true);
        r.modifiedEdit = trim::ValueEdit(this, ids.modified, true);
        r.use = trim::Check(this, ids.use, QString());
        for (QLineEdit* e : {r.current, r.modifiedEdit}) {
            e->setMinimumWidth(80);
            // Typing (never a value the dialog sets) marks the row.
            connect(e, &QLineEdit::textEdited, this, [this, row, e] { OnRowEdited(row, e); });
        }
        connect(r.use, &QCheckBox::clicked, this, [this, row] { OnUseClicked(row); });
        const int line = row - firstRow + 1;
        grid->addWidget(ColourLabel(QString::number(row)), line, 0);
        grid->addWidget(r.current, line, 1);
        grid->addWidget(r.modifiedEdit, line, 2);
        grid->addWidget(r.use, line, 3, Qt::AlignCenter);
    }
    grid->setRowStretch(lastRow - firstRow + 2, 1);
}

void CLinearizationDlg::OnInitDialog() {
    BecomeReceiver();
    hart::FillCodeCombo(hart::VariableCodeTable(), m_wndVariable);
    m_wndVariable->setCurrentIndex(1); // "PV"
    hart::FillAllUnitCombo(m_wndUnit);
    m_wndUnit->setCurrentIndex(-1);
    m_ReadList.clear();
    m_WriteList.clear();
    for (TableRow& r : m_rows)
        r.modified = false;
    m_bTracking = false;
    m_bBusy = false;
}

void CLinearizationDlg::SetEditMark(QLineEdit* edit, bool on) {
    edit->setProperty("modifiedMark", on);
    edit->setStyleSheet(on ? QStringLiteral("QLineEdit { border: 2px solid #d07000; }") : QString());
}

void CLinearizationDlg::SetRow(int row, float current, float modified, bool used) {
    TableRow& r = m_rows[static_cast<std::size_t>(row)];
    for (QLineEdit* e : {r.current, r.modifiedEdit}) {
        SetEditMark(e, false);
        e->setReadOnly(false);
        e->setEnabled(used);
    }
    r.current->setText(FieldBinding::FormatFloat(current));
    r.modifiedEdit->setText(FieldBinding::FormatFloat(modified));
    r.use->setChecked(used);
}

void CLinearizationDlg::ClearTable() {
    for (int row = 0; row < RowCount(); ++row)
        SetRow(row, 0.0f, 0.0f, false);
    RefreshPlot();
}

void CLinearizationDlg::OnRowEdited(int row, QLineEdit* edit) {
    m_rows[static_cast<std::size_t>(row)].modified = m_bTracking;
    if (m_bTracking)
        SetEditMark(edit, true);
    RefreshPlot();
}

void CLinearizationDlg::OnUseClicked(int row) {
    TableRow& r = m_rows[static_cast<std::size_t>(row)];
    r.modified = m_bTracking;
    const bool on = r.use->isChecked();
    r.current->setEnabled(on);
    r.modifiedEdit->setEnabled(on);
    RefreshPlot();
}

bool CLinearizationDlg::RowValues(int row, float& current, float& modified) {
    TableRow& r = m_rows[static_cast<std::size_t>(row)];
    for (auto [edit, value] : {std::pair{r.current, &current}, std::pair{r.modifiedEdit, &modified}}) {
        bool ok = false;
        const double v = edit->text().trimmed().toDouble(&ok);
        // Beyond a float's range the value would reach the device as infinity.
        if (!ok || !std::isfinite(v) || std::abs(v) > std::numeric_limits<float>::max()) {
            vmc::PlainBox(QStringLiteral("Please enter a number."));
            edit->setFocus();
            edit->selectAll();
            return false;
        }
        *value = static_cast<float>(v);
    }
    return true;
}

void CLinearizationDlg::RefreshPlot() {
    std::vector<CPointRecord> points;
    for (int row = 0; row < RowCount(); ++row) {
        const TableRow& r = m_rows[static_cast<std::size_t>(row)];
        if (r.current->isReadOnly())
            continue; // never set: nothing to draw
        bool okC = false, okM = false;
        const float c = r.current->text().toFloat(&okC);
        const float m = r.modifiedEdit->text().toFloat(&okM);
        if (okC && okM)
            points.push_back({static_cast<short>(row), c, m, r.use->isChecked()});
    }
    m_wndPlot->SetPoints(std::move(points));
}

void CLinearizationDlg::OnRead() {
    m_wndWrite->setEnabled(false);
    m_bTracking = false;
    if (!m_ReadList.empty())
        ClearTable();
    m_nTransferIndex = 0;
    if (!SendFrame(m_kind.readCommand))
        m_wndWrite->setEnabled(true); // nothing went out: the dialog stays usable
}

void CLinearizationDlg::OnWrite() {
    bool flagged = false;
    for (const TableRow& r : m_rows)
        flagged = flagged || r.modified;
    if (flagged) {
        std::vector<CPointRecord> list;
        for (int row = 0; row < RowCount(); ++row) {
            TableRow& r = m_rows[static_cast<std::size_t>(row)];
            if (!r.modified)
                continue;
            CPointRecord rec;
            rec.m_nPoint = static_cast<short>(row);
            if (!RowValues(row, rec.m_fCurrent, rec.m_fModified))
                return;
            rec.m_bUsed = r.use->isChecked();
            list.push_back(rec);
        }
        m_WriteList = std::move(list);
        if (m_kind.clearFlagsOnWrite)
            for (TableRow& r : m_rows)
                r.modified = false;
    } else if (m_WriteList.empty()) {
        vmc::ShowBox(vmc::ProgramTitle(), Text(m_kind.nothingToWriteText), vmc::BoxIcon::Warning);
        return;
    }
    m_wndRead->setEnabled(false);
    m_nTransferIndex = 0;
    if (!SendFrame(m_kind.writeCommand))
        m_wndRead->setEnabled(true);
}

bool CLinearizationDlg::SendFrame(int command) {
    const int variable = CodeAt(hart::VariableCodeTable(), m_wndVariable->currentIndex());
    if (variable < 0) {
        vmc::PlainBox(Text(m_kind.noVariableText));
        m_wndVariable->setFocus();
        return false;
    }
    CHartComm& comm = Comm();
    comm.DeleteRequestItems();
    int byteCount = 0;
    if (command == m_kind.writeCommand) {
        const int unit = CodeAt(hart::UnitTable(), m_wndUnit->currentIndex());
        if (unit < 0) {
            vmc::PlainBox(Text(m_kind.noUnitText));
            m_wndUnit->setFocus();
            return false;
        }
        const int n = std::min<int>(lin::kPointsPerFrame, static_cast<int>(m_WriteList.size()) - m_nTransferIndex);
        int item = 0;
        comm.SetRequestOffset(item++);
        comm.SetXInt8(variable);
        comm.SetRequestOffset(item++);
        comm.SetXInt8(unit);
        comm.SetRequestOffset(item++);
        comm.SetXInt8(0);
        comm.SetRequestOffset(item++);
        comm.SetXInt8(n);
        for (int k = 0; k < n; ++k) {
            const CPointRecord& p = m_WriteList[static_cast<std::size_t>(m_nTransferIndex + k)];
            comm.SetRequestOffset(item++);
            comm.SetXInt8(lin::PointByte(p.m_nPoint, p.m_bUsed));
            comm.SetRequestOffset(item++);
            comm.SetFloat(p.m_fCurrent);
            comm.SetRequestOffset(item++);
            comm.SetFloat(p.m_fModified);
        }
        byteCount = 4 + 9 * n;
    } else {
        comm.SetRequestOffset(0);
        comm.SetXInt8(variable);
        comm.SetRequestOffset(1);
        comm.SetXInt8(m_nTransferIndex & 0xFF);
        byteCount = 2;
    }
    BecomeReceiver();
    if (!comm.Request(command, byteCount)) {
        ReportRequestFailure(comm, command);
        m_bBusy = false;
        return false;
    }
    m_nLastCommand = command;
    m_bBusy = true;
    return true;
}

void CLinearizationDlg::EndOperation() {
    m_wndRead->setEnabled(true);
    m_wndWrite->setEnabled(true);
    m_bTracking = true;
    m_bBusy = false;
}

void CLinearizationDlg::StopWithoutProgress() {
    // An answer that carries no points would repeat the same frame for ever.
    EndOperation();
    vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("The transmitter sent no points; the table transfer stopped."),
                 vmc::BoxIcon::Warning);
}

void CLinearizationDlg::OnReceive(int command, int dataCount) {
    if (command != m_kind.writeCommand && command != m_kind.readCommand)
        return;
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
        m_bBusy = false;
        return;
    }
    CHartComm& comm = Comm();
    if (m_nTransferIndex == 0)
        m_ReadList.clear();
    comm.SetResponseOffset(0);
    const int variableRow = hart::FindCodeIndex(hart::VariableCodeTable(), comm.GetXInt8());
    comm.SetResponseOffset(1);
    const int unitRow = hart::FindCodeIndex(hart::UnitTable(), comm.GetXInt8());
    comm.SetResponseOffset(2);
    m_nBound = comm.GetXInt8();
    comm.SetResponseOffset(3);
    const int n = comm.GetXInt8();
    int received = 0;
    for (int k = 0; k < n && 6 + 3 * k < comm.ResponseItemCount(); ++k) {
        comm.SetResponseOffset(4 + 3 * k);
        const int pointByte = comm.GetXInt8();
        comm.SetResponseOffset(5 + 3 * k);
        const float current = comm.GetFloat();
        comm.SetResponseOffset(6 + 3 * k);
        const float modified = comm.GetFloat();
        m_ReadList.push_back(lin::DecodePoint(pointByte, current, modified));
        ++received;
    }
    m_wndVariable->setCurrentIndex(variableRow);
    m_wndUnit->setCurrentIndex(unitRow);
    m_bTracking = false;
    for (std::size_t i = static_cast<std::size_t>(m_nTransferIndex); i < m_ReadList.size(); ++i) {
        const CPointRecord& p = m_ReadList[i];
        if (p.m_nPoint < RowCount())
            SetRow(p.m_nPoint, p.m_fCurrent, p.m_fModified, p.m_bUsed);
    }
    m_nTransferIndex += received;
    RefreshPlot();

    if (command == m_kind.writeCommand) {
        if (received == 0)
            StopWithoutProgress();
        else if (m_nTransferIndex < static_cast<int>(m_WriteList.size()))
            SendFrame(command);
        else
            EndOperation();
        return;
    }
    if (m_nTransferIndex < m_nBound) {
        if (received == 0)
            StopWithoutProgress();
        else
            SendFrame(command);
        return;
    }
    m_WriteList = m_ReadList; // "Write" with nothing changed writes back what was read
    EndOperation();
}

void CLinearizationDlg::OnFail(int state) {
    if (state == 5) {
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Communication Error!"), vmc::BoxIcon::Error);
        m_wndRead->setEnabled(true);
        m_wndWrite->setEnabled(true);
    } else if (state == 6) {
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("No Response!"), vmc::BoxIcon::Error);
    } else {
        return;
    }
    if (m_nLastCommand == m_kind.readCommand)
        ClearTable();
    m_bBusy = false;
}

void CLinearizationDlg::OnTransferFn() {
    if (m_bBusy)
        return;
    {
        CTransferFnSetupDlg dlg(Host(), m_wndVariable->currentIndex(), this);
        dlg.DoModal();
    }
    BecomeReceiver();
}

CVariableLinearizationDlg::CVariableLinearizationDlg(IPageHost& host, QWidget* parent)
    : CLinearizationDlg(host, kVariableKind, parent) {}

CCJLinearizationDlg::CCJLinearizationDlg(IPageHost& host, QWidget* parent) : CLinearizationDlg(host, kCJKind, parent) {}

// ---- Transfer-function setup ----

namespace {
constexpr int kTransferCodes[] = {0, 241, 250};
const char* const kTransferCaptions[] = {"Linearization", "User Defined", "Not Used"};
} // namespace

int CTransferFnSetupDlg::CodeOfRadio(int index) { return index >= 0 && index < 3 ? kTransferCodes[index] : -1; }

int CTransferFnSetupDlg::RadioOfCode(int code) {
    for (int i = 0; i < 3; ++i)
        if (kTransferCodes[i] == code)
            return i;
    return -1;
}

CTransferFnSetupDlg::CTransferFnSetupDlg(IPageHost& host, int variableRow, QWidget* parent)
    : CTrimDialog(host, parent), m_nVariableRow(variableRow) {
    setWindowTitle(QStringLiteral("Transmitter Transfer FN Setup"));
    setObjectName(IdName(IDD_TRANSFER_FN_SETUP));
    m_wndVariable = trim::Named(new QComboBox(this), IDC_TFN_VARIABLE);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Transmitter Variable :"), this));
    top->addWidget(m_wndVariable, 1);

    auto makeGroup = [this](const QString& title, int firstId, trim::RadioGroup& group) {
        auto* box = new QGroupBox(title, this);
        auto* l = new QVBoxLayout(box);
        for (int i = 0; i < 3; ++i) {
            auto* r = trim::Radio(box, firstId + i, QString::fromLatin1(kTransferCaptions[i]));
            group.Add(r);
            l->addWidget(r);
        }
        return box;
    };
    auto* groups = new QHBoxLayout;
    groups->addWidget(makeGroup(QStringLiteral("Transmitter Variable Linearization"), IDC_TFN_VAR_LINEARIZATION, m_variable));
    groups->addWidget(makeGroup(QStringLiteral("Cold Junction"), IDC_TFN_CJ_LINEARIZATION, m_coldJunction));

    auto* setup = trim::Button(this, IDC_TFN_SETUP, QStringLiteral("Setup"));
    setup->setDefault(true);
    auto* exit = trim::Button(this, IDCANCEL_BUTTON, QStringLiteral("Exit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(setup);
    buttons->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    connect(m_wndVariable, &QComboBox::activated, this, [this] { Send(165); });
    connect(setup, &QPushButton::clicked, this, [this] { Send(155); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void CTransferFnSetupDlg::OnInitDialog() {
    hart::FillCodeCombo(hart::VariableCodeTable(), m_wndVariable);
    m_wndVariable->setCurrentIndex(m_nVariableRow);
    m_variable.Select(-1);
    m_coldJunction.Select(-1);
    BecomeReceiver();
    Send(165);
}

void CTransferFnSetupDlg::Send(int command) {
    QueueCommand(command);
    SendWhenIdle();
}

bool CTransferFnSetupDlg::PrepareRequest(int command, int& byteCount) {
    const int variable = CodeAt(hart::VariableCodeTable(), m_wndVariable->currentIndex());
    if (variable < 0) {
        vmc::PlainBox(QStringLiteral("Select a Transmitter Variable!"));
        m_wndVariable->setFocus();
        return false;
    }
    Comm().SetRequestOffset(0);
    Comm().SetXInt8(variable);
    byteCount = 1;
    if (command == 155) {
        // No choice goes out as 255 (the low byte of -1); the transmitter refuses it.
        const int codes[] = {0, CodeOfRadio(m_variable.Selected()), 3, CodeOfRadio(m_coldJunction.Selected())};
        for (int i = 0; i < 4; ++i) {
            Comm().SetRequestOffset(i + 1);
            Comm().SetXInt8(codes[i] & 0xFF);
        }
        byteCount = 5;
    }
    return true;
}

void CTransferFnSetupDlg::OnReceive(int command, int dataCount) {
    if (command != 155 && command != 165)
        return;
    if (dataCount <= 0) {
        if (Host().Relay().LastResponseCode() == 9)
            m_wndVariable->setFocus();
        ReportCommandError(4, QString::number(command));
        SendNextCommand();
        return;
    }
    Comm().SetResponseOffset(0);
    m_wndVariable->setCurrentIndex(hart::FindCodeIndex(hart::VariableCodeTable(), Comm().GetXInt8()));
    Comm().SetResponseOffset(2);
    m_variable.Select(RadioOfCode(Comm().GetXInt8()));
    if (dataCount > 3) {
        Comm().SetResponseOffset(4);
        m_coldJunction.Select(RadioOfCode(Comm().GetXInt8()));
    }
    SendNextCommand();
}

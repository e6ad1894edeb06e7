#include "pages/transmitter/CommandTestDialog.h"

#include "pages/common/UpperEdit.h"
#include "pages/transmitter/CommandTestRow.h"
#include "pages/transmitter/Form.h"
#include "pages/transmitter/TransmitterIds.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace res;

namespace {

bool Refuse(QWidget* field, const QString& text) {
    vmc::PlainBox(text);
    field->setFocus();
    return false;
}

QString InvalidLengthText() { return QStringLiteral("Data Length is invalid value."); }

} // namespace

CCommandTestDlg::CCommandTestDlg(IPageHost& host, QWidget* parent) : CHartDialog(host, parent) {
    setObjectName(QString::number(IDD_COMMAND_TEST));
    setWindowTitle(QStringLiteral("HART Command Test"));

    auto* request = new QGroupBox(QStringLiteral("Request"), this);
    auto* rGrid = new QGridLayout(request);
    m_command = form::Edit(request, IDC_TEST_COMMAND);
    m_offset = form::Edit(request, IDC_TEST_OFFSET);
    m_offsetSpin = new CSpinBuddy(m_offset, IDC_TEST_OFFSET_SPIN, request);
    m_offsetSpin->SetRange(0, commandtest::kMaxOffset);
    m_type = form::DropList(request, IDC_TEST_DATA_TYPE);
    for (int t = 0; t < commandtest::kTypeCount; ++t)
        m_type->addItem(QLatin1String(commandtest::TypeName(t)));
    m_type->setCurrentIndex(-1);
    m_value = form::Named(new CUpperEdit(request), IDC_TEST_DATA_VALUE);
    m_length = form::Edit(request, IDC_TEST_DATA_LENGTH);
    int row = 0;
    form::Row(rGrid, row++, QStringLiteral("HART Cmd:"), m_command);
    form::Row(rGrid, row++, QStringLiteral("Offset:"), m_offset, m_offsetSpin);
    form::Row(rGrid, row++, QStringLiteral("Data Type:"), m_type);
    form::Row(rGrid, row++, QStringLiteral("Data Value:"), m_value);
    form::Row(rGrid, row++, QStringLiteral("Data Length:"), m_length);
    auto* add = form::Button(request, IDC_TEST_ADD, QStringLiteral(">"));
    auto* remove = form::Button(request, IDC_TEST_REMOVE, QStringLiteral("<"));
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    arrows->addWidget(add);
    arrows->addWidget(remove);
    arrows->addStretch(1);
    m_list = form::Named(new QTreeWidget(request), IDC_TEST_REQUEST_LIST);
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({QStringLiteral("Offset"), QStringLiteral("Data Value"), QStringLiteral("Len")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    m_list->setMinimumWidth(220);
    m_list->header()->resizeSection(0, 50);
    m_list->header()->resizeSection(1, 110);
    m_list->header()->resizeSection(2, 40);
    m_list->headerItem()->setTextAlignment(0, Qt::AlignCenter);
    m_list->headerItem()->setTextAlignment(2, Qt::AlignRight);
    auto* listBox = new QVBoxLayout;
    listBox->addWidget(new QLabel(QStringLiteral("Request Data List:")));
    listBox->addWidget(m_list);
    rGrid->addLayout(arrows, 0, 3, row, 1);
    rGrid->addLayout(listBox, 0, 4, row, 1);

    auto* response = new QGroupBox(QStringLiteral("Response"), this);
    auto* aGrid = new QGridLayout(response);
    m_responseCommand = form::Edit(response, IDC_TEST_RESPONSE_COMMAND, true);
    m_dataBytes = form::Edit(response, IDC_TEST_DATA_BYTES, true);
    m_code0 = form::Edit(response, IDC_TEST_RESPONSE_CODE0, true);
    m_code1 = form::Edit(response, IDC_TEST_RESPONSE_CODE1, true);
    m_buffer = form::Edit(response, IDC_TEST_DATA_BUFFER, true);
    row = 0;
    form::Row(aGrid, row++, QStringLiteral("HART Cmd:"), m_responseCommand);
    form::Row(aGrid, row++, QStringLiteral("Data Bytes:"), m_dataBytes);
    form::Row(aGrid, row++, QStringLiteral("Response Code0:"), m_code0);
    form::Row(aGrid, row++, QStringLiteral("Response Code1:"), m_code1);
    form::Row(aGrid, row++, QStringLiteral("Data Buffer:"), m_buffer);

    auto* run = form::Button(this, IDC_TEST_RUN, QStringLiteral("Run"));
    run->setDefault(true);
    auto* exit = form::Button(this, 2, QStringLiteral("Exit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(run);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(request);
    layout->addWidget(response);
    layout->addLayout(buttons);

    m_offset->setText(QStringLiteral("0"));
    m_length->setText(QStringLiteral("0"));
    m_dataBytes->setText(QStringLiteral("0"));
    connect(m_command, &QLineEdit::textChanged, this, [this] { ClearFields(); });
    connect(m_offset, &QLineEdit::textChanged, this, [this] { m_value->clear(); });
    connect(m_type, &QComboBox::currentIndexChanged, this, &CCommandTestDlg::OnDataType);
    connect(add, &QPushButton::clicked, this, &CCommandTestDlg::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CCommandTestDlg::OnRemove);
    connect(run, &QPushButton::clicked, this, &CCommandTestDlg::OnRun);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    // Whatever the link was still waiting for is given up: this window owns the loop now.
    BecomeReceiver();
    Comm().KillResponseTimer();
}

void CCommandTestDlg::ClearFields() {
    m_offset->setText(QStringLiteral("0"));
    m_value->clear();
    m_length->setText(QStringLiteral("0"));
    m_responseCommand->clear();
    m_dataBytes->setText(QStringLiteral("0"));
    m_code0->clear();
    m_code1->clear();
    m_buffer->clear();
    m_list->clear();
}

void CCommandTestDlg::OnDataType(int index) {
    if (index < 0)
        return;
    const int fixed = commandtest::FixedLength(index);
    m_length->setReadOnly(fixed > 0);
    if (fixed > 0)
        m_length->setText(QString::number(fixed));
}

void CCommandTestDlg::OnAdd() {
    using commandtest::RowFault;
    const int type = m_type->currentIndex();
    const QString value = m_value->text();
    switch (commandtest::CheckRow(type, m_offset->text(), value, m_length->text())) {
    case RowFault::None: break;
    case RowFault::NoType: Refuse(m_type, QStringLiteral("Select a Data Type!")); return;
    case RowFault::NoValue: Refuse(m_value, QStringLiteral("Input a Data Value!")); return;
    case RowFault::BadLength: Refuse(m_length, InvalidLengthText()); return;
    case RowFault::BadValue: Refuse(m_value, QStringLiteral("Data Value is invalid value.")); return;
    case RowFault::BadOffset: Refuse(m_offset, QStringLiteral("Offset is invalid value.")); return;
    }
    const int offset = m_offset->text().trimmed().toInt();
    const int length = m_length->text().trimmed().toInt();
    auto* item = new QTreeWidgetItem(m_list, {QString::number(offset), value, QString::number(length)});
    item->setTextAlignment(0, Qt::AlignCenter);
    item->setTextAlignment(2, Qt::AlignRight);
    item->setData(0, Qt::UserRole, type);
}

void CCommandTestDlg::OnRemove() { qDeleteAll(m_list->selectedItems()); }

void CCommandTestDlg::OnRun() {
    bool ok = false;
    const int command = m_command->text().trimmed().toInt(&ok);
    if (!ok || command < 0 || command > 255) {
        Refuse(m_command, QStringLiteral("Please enter an integer between 0 and 255."));
        return;
    }
    if (command == 38 && Comm().GetMasterType() == 1) {
        vmc::PlainBox(QStringLiteral("Secondary Master can not Reset."));
        return;
    }
    // Rows go in list order; a first row at an offset other than 0 adds to what the link holds.
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = m_list->topLevelItem(i);
        commandtest::SetRequestRow(Comm(), row->text(0).toInt(), row->data(0, Qt::UserRole).toInt(), row->text(1),
                                   row->text(2).toInt());
    }
    // The byte count is what the frame carries, so the device never reads past the data.
    const int total = static_cast<int>(Comm().RequestBytes().size());
    if (total > commandtest::kMaxDataBytes) {
        Comm().DeleteRequestItems();
        Refuse(m_list, InvalidLengthText());
        return;
    }
    BecomeReceiver();
    if (!Comm().Request(command, total))
        ReportRequestFailure(Comm(), command);
}

void CCommandTestDlg::OnReceive(int command, int dataCount) {
    const CLinkRelay& relay = Host().Relay();
    m_responseCommand->setText(QString::number(command));
    m_dataBytes->setText(QString::number(dataCount));
    m_code0->setText(QStringLiteral("%1").arg(relay.LastResponseCode(), 2, 16, QLatin1Char('0')).toUpper());
    m_code1->setText(QStringLiteral("%1").arg(relay.LastDeviceStatus(), 2, 16, QLatin1Char('0')).toUpper());
    // An answer without data leaves the link's fields of the previous answer: show none.
    m_buffer->setText(dataCount > 0 ? Comm().GetResponseHexText() : QString());
}

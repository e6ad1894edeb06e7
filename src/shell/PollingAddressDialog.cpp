#include "shell/PollingAddressDialog.h"

#include "platform/MessageBox.h"
#include "resources/ControlIds.h"
#include "shell/PageHost.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString Ko(const char* text) { return QString::fromUtf8(text); }

const char* const kLineInOrder1 = "변경할 번호의 스위치만 올려주세요.";
const char* const kLineInOrder2 = "트랜스미터의 Polling Address를 순서대로 변경";
const char* const kLineAllZero1 = "모든 스위치를 올려주세요.";
const char* const kLineAllZero2 = "모든 트랜스미터를 0번 Address로 변경";
const char* const kLineRun = "실행 버튼을 눌러주세요.";
const char* const kLineManualInOrder = "현재 Polling 0 ---> 변경할 주소 버튼 클릭";
const char* const kLineManualAllZero = "변경할 주소 버튼 클릭 ---> Polling 0으로 변경";

QRadioButton* Radio(const char* text, int id, QWidget* parent) {
    auto* r = new QRadioButton(Ko(text), parent);
    r->setObjectName(res::IdName(id));
    return r;
}

} // namespace

CPollingAddressDlg::CPollingAddressDlg(IPageHost& host, QWidget* parent) : QDialog(parent), m_host(host) {
    setObjectName(res::IdName(res::IDD_POLLING_ADDRESS_SETTING));
    setWindowTitle(QStringLiteral("PollingAddress Setting"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(Ko("설정할 트랜스 미터  갯수  : "), this));
    m_count = new QSpinBox(this);
    m_count->setObjectName(res::IdName(res::IDC_PAS_COUNT));
    m_count->setRange(1, 15);
    countRow->addWidget(m_count);
    countRow->addWidget(new QLabel(Ko("대"), this));
    countRow->addStretch(1);
    layout->addLayout(countRow);

    auto* choices = new QHBoxLayout;
    auto* wayBox = new QGroupBox(Ko(" 설정할 방식 "), this);
    auto* wayRow = new QHBoxLayout(wayBox);
    m_inOrder = Radio("순서대로", res::IDC_PAS_IN_ORDER, wayBox);
    m_allToZero = Radio("모두 0으로", res::IDC_PAS_ALL_ZERO, wayBox);
    wayRow->addWidget(m_inOrder);
    wayRow->addWidget(m_allToZero);
    auto* opBox = new QGroupBox(Ko(" 자동 / 수동 "), this);
    auto* opRow = new QHBoxLayout(opBox);
    m_automatic = Radio("자동", res::IDC_PAS_AUTOMATIC, opBox);
    m_manual = Radio("수동", res::IDC_PAS_MANUAL, opBox);
    opRow->addWidget(m_automatic);
    opRow->addWidget(m_manual);
    choices->addWidget(wayBox);
    choices->addWidget(opBox);
    layout->addLayout(choices);

    auto* manualBox = new QGroupBox(Ko(" 수동 조작 "), this);
    auto* grid = new QGridLayout(manualBox);
    for (int n = 1; n <= 15; ++n) {
        auto* b = new QPushButton(QStringLiteral("Polling %1").arg(n), manualBox);
        b->setObjectName(res::IdName(res::PollingButtonId(n)));
        grid->addWidget(b, (n - 1) / 5, (n - 1) % 5);
        m_polling[static_cast<std::size_t>(n - 1)] = b;
        connect(b, &QPushButton::clicked, this, [this, n] {
            m_bRetried = false; // a manual step is a run of its own
            OnPollingButton(n);
        });
    }
    layout->addWidget(manualBox);

    m_line1 = new QLabel(this);
    m_line1->setObjectName(res::IdName(res::IDC_PAS_LINE1));
    m_line2 = new QLabel(this);
    m_line2->setObjectName(res::IdName(res::IDC_PAS_LINE2));
    m_line3 = new QLabel(this);
    m_line3->setObjectName(res::IdName(res::IDC_PAS_LINE3));
    for (QLabel* l : {m_line1, m_line2, m_line3})
        layout->addWidget(l);

    auto* idBox = new QGroupBox(QStringLiteral(" Product ID "), this);
    auto* idRow = new QHBoxLayout(idBox);
    idRow->addWidget(new QLabel(QStringLiteral("Product ID :"), idBox));
    m_productId = new QSpinBox(idBox);
    m_productId->setObjectName(res::IdName(res::IDC_PAS_PRODUCT_ID));
    m_productId->setRange(0, 0xFFFFFF);
    idRow->addWidget(m_productId, 1);
    layout->addWidget(idBox);

    auto* buttons = new QHBoxLayout;
    m_run = new QPushButton(Ko("실 행"), this);
    m_run->setObjectName(res::IdName(res::IDC_PAS_RUN));
    auto* close = new QPushButton(Ko("닫 기"), this);
    close->setObjectName(res::IdName(res::IDCANCEL_BUTTON));
    buttons->addStretch(1);
    buttons->addWidget(m_run);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    m_inOrder->setChecked(true);
    m_automatic->setChecked(true);
    for (QRadioButton* r : {m_inOrder, m_allToZero, m_automatic, m_manual})
        connect(r, &QRadioButton::clicked, this, [this] { RefreshTexts(); });
    connect(m_count, &QSpinBox::valueChanged, this, [this] { RefreshTexts(); });
    connect(m_run, &QPushButton::clicked, this, [this] { OnRun(); });
    connect(close, &QPushButton::clicked, this, [this] { Close(); });
}

CPollingAddressDlg::~CPollingAddressDlg() = default;

void CPollingAddressDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_bStarted) {
        m_bStarted = true;
        Start();
    }
}

void CPollingAddressDlg::Start() {
    m_host.Comm().RemoveAllDevices();
    m_host.Relay().SetReceiver(Handle());
    m_nStep = 0;
    m_nTalkAddress = 0;
    m_nNewAddress = 0;
    m_bIdentityWritten = false;
    m_bRetried = false;
    m_CommandQueue.RemoveAll();
    RefreshTexts();
}

void CPollingAddressDlg::ReadFields() {
    m_nCount = m_count->value();
    m_nWay = m_allToZero->isChecked() ? kAllToZero : kInOrder;
    m_nOperation = m_manual->isChecked() ? kManual : kAutomatic;
    m_nProductId = m_productId->value();
}

void CPollingAddressDlg::ShowFields() { m_productId->setValue(m_nProductId); }

void CPollingAddressDlg::RefreshTexts() {
    ReadFields();
    const bool inOrder = m_nWay == kInOrder;
    const bool manual = m_nOperation == kManual;
    m_line1->setText(Ko(inOrder ? kLineInOrder1 : kLineAllZero1));
    m_line2->setText(Ko(inOrder ? kLineInOrder2 : kLineAllZero2));
    m_line3->setText(Ko(!manual ? kLineRun : inOrder ? kLineManualInOrder : kLineManualAllZero));
    for (QPushButton* b : m_polling)
        b->setEnabled(manual);
    m_run->setEnabled(!manual);
}

void CPollingAddressDlg::OnRun() {
    ReadFields();
    m_nStep = 0;
    m_bRetried = false;
    vmc::ShowBox(Ko("알림"),
                 Ko(m_nWay == kInOrder ? "1번 트랜스미터의 스위치만 올려주세요." : "모든 트랜스미터의 스위치를 올려주세요."),
                 vmc::BoxIcon::Warning);
    NextStep();
}

void CPollingAddressDlg::NextStep() {
    if (m_nStep < m_nCount)
        OnPollingButton(m_nStep + 1);
}

void CPollingAddressDlg::OnPollingButton(int n) {
    ReadFields();
    m_bIdentityWritten = false;
    if (m_nWay == kInOrder) {
        m_nTalkAddress = 0;
        m_nNewAddress = n;
    } else {
        m_nTalkAddress = n;
        m_nNewAddress = 0;
    }
    if (m_nOperation == kManual)
        ++m_nStep;
    else
        m_nStep = n;
    m_CommandQueue.AddTail(0);
    SendNextCommand();
}

void CPollingAddressDlg::SendNextCommand() {
    if (m_CommandQueue.IsEmpty())
        return;
    CHartComm& comm = m_host.Comm();
    const int command = m_CommandQueue.RemoveHead();
    comm.SetPollingAddress(m_nTalkAddress);
    m_host.UpdatePollingPane();
    int count = 0;
    comm.DeleteRequestItems();
    if (command == 6) {
        comm.SetRequestOffset(0);
        comm.SetXInt8(m_nNewAddress);
        count = 1;
    } else if (command == 170) {
        comm.SetRequestOffset(0);
        comm.SetXInt8(comm.GetManufacturerCode(m_nTalkAddress));
        comm.SetRequestOffset(1);
        comm.SetXInt8(comm.GetDeviceTypeCode(m_nTalkAddress));
        comm.SetRequestOffset(2);
        comm.SetXInt24(m_nProductId);
        comm.SetRequestOffset(3);
        comm.SetXInt8(comm.GetManufacturerCode(m_nTalkAddress));
        count = 6;
    }
    if (!comm.Request(command, count))
        ReportRequestFailure(comm, command);
}

void CPollingAddressDlg::OnReceive(int command, int count) {
    if (count <= 0) {
        m_CommandQueue.AddTail(command); // sent with the operator's next step
        return;
    }
    CHartComm& comm = m_host.Comm();
    if (command == 0) {
        if (m_nStep <= m_nCount)
            m_CommandQueue.AddTail(m_nWay == kAllToZero || m_bIdentityWritten ? 6 : 170);
    } else if (command == 170) {
        if (m_nStep <= m_nCount) {
            m_bIdentityWritten = true;
            ++m_nProductId;
            m_CommandQueue.AddTail(0);
        }
    } else if (command == 6) {
        comm.SetResponseOffset(0);
        m_nNewAddress = comm.GetXInt8();
        m_host.UpdatePollingPane();
        ShowStepMessage();
        if (m_bClosed)
            return;
    }
    ShowFields();
    SendNextCommand();
}

void CPollingAddressDlg::ShowStepMessage() {
    const int k = m_nStep;
    const bool manual = m_nOperation == kManual;
    QString text;
    if (k == m_nCount) {
        text = Ko("마지막 트랜스미터를 변경했습니다.");
    } else if (m_nWay == kAllToZero) {
        text = Ko("%1 번 트랜스미터를 변경했습니다.").arg(k);
    } else if (manual) {
        text = Ko("%1 번째 트랜스미터를 변경했습니다.\r\n\r\n%2 번째 변경한 트랜스미터의 스위치를 내려주시고\r\n"
                  "다음 트랜스미터의 스위치를 올려주세요.\r\n\r\n준비가 끝나시면 확인을 눌러주세요.")
                   .arg(k)
                   .arg(k);
    } else {
        text = Ko("%1 번 트랜스미터를 변경했습니다.\r\n\r\n%2 번 트랜스미터의 스위치를 내려주시고\r\n"
                  "%3 번 트랜스미터의 스위치를 올려주세요.\r\n\r\n준비가 끝나시면 확인을 눌러주세요.")
                   .arg(k)
                   .arg(k)
                   .arg(k + 1);
    }
    vmc::ShowBox(Ko("작업진행중..."), text, vmc::BoxIcon::Warning);

    if (k < m_nCount) {
        if (!manual)
            NextStep();
        return;
    }
    if (vmc::ShowBox(Ko("작업완료"), Ko("작업이 완료되었습니다.\r\n작업을 종료하시겠습니까?"), vmc::BoxIcon::None,
                     vmc::MB_YESNO) == vmc::IDYES) {
        Close();
        return;
    }
    m_nStep = 0;
    if (!manual && vmc::ShowBox(Ko("작업설정"), Ko("이전 작업과 같은 작업을 반복하시겠습니까?"), vmc::BoxIcon::None,
                                vmc::MB_YESNO) == vmc::IDYES) {
        m_bRetried = false;
        NextStep();
    }
}

void CPollingAddressDlg::OnFail(int state) {
    const bool noResponse = state == hart::NORESPONSE_COM_STATE;
    const QString caption = Ko(noResponse ? "응답없음" : "에러 발생");
    if (!m_bRetried) {
        vmc::ShowBox(caption,
                     Ko(noResponse ? "응답없으므로 다시 통신을 시도합니다." : "에러가 발생했습니다. 통신을 다시 시도합니다."),
                     vmc::BoxIcon::Warning);
        m_bRetried = true;
        m_CommandQueue.AddTail(0);
    } else {
        vmc::ShowBox(caption,
                     Ko(m_nWay == kAllToZero
                            ? "트랜스미터와 통신하는데 실패하였습니다.\r\n실패한 트랜스미터와의 연결부분을 다시 "
                              "확인해주십시요.\r\n혹은 해당 Polling Address를 다시 확인해주십시요."
                            : "트랜스미터와 통신하는데 실패하였습니다.\r\n자동조작이 중지됩니다.\r\n실패한 "
                              "트랜스미터부터 수동 조작해주십시요."),
                     vmc::BoxIcon::Warning);
        m_bRetried = false;
        m_nStep = 0;
    }
    SendNextCommand();
}

void CPollingAddressDlg::Close() {
    CHartComm& comm = m_host.Comm();
    comm.DeleteDevice(m_nNewAddress);
    m_CommandQueue.RemoveAll();
    comm.KillResponseTimer();
    done(QDialog::Rejected);
}

void CPollingAddressDlg::done(int result) {
    if (m_bClosed)
        return;
    m_bClosed = true;
    QDialog::done(result);
}

vmc::LRESULT CPollingAddressDlg::OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) {
    if (m_bClosed)
        return 0;
    switch (msg) {
    case vmc::WM_HART_RECEIVE: OnReceive(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case vmc::WM_HART_FAIL: OnFail(static_cast<int>(wParam)); return 0;
    default: return 0;
    }
}

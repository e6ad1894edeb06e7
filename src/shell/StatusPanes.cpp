#include "shell/StatusPanes.h"

#include "link/LinkThread.h"
#include "resources/Strings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace {
// X11 reports NumLock as the Mod2 bit of a key event's native modifiers.
constexpr quint32 kNativeNumLock = 0x10;
} // namespace

CStatusPanes::CStatusPanes(QStatusBar* bar) : QObject(bar), m_bar(bar) {
    const int widths[5] = {100, 60, 100, 80, 40};
    const QString texts[5] = {res::LoadString(res::IDS_IDLE_MESSAGE), res::LoadString(res::IDS_PANE_POLLING),
                              res::LoadString(res::IDS_PANE_BLANK), res::LoadString(res::IDS_PANE_RETRY),
                              QStringLiteral("NUM")};
    for (int i = 0; i < 5; ++i) {
        auto* pane = new QLabel(texts[i], bar);
        pane->setObjectName(QStringLiteral("pane%1").arg(i));
        pane->setMinimumWidth(widths[i]);
        if (i > 0) {
            pane->setFixedWidth(widths[i]);
            pane->setFrameShape(QFrame::StyledPanel);
            pane->setFrameShadow(QFrame::Sunken);
        }
        m_panes[i] = pane;
    }
    bar->addWidget(m_panes[0], 1);
    for (int i = 1; i < 5; ++i)
        bar->addPermanentWidget(m_panes[i]);
    m_panes[4]->setEnabled(false);
    qApp->installEventFilter(this);
}

CStatusPanes::~CStatusPanes() { qApp->removeEventFilter(this); }

QLabel* CStatusPanes::Pane(int index) const { return index >= 0 && index < 5 ? m_panes[index] : nullptr; }

void CStatusPanes::SetMessageText(const QString& text) {
    m_panes[0]->setText(text.isEmpty() ? res::LoadString(res::IDS_IDLE_MESSAGE) : text);
}

QString CStatusPanes::MessageText() const { return m_panes[0]->text(); }

void CStatusPanes::UpdatePolling(int pollingAddress) {
    m_panes[1]->setText(pollingAddress == -1 ? QStringLiteral("Polling: ")
                                             : QStringLiteral("Polling: %1").arg(pollingAddress));
    m_panes[3]->setText(QStringLiteral("Retry : 0"));
}

void CStatusPanes::OnComState(int state, int retry) {
    if (state == hart::SEND_COM_STATE || state == hart::RETRY_COM_STATE || state == hart::NORESPONSE_COM_STATE)
        m_panes[3]->setText(QStringLiteral("Retry : %1").arg(retry));
}

bool CStatusPanes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->nativeModifiers() != 0 || key->nativeScanCode() != 0)
            m_panes[4]->setEnabled((key->nativeModifiers() & kNativeNumLock) != 0);
    }
    return QObject::eventFilter(watched, event);
}

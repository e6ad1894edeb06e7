#include "pages/transmitter/WaitDialog.h"

#include "pages/transmitter/Form.h"
#include "pages/transmitter/TransmitterIds.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int kDots = 12;
constexpr int kFrameMs = 80;
} // namespace

CBusyIndicator::CBusyIndicator(QWidget* parent) : QWidget(parent) {
    setMinimumSize(48, 48);
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kDots;
        update();
    });
}

void CBusyIndicator::Play() { m_timer.start(); }

void CBusyIndicator::Stop() { m_timer.stop(); }

void CBusyIndicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    const QPointF centre = rect().center();
    const double radius = side * 0.36;
    const double dot = side * 0.07;
    const QColor base = palette().color(QPalette::Highlight);
    for (int i = 0; i < kDots; ++i) {
        // The brightest dot leads; the ones behind it fade.
        const int age = (m_step - i + kDots) % kDots;
        QColor c = base;
        c.setAlphaF(1.0 - static_cast<double>(age) / kDots * 0.85);
        const double angle = 2.0 * M_PI * i / kDots - M_PI / 2.0;
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(centre + QPointF(std::cos(angle) * radius, std::sin(angle) * radius), dot, dot);
    }
}

cWaitDialog::cWaitDialog(QWidget* parent)
    : QDialog(parent),
      m_text(form::Label(this, res::IDC_WAIT_TEXT, QStringLiteral("Calculating...please wait"))),
      m_indicator(form::Named(new CBusyIndicator(this), res::IDC_WAIT_ANIMATION)) {
    setObjectName(QString::number(res::IDD_WAIT));
    setWindowTitle(QStringLiteral("Please wait for a while..."));
    setModal(false);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(260);
    auto* cancel = form::Button(this, 2, QStringLiteral("Cancel"));
    cancel->hide();
    auto* row = new QHBoxLayout;
    row->addWidget(m_indicator);
    row->addWidget(m_text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(cancel, 0, Qt::AlignRight);
}

void cWaitDialog::Show(const QString& message) {
    m_text->setText(message);
    m_indicator->Play();
    show();
}

void cWaitDialog::Hide() {
    m_indicator->Stop();
    hide();
}

QString cWaitDialog::Message() const { return m_text->text(); }

void cWaitDialog::closeEvent(QCloseEvent* e) { e->ignore(); }

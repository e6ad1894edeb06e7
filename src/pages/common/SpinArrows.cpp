#include "pages/common/SpinArrows.h"

#include <QToolButton>
#include <QVBoxLayout>

CSpinArrows::CSpinArrows(int id, int arrowWidth, QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    setObjectName(QString::number(id));
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(arrowWidth, 11);
        b->setFocusPolicy(Qt::NoFocus);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

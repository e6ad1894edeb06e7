#pragma once
// Pages of the user menu's last three commands on a simulated loop: controls by their ids, and
// waits for the paced command queues.
#include "common/PageFixture.h"
#include "sim/cmd/UserMenuCommands.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace testing_support {

template <class W = QWidget> W* Ctl(const QObject* parent, int id) {
    W* w = parent->findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
}

// Retypes an edit as the user does.
inline void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Chooses an entry of a drop-down list with the keyboard, as the user does.
inline void Choose(QComboBox* combo, int index) {
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

inline hart::Bytes FloatBytes(float v) {
    hart::Bytes b;
    hart::AppendFloat(b, v);
    return b;
}

class MiscPageTest : public PageOnSimTest {
protected:
    // Runs the loop until the link has written n frames and the last transaction ended, and the
    // page's pause after it (500 ms on the time scale) has passed.
    bool Settle(std::size_t n, int limitMs = 5000) {
        if (!WaitSent(n, limitMs))
            return false;
        QTest::qWait(60);
        return WaitIdle(limitMs);
    }
    // A fresh loop and link within one test (for tables of cases that each need a new device).
    void Restart() {
        TearDown();
        loop.RemoveAll();
        SetUp();
    }
    // Commands sent since the last ClearWrites.
    std::vector<int> Sent() { return SentCommands(*line); }
    template <class T, class F> auto OnDevice(int address, F f) {
        return loop.With([&](sim::SimLoop& l) { return f(l.AtAddress(address)->Ext<T>(), *l.AtAddress(address)); });
    }
    std::vector<QString> BoxTexts() { return Boxes().Texts(); }
};

} // namespace testing_support

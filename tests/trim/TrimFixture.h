#pragma once
// The trim pages and dialogs against the simulated loop: controls found by their resource ids,
// the floats of the frames that went out, and modal dialogs driven from inside their own loop.
#include "common/ModalDialogs.h"
#include "common/PageFixture.h"
#include "hart/Codecs.h"
#include "sim/cmd/TrimState.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace testing_support {

template <class W = QWidget> W* Ctl(const QWidget* root, int id) {
    W* w = root->findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << "no control " << id << " in " << root->objectName().toStdString();
    return w;
}

inline void Click(const QWidget* root, int id) {
    if (auto* b = Ctl<QAbstractButton>(root, id))
        b->click();
}

inline void Type(const QWidget* root, int id, const QString& text) {
    if (auto* e = Ctl<QLineEdit>(root, id)) {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
    }
}

inline QString TextOf(const QWidget* root, int id) {
    if (auto* l = root->findChild<QLabel*>(QString::number(id)))
        return l->text();
    if (auto* e = root->findChild<QLineEdit*>(QString::number(id)))
        return e->text();
    ADD_FAILURE() << "no text control " << id;
    return {};
}

inline float FloatAt(const hart::Bytes& b, std::size_t at) {
    return at + 4 <= b.size() ? hart::GetFloatBE(&b[at]) : std::numeric_limits<float>::quiet_NaN();
}

class TrimTest : public PageOnSimTest {
protected:
    std::vector<SentFrame> Frames() const { return SentFrames(*line); }
    std::vector<SentFrame> FramesOf(std::initializer_list<int> commands) const {
        std::vector<SentFrame> out;
        for (const auto& f : Frames())
            for (int c : commands)
                if (f.command == c)
                    out.push_back(f);
        return out;
    }
    // Until a frame of the command went out and the transaction ended.
    bool WaitCommand(int command, std::size_t count = 1, int limitMs = 5000) {
        return SpinUntil([&] { return FramesOf({command}).size() >= count; }, limitMs) && WaitIdle(limitMs);
    }
    template <class F> auto OnDevice(int address, F f) {
        return loop.With([&](sim::SimLoop& l) { return f(*l.AtAddress(address)); });
    }
};

// One trim dialog of type D, open on a transmitter at address 0.
template <class D> class TrimDialogTest : public TrimTest {
protected:
    void Open(const QString& model = QStringLiteral("KP510"), int revision = 2) {
        loop.AddDevice(model, 0, 1).deviceRevision = static_cast<std::uint8_t>(revision);
        ConnectTo(0);
        dlg = std::make_unique<D>(*host);
        dlg->show();
    }
    void TearDown() override {
        dlg.reset();
        TrimTest::TearDown();
    }
    // Command and data of every frame sent, in order.
    std::vector<std::pair<int, hart::Bytes>> Sent() const {
        std::vector<std::pair<int, hart::Bytes>> out;
        for (const auto& f : Frames())
            out.emplace_back(f.command, f.data);
        return out;
    }
    std::unique_ptr<D> dlg;
};

} // namespace testing_support

// "PollingAddress Setting" against transmitters that the operator switches onto the loop one at a
// time (here: moved between a bench and the loop while the step messages are open).
#include "ShellFixture.h"

#include "shell/PollingAddressDialog.h"
#include "shell/StandalonePageHost.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace testing_support;

namespace {

QString Ko(const char* s) { return QString::fromUtf8(s); }

class PollingAddressTest : public ::testing::Test {
protected:
    void SetUp() override {
        Boxes().Clear();
        Boxes().SetDefaultAnswer(-1);
        line = vmc::SimulatedLine::Create();
        host.Comm().SetPortFactory([l = line] { return l->CreatePort(); });
    }
    void TearDown() override {
        Boxes().SetObserver(nullptr);
        dlg.reset();
        host.Comm().Disconnect();
        loop.Stop();
    }
    // Transmitters waiting on the bench with their switches down.
    void Bench(int count, int address) {
        for (int i = 0; i < count; ++i) {
            loop.AddDevice("KP510", address, static_cast<std::uint32_t>(i + 1));
            loop.With([&](sim::SimLoop& l) {
                bench.push_back(std::move(l.Devices().back()));
                l.Devices().pop_back();
                return 0;
            });
        }
    }
    void SwitchOn(int k) { // 1-based
        loop.With([&](sim::SimLoop& l) {
            auto& slot = bench[static_cast<std::size_t>(k - 1)];
            if (slot)
                l.Devices().push_back(std::move(slot));
            return 0;
        });
    }
    void SwitchOff(std::uint32_t id) {
        loop.With([&](sim::SimLoop& l) {
            auto& v = l.Devices();
            for (auto it = v.begin(); it != v.end(); ++it) {
                if ((*it)->deviceId == id) {
                    done.push_back(std::move(*it));
                    v.erase(it);
                    break;
                }
            }
            return 0;
        });
    }
    void Open() {
        loop.Start(line->PeerFd());
        ASSERT_EQ(host.Comm().Connect(), 1);
        host.Comm().SetRetryCount(2);
        dlg = std::make_unique<CPollingAddressDlg>(host);
        dlg->show();
        QCoreApplication::processEvents();
    }
    template <class W> W* Control(int id) { return dlg->findChild<W*>(QString::number(id)); }
    void Choose(int count, bool inOrder, bool automatic, int productId) {
        Control<QSpinBox>(1044)->setValue(count);
        Control<QRadioButton>(inOrder ? 1310 : 1311)->click();
        Control<QRadioButton>(automatic ? 1312 : 1313)->click();
        Control<QSpinBox>(1165)->setValue(productId);
    }
    bool WaitClosed() { return SpinUntil([&] { return !dlg->isVisible(); }, 20000); }
    std::vector<std::pair<int, int>> AddressesAndIds() {
        return loop.With([](sim::SimLoop& l) {
            std::vector<std::pair<int, int>> out;
            for (auto& d : l.Devices())
                out.emplace_back(d->pollingAddress, static_cast<int>(d->deviceId));
            return out;
        });
    }

    std::shared_ptr<vmc::SimulatedLine> line;
    sim::SimLoop loop;
    CStandalonePageHost host;
    std::vector<std::unique_ptr<sim::SimDevice>> bench; // slot k-1: transmitter k, until switched on
    std::vector<std::unique_ptr<sim::SimDevice>> done;  // switched off again
    std::unique_ptr<CPollingAddressDlg> dlg;
};

TEST_F(PollingAddressTest, InOrderAutomaticRunGivesAddresses1To3AndIds100To102) {
    Bench(3, 0);
    Boxes().SetObserver([&](const vmc::BoxRecord& box) {
        if (box.caption == Ko("알림"))
            SwitchOn(1);
        if (box.caption == Ko("작업진행중...")) {
            // The operator lowers the switch of the transmitter just done and raises the next.
            const int k = dlg->StepCount();
            if (k < 3) {
                SwitchOff(static_cast<std::uint32_t>(100 + k - 1));
                SwitchOn(k + 1);
            }
        }
    });
    Open();
    Choose(3, true, true, 100);
    Control<QPushButton>(1358)->click();
    ASSERT_TRUE(WaitClosed());

    // All three back on the loop to check them.
    for (const auto& d : bench)
        ASSERT_EQ(d, nullptr) << "a transmitter was never switched on";
    loop.With([&](sim::SimLoop& l) {
        for (auto& d : done)
            l.Devices().push_back(std::move(d));
        return 0;
    });
    auto result = AddressesAndIds();
    std::sort(result.begin(), result.end());
    EXPECT_EQ(result, (std::vector<std::pair<int, int>>{{1, 100}, {2, 101}, {3, 102}}));

    const std::vector<QString> expected = {
        Ko("1번 트랜스미터의 스위치만 올려주세요."),
        Ko("1 번 트랜스미터를 변경했습니다.\r\n\r\n1 번 트랜스미터의 스위치를 내려주시고\r\n2 번 트랜스미터의 "
           "스위치를 올려주세요.\r\n\r\n준비가 끝나시면 확인을 눌러주세요."),
        Ko("2 번 트랜스미터를 변경했습니다.\r\n\r\n2 번 트랜스미터의 스위치를 내려주시고\r\n3 번 트랜스미터의 "
           "스위치를 올려주세요.\r\n\r\n준비가 끝나시면 확인을 눌러주세요."),
        Ko("마지막 트랜스미터를 변경했습니다."),
        Ko("작업이 완료되었습니다.\r\n작업을 종료하시겠습니까?"),
    };
    EXPECT_EQ(Boxes().Texts(), expected);
    EXPECT_EQ(Boxes().Boxes()[1].caption, Ko("작업진행중..."));
    EXPECT_EQ(Boxes().Boxes()[1].icon, vmc::BoxIcon::Warning);
    EXPECT_EQ(Boxes().Boxes()[4].caption, Ko("작업완료"));
    EXPECT_EQ(Boxes().Boxes()[4].buttons, vmc::MB_YESNO);
    EXPECT_EQ(Control<QSpinBox>(1165)->value(), 103);
    EXPECT_EQ(host.Comm().FindDevice(3), nullptr) << "closing forgets the record of the new address";
}

TEST_F(PollingAddressTest, AllToZeroSetsEveryTransmitterBackTo0) {
    for (int a : {1, 2})
        loop.AddDevice("KT410", a, 0x0A00 + static_cast<std::uint32_t>(a));
    Open();
    Choose(2, false, true, 0);
    Control<QPushButton>(1358)->click();
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(AddressesAndIds(), (std::vector<std::pair<int, int>>{{0, 0x0A01}, {0, 0x0A02}}));
    EXPECT_EQ(Boxes().Texts(), (std::vector<QString>{Ko("모든 트랜스미터의 스위치를 올려주세요."),
                                                      Ko("1 번 트랜스미터를 변경했습니다."),
                                                      Ko("마지막 트랜스미터를 변경했습니다."),
                                                      Ko("작업이 완료되었습니다.\r\n작업을 종료하시겠습니까?")}));
}

TEST_F(PollingAddressTest, InstructionsFollowTheChoices) {
    Open();
    struct Case {
        bool inOrder, automatic;
        const char *l1, *l2, *l3;
    };
    const Case cases[] = {
        {true, true, "변경할 번호의 스위치만 올려주세요.", "트랜스미터의 Polling Address를 순서대로 변경",
         "실행 버튼을 눌러주세요."},
        {false, true, "모든 스위치를 올려주세요.", "모든 트랜스미터를 0번 Address로 변경", "실행 버튼을 눌러주세요."},
        {true, false, "변경할 번호의 스위치만 올려주세요.", "트랜스미터의 Polling Address를 순서대로 변경",
         "현재 Polling 0 ---> 변경할 주소 버튼 클릭"},
        {false, false, "모든 스위치를 올려주세요.", "모든 트랜스미터를 0번 Address로 변경",
         "변경할 주소 버튼 클릭 ---> Polling 0으로 변경"},
    };
    for (const Case& c : cases) {
        Choose(3, c.inOrder, c.automatic, 0);
        EXPECT_EQ(Control<QLabel>(1359)->text(), Ko(c.l1));
        EXPECT_EQ(Control<QLabel>(1357)->text(), Ko(c.l2));
        EXPECT_EQ(Control<QLabel>(1360)->text(), Ko(c.l3));
        EXPECT_EQ(Control<QPushButton>(1358)->isEnabled(), c.automatic);
        for (int n : {1, 3, 4, 15})
            EXPECT_EQ(Control<QPushButton>(n <= 3 ? 1179 + n : 1180 + n)->isEnabled(), !c.automatic) << n;
    }
    EXPECT_EQ(dlg->findChild<QPushButton*>("1183"), nullptr);
}

TEST_F(PollingAddressTest, ARefusedAddressChangeWaitsAndGoesFirstOnTheNextStep) {
    sim::SimDevice& d = loop.AddDevice("KP510", 1, 0x0B01);
    d.writeProtect = 1; // command 6 answered with status bytes only
    Open();
    Choose(1, false, false, 0);
    Control<QPushButton>(1180)->click(); // "Polling 1": talk to 1, new address 0
    ASSERT_TRUE(SpinUntil([&] { return dlg->CommandQueue() == std::vector<std::int32_t>{6}; }));
    SpinUntil([] { return false; }, 200);
    EXPECT_EQ(loop.With([](sim::SimLoop& l) { return l.Devices()[0]->received[6]; }), 1) << "not sent again by itself";
    EXPECT_TRUE(Boxes().Boxes().empty());

    loop.With([](sim::SimLoop& l) { return l.Devices()[0]->writeProtect = 0; });
    line->ClearWrites();
    Control<QPushButton>(1180)->click();
    ASSERT_TRUE(SpinUntil([&] { return !Boxes().Boxes().empty(); }));
    auto first = sim::ParsedRequest{};
    std::size_t used = 0;
    ASSERT_FALSE(line->Writes().empty());
    ASSERT_EQ(sim::ParseRequest(line->Writes()[0].data(), line->Writes()[0].size(), first, &used), sim::ParseStatus::Frame);
    EXPECT_EQ(first.command, 6);
    EXPECT_EQ(AddressesAndIds(), (std::vector<std::pair<int, int>>{{0, 0x0B01}}));
}

TEST_F(PollingAddressTest, ASecondFailureStopsTheAutomaticRun) {
    Open(); // nothing on the loop
    Choose(2, true, true, 0);
    Control<QPushButton>(1358)->click();
    ASSERT_TRUE(SpinUntil([&] { return Boxes().Boxes().size() >= 3; }, 20000));
    SpinUntil([] { return false; }, 300);
    ASSERT_EQ(Boxes().Boxes().size(), 3u);
    EXPECT_EQ(Boxes().Boxes()[1].caption, Ko("응답없음"));
    EXPECT_EQ(Boxes().Boxes()[1].text, Ko("응답없으므로 다시 통신을 시도합니다."));
    EXPECT_EQ(Boxes().Boxes()[2].caption, Ko("응답없음"));
    EXPECT_EQ(Boxes().Boxes()[2].text, Ko("트랜스미터와 통신하는데 실패하였습니다.\r\n자동조작이 중지됩니다.\r\n실패한 "
                                          "트랜스미터부터 수동 조작해주십시요."));
    EXPECT_EQ(Boxes().Boxes()[2].icon, vmc::BoxIcon::Warning);
    EXPECT_EQ(dlg->StepCount(), 0);
    EXPECT_TRUE(dlg->isVisible());
}

} // namespace

#include "common/Recorder.h"
#include "common/SimFixture.h"
#include "platform/TimeScale.h"

#include <QElapsedTimer>
#include <thread>

using namespace testing_support;

TEST(MessageTarget, SendIsADirectCallPostIsQueued) {
    Recorder r;
    vmc::SendMessage(r.Handle(), 0x405, 3, 7);
    ASSERT_EQ(r.log.size(), 1u) << "send returns after the target handled it";
    vmc::PostMessage(r.Handle(), 0x406, 6, 0);
    EXPECT_EQ(r.log.size(), 1u) << "post does not call the target at once";
    QCoreApplication::processEvents();
    ASSERT_EQ(r.log.size(), 2u);
    EXPECT_EQ(r.log[1], (Received{0x406, 6, 0}));
}

TEST(MessageTarget, PostsFromAnotherThreadArriveInOrder) {
    Recorder r;
    std::thread t([h = r.Handle()] {
        for (int i = 0; i < 50; ++i)
            vmc::PostMessage(h, 0x402, static_cast<vmc::WPARAM>(i), 0);
    });
    t.join();
    ASSERT_TRUE(SpinUntil([&] { return r.log.size() == 50u; }));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(r.log[static_cast<std::size_t>(i)].wParam, static_cast<vmc::WPARAM>(i));
}

TEST(MessageTarget, HandleOfAGoneTargetIsEmptyAndPendingPostsAreDropped) {
    vmc::TargetHandle h;
    {
        Recorder r;
        h = r.Handle();
        EXPECT_TRUE(h.IsValid());
        vmc::PostMessage(h, 0x405, 0, 0);
    }
    EXPECT_FALSE(h.IsValid());
    EXPECT_EQ(vmc::SendMessage(h, 0x405, 0, 0), 0);
    EXPECT_FALSE(vmc::PostMessage(h, 0x405, 0, 0));
    QCoreApplication::processEvents(); // the earlier post must not reach freed memory
}

TEST(MessageTarget, TimersRepeatOnTheTimeScaleUntilKilled) {
    Recorder r;
    r.SetTimer(10, 1500); // 75 ms at the tests' scale
    EXPECT_TRUE(r.IsTimerActive(10));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(SpinUntil([&] { return r.Of(vmc::WM_TIMER).size() >= 2; }));
    EXPECT_EQ(r.Of(vmc::WM_TIMER).front().wParam, 10u);
    r.KillTimer(10);
    EXPECT_FALSE(r.IsTimerActive(10));
    const auto fired = r.Of(vmc::WM_TIMER).size();
    SpinUntil([] { return false; }, 200);
    EXPECT_EQ(r.Of(vmc::WM_TIMER).size(), fired);
}

TEST(TimeScale, ScalesPeriodsButNeverToZero) {
    const double old = vmc::TimeScale();
    vmc::SetTimeScale(0.01);
    EXPECT_EQ(vmc::ScaledMs(1500), 15);
    EXPECT_EQ(vmc::ScaledMs(10), 1);
    EXPECT_EQ(vmc::ScaledMs(0), 0);
    vmc::SetTimeScale(-1.0); // ignored
    EXPECT_EQ(vmc::TimeScale(), 0.01);
    vmc::SetTimeScale(old);
}

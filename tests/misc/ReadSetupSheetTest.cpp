// The sheet whose "Read" and "Setup"/"Apply" buttons go to the active page, and a page's queue
// after a failed transaction.
#include "MiscFixture.h"

#include "common/Recorder.h"
#include "pages/common/HartPage.h"
#include "pages/common/ReadSetupSheet.h"

#include <QPushButton>

using namespace testing_support;

namespace {

// Records the sheet messages it gets; "Read" queues command 12.
class ProbePage : public CHartPage {
public:
    ProbePage(IPageHost& host, const QString& caption) : CHartPage(host, caption) {}
    std::vector<unsigned> got;

protected:
    vmc::LRESULT OnOtherMessage(unsigned msg, vmc::WPARAM, vmc::LPARAM) override {
        got.push_back(msg);
        if (msg == vmc::WM_SHEET_WRITE)
            CReadSetupSheet::Of(this)->ReadButton()->setEnabled(false);
        return 0;
    }
};

class ReadSetupSheetTest : public MiscPageTest {};

TEST_F(ReadSetupSheetTest, ButtonsGoToTheActivePage) {
    for (auto writer : {CReadSetupSheet::Writer::Apply, CReadSetupSheet::Writer::Setup}) {
        const bool setup = writer == CReadSetupSheet::Writer::Setup;
        SCOPED_TRACE(setup ? "Setup" : "Apply");
        CReadSetupSheet sheet("Sheet", writer);
        auto* first = new ProbePage(*host, "First");
        auto* second = new ProbePage(*host, "Second");
        sheet.AddPage(first);
        sheet.AddPage(second);
        sheet.Open();
        QPushButton* read = sheet.ReadButton();
        QPushButton* write = sheet.WriteButton();
        EXPECT_EQ(read->objectName(), "8194");
        EXPECT_EQ(write->objectName(), setup ? "8195" : "12321");
        EXPECT_EQ(write->text(), setup ? "Setup" : "Apply");
        EXPECT_EQ(write->isEnabled(), !setup) << "Setup starts disabled, Apply enabled";
        EXPECT_EQ(sheet.ApplyButton()->isVisible(), !setup);
        EXPECT_FALSE(sheet.OkButton()->isVisible());
        EXPECT_EQ(sheet.CancelButton()->text(), "Exit");
        EXPECT_TRUE(read->isVisible());
        if (setup) {
            EXPECT_LT(read->geometry().right(), write->geometry().left());
        }

        write->setEnabled(true);
        QTest::mouseClick(read, Qt::LeftButton);
        QTest::mouseClick(write, Qt::LeftButton);
        EXPECT_EQ(first->got, (std::vector<unsigned>{vmc::WM_SHEET_READ, vmc::WM_SHEET_WRITE}));
        EXPECT_FALSE(read->isEnabled()) << "the page switches the buttons";
        read->setEnabled(true);
        sheet.SetActivePage(1);
        QTest::mouseClick(write, Qt::LeftButton);
        EXPECT_EQ(second->got, std::vector<unsigned>{vmc::WM_SHEET_WRITE});
        EXPECT_EQ(first->got.size(), 2u);
        EXPECT_TRUE(sheet.isVisible()) << "writing does not close the sheet";
    }
}

// After a transaction failed, the link stays in state 6 until the next request; a page's queued
// command must still go out.
TEST_F(ReadSetupSheetTest, QueueStillSendsAfterAFailedTransaction) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    host->Comm().SetRetryCount(1);
    ConnectTo(0);
    ProbePage page(*host, "Probe");
    loop.With([&](sim::SimLoop&) { return d.faults.silent = 1; });
    page.QueueCommand(12);
    page.SendWhenIdle();
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(host->Comm().GetComState(), 6);
    EXPECT_EQ(BoxTexts(), std::vector<QString>{"No Response!"});
    line->ClearWrites();
    page.QueueCommand(16);
    page.SendWhenIdle();
    ASSERT_TRUE(WaitSent(1));
    EXPECT_EQ(Sent(), std::vector<int>{16});
}

} // namespace

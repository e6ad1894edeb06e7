// The linearization table dialogs and the transfer-function setup against a simulated KT410.
#include "TrimFixture.h"
#include "hart/CodeTables.h"
#include "pages/trim/LinearizationDialogs.h"
#include "pages/trim/LinearizationPlot.h"
#include "pages/trim/TrimIds.h"
#include "platform/TimeScale.h"

#include <QComboBox>

using namespace testing_support;
using namespace res;

namespace {

template <class D> class TableTest : public TrimTest {
protected:
    void Open(const char* model = "KT410") {
        loop.AddDevice(model, 0, 1);
        ConnectTo(0);
        dlg = std::make_unique<D>(*host);
        dlg->show();
    }
    void TearDown() override {
        dlg.reset();
        TrimTest::TearDown();
    }
    QLineEdit* Edit(int id) { return Ctl<QLineEdit>(dlg.get(), id); }
    QComboBox* Combo(int id) { return Ctl<QComboBox>(dlg.get(), id); }
    // Reads the whole table and waits until the dialog is idle again.
    void ReadAll() {
        Click(dlg.get(), IDC_LIN_READ);
        ASSERT_TRUE(SpinUntil([&] { return !dlg->IsBusy() && Ctl(dlg.get(), IDC_LIN_WRITE)->isEnabled(); }));
        ASSERT_TRUE(WaitIdle());
    }
    void WaitNotBusy() {
        ASSERT_TRUE(SpinUntil([&] { return !dlg->IsBusy(); }));
        ASSERT_TRUE(WaitIdle());
    }
    // Types a row's values as the user would: tick "Use" to open the row, type, and untick it
    // again for a point that is to be switched off.
    void EnterRow(const res::LinRowIds& ids, float current, float modified, bool used) {
        auto* use = Ctl<QCheckBox>(dlg.get(), ids.use);
        if (!use->isChecked())
            use->click();
        Type(dlg.get(), ids.current, QString::number(static_cast<double>(current)));
        Type(dlg.get(), ids.modified, QString::number(static_cast<double>(modified)));
        if (!used)
            use->click();
    }
    std::unique_ptr<D> dlg;
};

using VariableTableTest = TableTest<CVariableLinearizationDlg>;
using CJTableTest = TableTest<CCJLinearizationDlg>;

struct PointOnWire {
    int pointByte;
    float current;
    float modified;
};

// The points of a write frame: variable, unit, 0, n, then n of point byte, current, modified.
std::vector<PointOnWire> PointsOf(const hart::Bytes& data) {
    std::vector<PointOnWire> out;
    for (std::size_t at = 4; at + 9 <= data.size(); at += 9)
        out.push_back({data[at], FloatAt(data, at + 1), FloatAt(data, at + 5)});
    return out;
}

} // namespace

TEST_F(VariableTableTest, OpensEmptyWithPvSelectedAndNothingSent) {
    Open();
    EXPECT_EQ(dlg->windowTitle(), "Transmitter Variable Linearzation");
    EXPECT_EQ(Combo(IDC_LIN_VARIABLE)->currentText(), "PV");
    EXPECT_EQ(Combo(IDC_LIN_UNIT)->currentIndex(), -1);
    EXPECT_EQ(dlg->RowCount(), 22);
    EXPECT_TRUE(Edit(kVariableLinRows[0].current)->isReadOnly());
    QTest::qWait(vmc::ScaledMs(400));
    EXPECT_TRUE(Frames().empty());
    // Nothing read, nothing typed: nothing to write.
    Click(dlg.get(), IDC_LIN_WRITE);
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].text, "No fixed data!");
    EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::Warning);
    EXPECT_TRUE(Frames().empty());
    EXPECT_TRUE(Ctl(dlg.get(), IDC_LIN_READ)->isEnabled());
}

TEST_F(VariableTableTest, ReadsTheTableTwoPointsAFrame) {
    Open();
    ReadAll();
    const auto reads = FramesOf({161});
    ASSERT_EQ(reads.size(), 11u);
    for (std::size_t i = 0; i < reads.size(); ++i)
        EXPECT_EQ(reads[i].data, (hart::Bytes{1, static_cast<std::uint8_t>(2 * i)})) << i;
    // The factory table spreads the KT410's range of 0 to 200 over 22 points, none in use.
    EXPECT_EQ(dlg->ReadList().size(), 22u);
    EXPECT_EQ(Edit(kVariableLinRows[21].current)->text(), "200");
    EXPECT_FALSE(Ctl<QCheckBox>(dlg.get(), kVariableLinRows[21].use)->isChecked());
    EXPECT_FALSE(Edit(kVariableLinRows[21].current)->isEnabled());
    EXPECT_FALSE(Edit(kVariableLinRows[21].current)->isReadOnly());
    EXPECT_EQ(Combo(IDC_LIN_UNIT)->currentIndex(), hart::FindCodeIndex(hart::UnitTable(), 32));
    EXPECT_TRUE(dlg->IsTracking());
    EXPECT_EQ(dlg->Plot()->Points().size(), 22u);
}

// All 22 points typed, written in frames of two and read back from the transmitter.
TEST_F(VariableTableTest, TwentyTwoPointsWrittenAndReadBack) {
    Open();
    ReadAll();
    line->ClearWrites();
    for (int row = 0; row < 22; ++row) {
        const float current = 10.0f * static_cast<float>(row);
        EnterRow(kVariableLinRows[static_cast<std::size_t>(row)], current, current + 0.25f * static_cast<float>(row % 4),
                 row != 3);
    }
    for (int row = 0; row < 22; ++row)
        EXPECT_TRUE(dlg->RowModified(row)) << row;
    EXPECT_TRUE(Edit(kVariableLinRows[0].modified)->property("modifiedMark").toBool());
    Click(dlg.get(), IDC_LIN_WRITE);
    EXPECT_FALSE(Ctl(dlg.get(), IDC_LIN_READ)->isEnabled());
    WaitNotBusy();
    EXPECT_TRUE(Ctl(dlg.get(), IDC_LIN_READ)->isEnabled());
    const auto writes = FramesOf({151});
    ASSERT_EQ(writes.size(), 11u);
    for (const auto& w : writes) {
        ASSERT_EQ(w.data.size(), 22u);
        EXPECT_EQ(w.data[0], 1);  // PV
        EXPECT_EQ(w.data[1], 32); // unit read with the table
        EXPECT_EQ(w.data[2], 0);
        EXPECT_EQ(w.data[3], 2);
    }
    const auto second = PointsOf(writes[1].data);
    EXPECT_EQ(second[0].pointByte, 0x02);
    EXPECT_EQ(second[1].pointByte, 0x63) << "row 3 is switched off";
    EXPECT_FLOAT_EQ(second[0].modified, 20.5f);
    EXPECT_TRUE(Edit(kVariableLinRows[0].modified)->property("modifiedMark").isValid());
    EXPECT_FALSE(Edit(kVariableLinRows[0].modified)->property("modifiedMark").toBool()) << "the echo clears the mark";

    // What the transmitter keeps.
    const auto kept = OnDevice(0, [](sim::SimDevice& d) { return sim::TrimStateOf(d).variableTables.at(1).points; });
    ASSERT_EQ(kept.size(), 22u);
    for (int row = 0; row < 22; ++row) {
        const auto& p = kept[static_cast<std::size_t>(row)];
        EXPECT_EQ(p.used, row != 3) << row;
        EXPECT_FLOAT_EQ(p.current, 10.0f * static_cast<float>(row)) << row;
        EXPECT_FLOAT_EQ(p.modified, 10.0f * static_cast<float>(row) + 0.25f * static_cast<float>(row % 4)) << row;
    }

    // Read back into a fresh dialog.
    dlg = std::make_unique<CVariableLinearizationDlg>(*host);
    dlg->show();
    line->ClearWrites();
    ReadAll();
    EXPECT_EQ(FramesOf({161}).size(), 11u);
    for (int row = 0; row < 22; ++row) {
        const auto& ids = kVariableLinRows[static_cast<std::size_t>(row)];
        EXPECT_EQ(Ctl<QCheckBox>(dlg.get(), ids.use)->isChecked(), row != 3) << row;
        EXPECT_EQ(Edit(ids.current)->isEnabled(), row != 3) << row;
        EXPECT_EQ(Edit(ids.current)->text().toFloat(), 10.0f * static_cast<float>(row)) << row;
        EXPECT_EQ(Edit(ids.modified)->text().toFloat(), 10.0f * static_cast<float>(row) + 0.25f * static_cast<float>(row % 4))
            << row;
    }
    EXPECT_EQ(dlg->WriteList().size(), 22u);
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(VariableTableTest, WriteWithoutEditsWritesBackEveryPointRead) {
    Open();
    ReadAll();
    line->ClearWrites();
    Click(dlg.get(), IDC_LIN_WRITE);
    WaitNotBusy();
    const auto writes = FramesOf({151});
    ASSERT_EQ(writes.size(), 11u);
    EXPECT_EQ(PointsOf(writes[10].data)[1].pointByte, 0x60 + 21);
}

TEST_F(VariableTableTest, FiveFlaggedRowsGoOutInThreeFramesAndStayFlagged) {
    Open();
    ReadAll();
    line->ClearWrites();
    for (int row : {1, 4, 7, 12, 20})
        EnterRow(kVariableLinRows[static_cast<std::size_t>(row)], 1.0f * static_cast<float>(row),
                 2.0f * static_cast<float>(row), true);
    Click(dlg.get(), IDC_LIN_WRITE);
    WaitNotBusy();
    const auto writes = FramesOf({151});
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].data.size(), 22u);
    EXPECT_EQ(writes[1].data.size(), 22u);
    EXPECT_EQ(writes[2].data.size(), 13u);
    EXPECT_EQ(PointsOf(writes[2].data)[0].pointByte, 20);
    // The variable dialog keeps its row flags: the next write sends the same rows again.
    EXPECT_TRUE(dlg->RowModified(12));
    line->ClearWrites();
    Click(dlg.get(), IDC_LIN_WRITE);
    WaitNotBusy();
    EXPECT_EQ(FramesOf({151}).size(), 3u);
}

TEST_F(VariableTableTest, AValueBeyondAFloatIsRefusedAndNothingIsWritten) {
    Open();
    ReadAll();
    line->ClearWrites();
    const res::LinRowIds& ids = kVariableLinRows[3];
    EnterRow(ids, 1.0f, 2.0f, true);
    Type(dlg.get(), ids.modified, "1e39");
    Click(dlg.get(), IDC_LIN_WRITE);
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"Please enter a number."});
    EXPECT_TRUE(FramesOf({151}).empty());
}

TEST_F(VariableTableTest, WriteWithoutUnitIsRefusedAndReadStaysUsable) {
    Open();
    // A row ticked before anything was read, with no unit chosen.
    Ctl<QCheckBox>(dlg.get(), kVariableLinRows[0].use)->click();
    // Edit tracking is off until a read or write completed, so the tick records nothing.
    Click(dlg.get(), IDC_LIN_WRITE);
    ASSERT_EQ(Boxes().Texts(), std::vector<QString>{"No fixed data!"});
    Boxes().Clear();
    ReadAll();
    Combo(IDC_LIN_UNIT)->setCurrentIndex(-1);
    EnterRow(kVariableLinRows[0], 1.0f, 2.0f, true);
    line->ClearWrites();
    Click(dlg.get(), IDC_LIN_WRITE);
    ASSERT_EQ(Boxes().Boxes().size(), 1u);
    EXPECT_EQ(Boxes().Boxes()[0].text, "Select a Unit!");
    EXPECT_EQ(Boxes().Boxes()[0].caption, "VMC70");
    EXPECT_TRUE(Frames().empty());
    EXPECT_TRUE(Ctl(dlg.get(), IDC_LIN_READ)->isEnabled()) << "nothing went out, so nothing is left waiting";
}

TEST_F(VariableTableTest, RefusedWriteIsReportedAndLeavesTheTable) {
    Open();
    ReadAll();
    EnterRow(kVariableLinRows[5], 50.0f, 51.0f, true);
    OnDevice(0, [](sim::SimDevice& d) { return d.writeProtect = 1; });
    line->ClearWrites();
    Click(dlg.get(), IDC_LIN_WRITE);
    ASSERT_TRUE(WaitCommand(151));
    ASSERT_TRUE(SpinUntil([&] { return !dlg->IsBusy(); }));
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"[Cmd#151] Because occur an error, fail a command!"});
    EXPECT_EQ(Edit(kVariableLinRows[5].modified)->text(), "51");
    EXPECT_FALSE(OnDevice(0, [](sim::SimDevice& d) { return sim::TrimStateOf(d).variableTables.at(1).points[5].used; }));
}

namespace {
struct FailureCase {
    const char* name;
    bool silent; // else the device reports communication errors
    std::vector<QString> boxes;
    bool bothButtons;
};
class TableFailureTest : public VariableTableTest, public ::testing::WithParamInterface<FailureCase> {};
} // namespace

// A read that fails clears the table; a communication error gives its own box only (never a "No
// Response!" for a device that did answer) and leaves both buttons usable.
TEST_P(TableFailureTest, FailedReadClearsTheTable) {
    const FailureCase c = GetParam();
    Open();
    ReadAll();
    EXPECT_EQ(Edit(kVariableLinRows[21].current)->text(), "200");
    host->Comm().SetRetryCount(1);
    OnDevice(0, [&](sim::SimDevice& d) {
        if (c.silent)
            d.faults.silent = -1;
        else
            d.faults.commError = -1;
        return 0;
    });
    Click(dlg.get(), IDC_LIN_READ);
    ASSERT_TRUE(SpinUntil([&] { return !dlg->IsBusy(); }, 8000));
    std::vector<QString> shown = Boxes().Texts();
    if (!c.silent && !shown.empty())
        shown.erase(shown.begin()); // the link's own box with the device's error bits
    EXPECT_EQ(shown, c.boxes);
    EXPECT_EQ(Edit(kVariableLinRows[21].current)->text(), "0");
    EXPECT_EQ(Ctl(dlg.get(), IDC_LIN_WRITE)->isEnabled(), c.bothButtons);
    EXPECT_TRUE(Ctl(dlg.get(), IDC_LIN_READ)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Failures, TableFailureTest,
                         ::testing::Values(FailureCase{"NoResponse", true, {"No Response!"}, false},
                                           FailureCase{"CommError", false, {"Communication Error!"}, true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(VariableTableTest, TransferButtonWaitsForTheTable) {
    Open();
    Click(dlg.get(), IDC_LIN_READ);
    ASSERT_TRUE(dlg->IsBusy());
    bool opened = false;
    WhenDialogOpens<CTransferFnSetupDlg>([&](CTransferFnSetupDlg& d) {
        opened = true;
        d.reject();
    });
    Click(dlg.get(), IDC_LIN_TRANSFER_FN);
    EXPECT_FALSE(opened) << "ignored while a table frame is outstanding";
    WaitNotBusy();
    Click(dlg.get(), IDC_LIN_TRANSFER_FN);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(dlg->IsReceiver());
}

TEST_F(CJTableTest, TenColdJunctionPointsWrittenAndRowsUnflagged) {
    Open();
    EXPECT_EQ(dlg->windowTitle(), "CJ  Temperature Linearization");
    EXPECT_EQ(dlg->RowCount(), 10);
    ReadAll();
    EXPECT_EQ(FramesOf({183}).size(), 5u);
    EXPECT_EQ(Edit(kCJLinRows[9].current)->text(), "70");
    line->ClearWrites();
    for (int row = 0; row < 10; ++row)
        EnterRow(kCJLinRows[static_cast<std::size_t>(row)], 10.0f * static_cast<float>(row) - 20.0f,
                 10.0f * static_cast<float>(row) - 19.5f, true);
    Click(dlg.get(), IDC_LIN_WRITE);
    for (int row = 0; row < 10; ++row)
        EXPECT_FALSE(dlg->RowModified(row)) << "the cold-junction dialog forgets a row once it is queued";
    WaitNotBusy();
    EXPECT_EQ(FramesOf({173}).size(), 5u);
    const auto kept = OnDevice(0, [](sim::SimDevice& d) { return sim::TrimStateOf(d).cjTables.at(1).points; });
    EXPECT_FLOAT_EQ(kept[9].modified, 70.5f);
    EXPECT_TRUE(kept[9].used);
}

namespace {
class TransferFnTest : public TrimTest {
protected:
    void Open() {
        loop.AddDevice("KT410", 0, 1);
        ConnectTo(0);
        dlg = std::make_unique<CTransferFnSetupDlg>(*host, 1);
        dlg->show();
    }
    void TearDown() override {
        dlg.reset();
        TrimTest::TearDown();
    }
    std::unique_ptr<CTransferFnSetupDlg> dlg;
};
} // namespace

TEST_F(TransferFnTest, ReadsChoosesAndWritesTheCorrections) {
    Open();
    ASSERT_TRUE(WaitCommand(165));
    EXPECT_EQ(FramesOf({165})[0].data, hart::Bytes{1});
    EXPECT_EQ(dlg->VariableSelection(), 0); // "Linearization", the factory choice
    EXPECT_EQ(dlg->ColdJunctionSelection(), 0);
    Click(dlg.get(), IDC_TFN_VAR_LINEARIZATION + 1); // "User Defined"
    Click(dlg.get(), IDC_TFN_CJ_LINEARIZATION + 2);  // "Not Used"
    Click(dlg.get(), IDC_TFN_SETUP);
    ASSERT_TRUE(WaitCommand(155));
    EXPECT_EQ(FramesOf({155})[0].data, (hart::Bytes{1, 0, 241, 3, 250}));
    EXPECT_EQ(OnDevice(0, [](sim::SimDevice& d) { return sim::TrimStateOf(d).transferSetup.at(1); }),
              (std::pair<std::uint8_t, std::uint8_t>{241, 250}));
    // Another variable is read when chosen.
    auto* combo = Ctl<QComboBox>(dlg.get(), IDC_TFN_VARIABLE);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    ASSERT_TRUE(WaitCommand(165, 2));
    EXPECT_EQ(FramesOf({165})[1].data, hart::Bytes{2});
    EXPECT_TRUE(Boxes().Texts().empty());
}

TEST_F(TransferFnTest, NoChoiceGoesOutAs255AndIsRefused) {
    Open();
    ASSERT_TRUE(WaitCommand(165));
    OnDevice(0, [](sim::SimDevice& d) {
        sim::TrimStateOf(d).transferSetup[1] = {5, 0};
        return 0;
    });
    emit Ctl<QComboBox>(dlg.get(), IDC_TFN_VARIABLE)->activated(1);
    ASSERT_TRUE(WaitCommand(165, 2));
    EXPECT_EQ(dlg->VariableSelection(), -1) << "code 5 selects no radio";
    Click(dlg.get(), IDC_TFN_SETUP);
    ASSERT_TRUE(WaitCommand(155));
    EXPECT_EQ(FramesOf({155})[0].data[2], 255);
    ASSERT_TRUE(SpinUntil([] { return !Boxes().Texts().empty(); }));
    EXPECT_EQ(Boxes().Texts()[0], "[Cmd#155] Because occur an error, fail a command!");
}

TEST(PointRecordTest, PointByteCarriesNumberAndOffBits) {
    EXPECT_EQ(lin::PointByte(3, false), 0x63);
    EXPECT_EQ(lin::PointByte(3, true), 0x03);
    const struct {
        int byte;
        int point;
        bool used;
    } cases[] = {{0x6A, 10, false}, {0x0A, 10, true}, {0x2A, 10, false}, {0x4A, 10, false}, {0x1F, 31, true}};
    for (const auto& c : cases) {
        const CPointRecord r = lin::DecodePoint(c.byte, 1.0f, 2.0f);
        EXPECT_EQ(r.m_nPoint, c.point) << c.byte;
        EXPECT_EQ(r.m_bUsed, c.used) << c.byte;
    }
}

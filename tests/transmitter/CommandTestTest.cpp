// "HART Command Test" against the simulated loop: request rows, the data field they make, the
// raw answer, and what the dialog refuses.
#include "TransmitterFixture.h"
#include "pages/transmitter/CommandTestDialog.h"
#include "pages/transmitter/Form.h"
#include "pages/transmitter/TransmitterIds.h"

#include <QTreeWidget>

using namespace testing_support;
using namespace res;

namespace {

class CommandTestTest : public PageOnSimTest {
protected:
    void TearDown() override {
        dialog.reset();
        PageOnSimTest::TearDown();
    }
    void OpenAt(int address) {
        ConnectTo(address);
        dialog = std::make_unique<CCommandTestDlg>(*host);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    QLineEdit* Edit(int id) { return Control<QLineEdit>(dialog.get(), id); }
    void Row(int offset, int type, const QString& value, const QString& length = {}) {
        Retype(Edit(IDC_TEST_OFFSET), QString::number(offset));
        Choose(Control<QComboBox>(dialog.get(), IDC_TEST_DATA_TYPE), type);
        if (!length.isEmpty())
            Retype(Edit(IDC_TEST_DATA_LENGTH), length);
        Retype(Edit(IDC_TEST_DATA_VALUE), value);
        Click(Control<QPushButton>(dialog.get(), IDC_TEST_ADD));
    }
    void Run() { Click(Control<QPushButton>(dialog.get(), IDC_TEST_RUN)); }

    std::unique_ptr<CCommandTestDlg> dialog;
};

} // namespace

TEST_F(CommandTestTest, RowsMakeTheDataFieldInListOrder) {
    loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    Retype(Edit(IDC_TEST_COMMAND), "130");
    Row(0, CCommandTestDlg::kInt8, "5");
    EXPECT_EQ(Edit(IDC_TEST_DATA_LENGTH)->text(), "1");
    EXPECT_TRUE(Edit(IDC_TEST_DATA_LENGTH)->isReadOnly());
    Row(1, CCommandTestDlg::kFloat32, "1.5");
    Row(2, CCommandTestDlg::kInt16, "-1");
    ASSERT_EQ(dialog->RequestList()->topLevelItemCount(), 3);
    EXPECT_EQ(dialog->RequestList()->topLevelItem(1)->text(1), "1.5");
    EXPECT_EQ(dialog->RequestList()->topLevelItem(1)->text(2), "4");
    Run();
    ASSERT_TRUE(WaitSent(1));
    ASSERT_EQ(SentFrames(*line).size(), 1u);
    EXPECT_EQ(SentFrames(*line)[0].command, 130);
    EXPECT_EQ(SentFrames(*line)[0].data, (hart::Bytes{0x05, 0x3F, 0xC0, 0x00, 0x00, 0xFF, 0xFF}));
    // The device does not know the command.
    EXPECT_EQ(Edit(IDC_TEST_RESPONSE_COMMAND)->text(), "130");
    EXPECT_EQ(Edit(IDC_TEST_DATA_BYTES)->text(), "0");
    EXPECT_EQ(Edit(IDC_TEST_RESPONSE_CODE0)->text(), "40");
    EXPECT_EQ(Edit(IDC_TEST_DATA_BUFFER)->text(), "");
}

TEST_F(CommandTestTest, PackedAsciiAndTheRawAnswer) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    d.configChanged = true;
    OpenAt(0);
    Retype(Edit(IDC_TEST_COMMAND), "17");
    // 24 bytes hold 32 characters; the typed text is filled with spaces.
    Row(0, CCommandTestDlg::kPackedAscii, "hello", "24");
    EXPECT_EQ(dialog->RequestList()->topLevelItem(0)->text(1), "HELLO");
    Run();
    ASSERT_TRUE(WaitSent(1));
    EXPECT_EQ(SentFrames(*line)[0].data, hart::PackAscii("HELLO", 32));
    EXPECT_EQ(loop.With([&](sim::SimLoop&) { return d.message.trimmed(); }), "HELLO");
    EXPECT_EQ(Edit(IDC_TEST_DATA_BYTES)->text(), "24");
    EXPECT_EQ(Edit(IDC_TEST_RESPONSE_CODE0)->text(), "00");
    EXPECT_EQ(Edit(IDC_TEST_RESPONSE_CODE1)->text(), "40") << "configuration changed";
    EXPECT_EQ(Edit(IDC_TEST_DATA_BUFFER)->text(), hart::HexText(hart::PackAscii("HELLO", 32)));

    // A new command number starts afresh.
    Retype(Edit(IDC_TEST_COMMAND), "12");
    EXPECT_EQ(dialog->RequestList()->topLevelItemCount(), 0);
    EXPECT_EQ(Edit(IDC_TEST_DATA_BUFFER)->text(), "");
    EXPECT_EQ(Edit(IDC_TEST_DATA_BYTES)->text(), "0");
    EXPECT_EQ(Edit(IDC_TEST_OFFSET)->text(), "0");
}

TEST_F(CommandTestTest, RowsThatCannotBeSentAreRefused) {
    loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    Retype(Edit(IDC_TEST_COMMAND), "131");
    struct Case {
        int type; // -1: none chosen
        QString value, length, box;
        int focus;
        QString offset = "0";
    };
    const Case cases[] = {
        {-1, "1", "", "Select a Data Type!", IDC_TEST_DATA_TYPE},
        {CCommandTestDlg::kInt8, "", "", "Input a Data Value!", IDC_TEST_DATA_VALUE},
        {CCommandTestDlg::kInt8, "300", "", "Data Value is invalid value.", IDC_TEST_DATA_VALUE},
        {CCommandTestDlg::kInt16, "A1", "", "Data Value is invalid value.", IDC_TEST_DATA_VALUE},
        {CCommandTestDlg::kPackedAscii, "ABC", "0", "Data Length is invalid value.", IDC_TEST_DATA_LENGTH},
        {CCommandTestDlg::kPackedAscii, "ABC", "4", "Data Length is invalid value.", IDC_TEST_DATA_LENGTH},
        // More than one byte-count byte holds; the largest would overflow the character count.
        {CCommandTestDlg::kPackedAscii, "ABC", "258", "Data Length is invalid value.", IDC_TEST_DATA_LENGTH},
        {CCommandTestDlg::kPackedAscii, "ABC", "999999999", "Data Length is invalid value.", IDC_TEST_DATA_LENGTH},
        // A negative field number would overwrite the row before; text is no field number.
        {CCommandTestDlg::kInt8, "1", "", "Offset is invalid value.", IDC_TEST_OFFSET, "-1"},
        {CCommandTestDlg::kInt8, "1", "", "Offset is invalid value.", IDC_TEST_OFFSET, "A"},
        {CCommandTestDlg::kInt8, "1", "", "Offset is invalid value.", IDC_TEST_OFFSET, "101"},
    };
    for (const Case& c : cases) {
        Boxes().Clear();
        Retype(Edit(IDC_TEST_OFFSET), c.offset);
        auto* type = Control<QComboBox>(dialog.get(), IDC_TEST_DATA_TYPE);
        type->setCurrentIndex(-1);
        if (c.type >= 0)
            Choose(type, c.type);
        if (!c.length.isEmpty())
            Retype(Edit(IDC_TEST_DATA_LENGTH), c.length);
        Edit(IDC_TEST_DATA_VALUE)->clear();
        if (!c.value.isEmpty())
            Retype(Edit(IDC_TEST_DATA_VALUE), c.value);
        Click(Control<QPushButton>(dialog.get(), IDC_TEST_ADD));
        EXPECT_EQ(Boxes().Texts(), std::vector<QString>{c.box}) << c.value.toStdString();
        EXPECT_TRUE(Control<QWidget>(dialog.get(), c.focus)->hasFocus()) << c.box.toStdString();
    }
    EXPECT_EQ(dialog->RequestList()->topLevelItemCount(), 0);

    // "<" takes the selected rows out.
    Row(0, CCommandTestDlg::kInt8, "1");
    Row(1, CCommandTestDlg::kInt8, "2");
    dialog->RequestList()->topLevelItem(0)->setSelected(true);
    Click(Control<QPushButton>(dialog.get(), IDC_TEST_REMOVE));
    ASSERT_EQ(dialog->RequestList()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog->RequestList()->topLevelItem(0)->text(1), "2");
}

TEST_F(CommandTestTest, OffsetArrowsBringATypedNumberIntoTheirRange) {
    loop.AddDevice("KP510", 0, 1);
    OpenAt(0);
    auto* spin = Control<CSpinBuddy>(dialog.get(), IDC_TEST_OFFSET_SPIN);
    const struct {
        const char* typed;
        bool up;
        const char* shown;
    } cases[] = {{"2147483647", true, "100"}, {"-2147483648", false, "0"}, {"7", true, "8"}, {"X", true, "0"}};
    for (const auto& c : cases) {
        Retype(Edit(IDC_TEST_OFFSET), c.typed);
        QTest::mouseClick(c.up ? spin->UpButton() : spin->DownButton(), Qt::LeftButton);
        EXPECT_EQ(Edit(IDC_TEST_OFFSET)->text(), c.shown) << c.typed;
    }
}

TEST_F(CommandTestTest, OnlyThePrimaryMasterResetsTheConfigurationChangedFlag) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    d.configChanged = true;
    OpenAt(0);
    Retype(Edit(IDC_TEST_COMMAND), "38");
    host->Comm().SetMasterType(1);
    Run();
    QTest::qWait(vmc::ScaledMs(300));
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"Secondary Master can not Reset."});
    EXPECT_TRUE(SentFrames(*line).empty());

    host->Comm().SetMasterType(0);
    Run();
    ASSERT_TRUE(WaitSent(1));
    EXPECT_EQ(SentCommands(*line), std::vector<int>{38});
    EXPECT_FALSE(loop.With([&](sim::SimLoop&) { return d.configChanged; }));
}

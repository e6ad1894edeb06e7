// "Com. Setup" and "Polling Addr" on their own, and the address list the pages share.
#include "ShellFixture.h"

#include "shell/AddressList.h"
#include "shell/ComSetupDialog.h"
#include "shell/PollingAddrDialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

using namespace testing_support;

namespace {

class DialogsTest : public ShellTest {};

QStringList Entries(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i).section(QStringLiteral("    "), 0, 0);
    return out;
}

TEST_F(DialogsTest, ComSetupListsTheAvailablePortsAndReturnsTheChosenOne) {
    CComPortMap map(dir.filePath("sys"), dir.filePath("dev"));
    CComSetupDlg dlg({1, 5}, map);
    dlg.SetValues({5, 3, 0});
    EXPECT_EQ(Entries(dlg.PortBox()), (QStringList{"COM 1 [9-PIN]", "COM 5 [USB]"}));
    EXPECT_TRUE(dlg.PortBox()->itemText(1).endsWith(dir.filePath("dev") + "/ttyS4")) << "the device is shown";
    EXPECT_EQ(dlg.PortBox()->currentIndex(), 1);
    EXPECT_EQ(dlg.findChild<QComboBox*>("1001")->currentText(), " 3");
    EXPECT_TRUE(dlg.findChild<QRadioButton*>("1002")->isChecked());
    dlg.PortBox()->setCurrentIndex(0);
    dlg.findChild<QPushButton*>("1")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Values().port, 1);
    EXPECT_EQ(dlg.Values().retryCount, 3);
    EXPECT_EQ(dlg.Values().masterType, 0);

    CComSetupDlg manual({1, 5}, map);
    manual.findChild<QCheckBox*>("1353")->click();
    QStringList twenty;
    for (int n = 1; n <= 20; ++n)
        twenty << QStringLiteral("COM %1").arg(n);
    EXPECT_EQ(Entries(manual.PortBox()), twenty);
}

TEST_F(DialogsTest, ComSetupNeverHandsBackAPortOrAttemptCountOf0) {
    CComPortMap map(dir.filePath("sys"), dir.filePath("dev"));
    CComSetupDlg dlg({}, map); // no ports found, stored values out of range
    dlg.SetValues({7, 9, 1});
    EXPECT_EQ(dlg.PortBox()->currentIndex(), -1);
    EXPECT_EQ(dlg.findChild<QComboBox*>("1001")->currentIndex(), -1);
    dlg.findChild<QPushButton*>("1")->click();
    EXPECT_EQ(dlg.Values().port, 7) << "nothing chosen: the port stays";
    EXPECT_EQ(dlg.Values().retryCount, 5) << "nothing chosen: the default attempts";
}

TEST_F(DialogsTest, PortNumberIsTheNumberAfterTheFirstM) {
    const std::pair<const char*, int> cases[] = {{"COM 12 [USB]", 12},     {"COM 1 [9-PIN]    /dev/ttyS0", 1},
                                                 {"COM7", 7},               {"XM 3", 3},
                                                 {"no letter", 0},          {"COM ", 0}};
    for (const auto& [text, n] : cases)
        EXPECT_EQ(CComSetupDlg::PortNumberOf(text), n) << text;
}

TEST_F(DialogsTest, PollingAddrTicksThePresetAndAppliesFlags) {
    CPollingAddrDlg dlg({0, 9, 15, 16});
    EXPECT_TRUE(dlg.findChild<QCheckBox*>("1194")->isChecked());
    EXPECT_TRUE(dlg.findChild<QCheckBox*>("1096")->isChecked());
    EXPECT_TRUE(dlg.findChild<QCheckBox*>("1102")->isChecked());
    dlg.Box(9)->setChecked(false);
    dlg.Box(3)->setChecked(true);
    dlg.findChild<QPushButton*>("1")->click();
    std::array<int, 16> expected{};
    expected[0] = expected[3] = expected[15] = 1;
    EXPECT_EQ(dlg.Flags(), expected);
}

TEST_F(DialogsTest, AddressListAsSetAndAsQueue) {
    CAddressList set;
    for (int v : {5, 2, 9, 2, 0})
        set.AddSorted(v);
    EXPECT_EQ(set, (std::vector<std::int32_t>{0, 2, 5, 9}));
    EXPECT_EQ(set.GetAt(3), 9);
    EXPECT_EQ(set.GetAt(4), -1);
    EXPECT_TRUE(set.RemoveValue(5));
    EXPECT_FALSE(set.RemoveValue(5));
    EXPECT_EQ(set, (std::vector<std::int32_t>{0, 2, 9}));

    CAddressList queue;
    for (int v : {13, 0, 13, 12})
        queue.AddTail(v);
    EXPECT_EQ(queue, (std::vector<std::int32_t>{13, 0, 12}));
    queue.AddHead(12);
    EXPECT_EQ(queue, (std::vector<std::int32_t>{12, 13, 0}));
    EXPECT_EQ(queue.RemoveHead(), 12);
    EXPECT_EQ(queue.RemoveHead(), 13);
    EXPECT_EQ(queue.RemoveHead(), 0);
    EXPECT_EQ(queue.RemoveHead(), -1);
}

} // namespace

// The device tree: marks and the selection set, the current device, the pop-up menu, and the
// messages other windows send it.
#include "ShellFixture.h"

#include "shell/DeviceListView.h"

#include <QMenu>

using namespace testing_support;

namespace {

class TreeTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        for (int a : {2, 5, 7})
            loop.AddDevice("KP510", a, 0x000600 + static_cast<std::uint32_t>(a)).tag = QStringLiteral("PT-%1").arg(a);
        StartProgram();
        ChooseAddresses({2, 5, 7});
        Search(); // all three marked, 7 current
        tree = frame->DeviceTreeView();
    }
    void ClickMark(QTreeWidgetItem* item) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->MarkRect(item).center());
    }
    void ClickText(QTreeWidgetItem* item) {
        QRect r = tree->visualItemRect(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(r.right() - 5, r.center().y()));
    }
    std::vector<std::int32_t> Selected() { return frame->SelectedDevices().Values(); }
    CLeftView* tree = nullptr;
};

TEST_F(TreeTest, ClickingMarksKeepsTheSetAndTheCurrentDevice) {
    ASSERT_EQ(Selected(), (std::vector<std::int32_t>{2, 5, 7}));
    ASSERT_EQ(frame->CurrentDevice(), 7);

    ClickMark(tree->RowOf(5)); // not current: the current device stays
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 7}));
    EXPECT_FALSE(CLeftView::IsMarked(tree->RowOf(5)));
    EXPECT_FALSE(CLeftView::IsMarked(tree->Root()));
    EXPECT_EQ(frame->CurrentDevice(), 7);

    ClickMark(tree->RowOf(7)); // current: the smallest left becomes current
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2}));
    EXPECT_EQ(frame->CurrentDevice(), 2);

    ClickMark(tree->RowOf(2)); // the last one: the current device stays
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(frame->CurrentDevice(), 2);

    ClickMark(tree->RowOf(5)); // marking makes current
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{5}));
    EXPECT_EQ(frame->CurrentDevice(), 5);
    EXPECT_EQ(frame->StatusPanes().Pane(1)->text(), "Polling: 5");
}

TEST_F(TreeTest, TheRootMarksAndClearsEveryRow) {
    ClickMark(tree->RowOf(2));
    ClickMark(tree->Root()); // root was unmarked by the row: now marks all
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 5, 7}));
    for (int a : {2, 5, 7})
        EXPECT_TRUE(CLeftView::IsMarked(tree->RowOf(a)));
    ClickMark(tree->Root());
    EXPECT_TRUE(Selected().empty());
    for (int a : {2, 5, 7})
        EXPECT_FALSE(CLeftView::IsMarked(tree->RowOf(a)));
    EXPECT_EQ(frame->CurrentDevice(), 7) << "the root never changes the current device";
}

TEST_F(TreeTest, SelectingARowMakesItCurrentOnlyWhenMarked) {
    ClickText(tree->RowOf(2));
    EXPECT_EQ(frame->CurrentDevice(), 2);
    ClickMark(tree->RowOf(5));
    ClickText(tree->RowOf(5));
    EXPECT_EQ(frame->CurrentDevice(), 2) << "an unmarked row does not become current";
    tree->clearSelection();
    EXPECT_EQ(frame->CurrentDevice(), -1);
    EXPECT_EQ(frame->StatusPanes().Pane(1)->text(), "Polling: ");
}

TEST_F(TreeTest, SpaceFlipsTheMarkOfTheSelectedRow) {
    ClickText(tree->RowOf(5));
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_FALSE(CLeftView::IsMarked(tree->RowOf(5)));
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 7}));
    EXPECT_EQ(frame->CurrentDevice(), 2);
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 5, 7}));
    EXPECT_EQ(frame->CurrentDevice(), 5);
}

TEST_F(TreeTest, RightClickMarksTheRowMakesItCurrentAndOffersTheDeviceCommands) {
    ClickMark(tree->Root());
    ClickMark(tree->Root()); // everything unmarked
    const QRect r = tree->visualItemRect(tree->RowOf(5));
    QContextMenuEvent e(QContextMenuEvent::Mouse, r.center(), tree->viewport()->mapToGlobal(r.center()));
    QApplication::sendEvent(tree->viewport(), &e);
    EXPECT_TRUE(CLeftView::IsMarked(tree->RowOf(5)));
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{5}));
    EXPECT_EQ(frame->CurrentDevice(), 5);
    QMenu* popup = frame->Menus().TreePopup();
    ASSERT_TRUE(popup->isVisible());
    QStringList items;
    for (QAction* a : popup->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items, (QStringList{"Transmitter Information(&I)\tCtrl+I", "Transmitter Setup(&X)\tCtrl+E",
                                  "Transmitter Status(&S)\tCtrl+A", "-", "LCD Display Mode(&L)\tCtrl+D", "-",
                                  "Data Trend(&D)\tCtrl+T"}));
    popup->actions().front()->trigger();
    EXPECT_EQ(opened, (std::vector<Opened>{{res::ID_TRANSMITTER_INFO, 5}}));
    popup->hide();

    // On the root nothing happens.
    const QRect root = tree->visualItemRect(tree->Root());
    QContextMenuEvent onRoot(QContextMenuEvent::Mouse, root.center(), tree->viewport()->mapToGlobal(root.center()));
    QApplication::sendEvent(tree->viewport(), &onRoot);
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(TreeTest, Messages) {
    auto send = [&](unsigned msg, vmc::WPARAM w, vmc::LPARAM l) { return vmc::SendMessage(tree->Handle(), msg, w, l); };
    send(vmc::WM_TREE_CHECK, 255, 0);
    EXPECT_TRUE(Selected().empty());
    send(vmc::WM_TREE_CHECK, 5, 1);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{5}));
    EXPECT_EQ(frame->CurrentDevice(), 5);
    send(vmc::WM_TREE_CHECK, 255, 1);
    EXPECT_EQ(frame->CurrentDevice(), 7);
    send(vmc::WM_TREE_UNCHECK, 7, 0);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 5}));
    EXPECT_EQ(frame->CurrentDevice(), 2);
    send(vmc::WM_TREE_UNCHECK, 16, 0); // outside 0..15: ignored
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 5}));

    // A page moved the device at 5 to 9 (record first, then the tree).
    frame->Comm().FindDevice(5)->m_nPollingAddress = 9;
    send(vmc::WM_TREE_RENAME, 5, 9);
    EXPECT_EQ(TreeRows(), (QStringList{"02: PT-2    ", "09: PT-5    ", "07: PT-7    "})) << "rows are sorted when added";
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 9}));
    EXPECT_EQ(frame->DeviceListView()->item(1, 0)->text(), "09");

    send(vmc::WM_TREE_DEVICE, 1, 0);
    EXPECT_TRUE(TreeRows().isEmpty());
    EXPECT_EQ(frame->DeviceListView()->rowCount(), 0);
    EXPECT_EQ(send(vmc::WM_TREE_DEVICE, 0, 2), 1);
    EXPECT_EQ(TreeRows(), (QStringList{"02: PT-2    "}));
    send(vmc::WM_HART_CONNECT, vmc::HART_DISCONNECTED, 0);
    EXPECT_EQ(RootText(), "Offline");
    EXPECT_TRUE(TreeRows().isEmpty());
}

TEST_F(TreeTest, NamingModeRenamesRowsAndIsStored) {
    Command(res::ID_VIEW_UNIQUEID);
    EXPECT_EQ(TreeRows().front(), "02: 06 6B 00 06 02 ") << "manufacturer & 0x3F, type, id; ends with a blank";
    EXPECT_TRUE(MenuAction(res::ID_VIEW_UNIQUEID)->isChecked());
    EXPECT_FALSE(MenuAction(res::ID_VIEW_TAG)->isChecked());
    EXPECT_EQ(QSettings(SettingsPath(), QSettings::IniFormat).value("Misc/DetectMode").toInt(), 2);
    Command(res::ID_VIEW_TAG);
    EXPECT_EQ(TreeRows().front(), "02: PT-2    ");
    EXPECT_EQ(QSettings(SettingsPath(), QSettings::IniFormat).value("Misc/DetectMode").toInt(), 1);
}

} // namespace

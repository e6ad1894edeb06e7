// The administrator menu's "Reference Setup(&R)" in the program window: "Reference Setup" opens
// without the device checks, and its button leads on to "Ref. Zero Point".
#include "pages/trim/ReferenceSetupDialog.h"
#include "pages/trim/TrimIds.h"
#include "pages/transmitter/TransmitterSheets.h"
#include "pages/trim/TrimPages.h"
#include "shell/DeviceTree.h"
#include "shell/ShellFixture.h"

#include <QLineEdit>

using namespace testing_support;

namespace {
class ReferenceMenuTest : public ShellTest {};

QString EditText(const QWidget* root, int id) {
    auto* e = root->findChild<QLineEdit*>(QString::number(id));
    return e ? e->text() : QStringLiteral("<none>");
}
} // namespace

TEST_F(ReferenceMenuTest, OpensReferenceSetupThenRefZeroPoint) {
    loop.AddDevice("KP510", 0, 0xA1);
    StartProgram(ProgramVariant::Admin);
    RegisterTrimPages(app->Catalog());
    // A full search ends on addresses nobody answers: the link is left in its no-response state.
    Search();
    ASSERT_EQ(TreeRows().size(), 1);
    QStringList titles;
    QString high;
    WhenDialogOpens<CReferenceSetupDlg>([&](CReferenceSetupDlg& dlg) {
        titles << dlg.windowTitle();
        EXPECT_TRUE(SpinUntil([&] { return EditText(&dlg, res::IDC_REF_MAKE_CODE) == "1A"; }));
        WhenDialogOpens<CRefZeroPointDlg>([&](CRefZeroPointDlg& zero) {
            titles << zero.windowTitle();
            zero.findChild<QPushButton*>(QString::number(res::IDC_RZP_REQ))->click();
            EXPECT_TRUE(SpinUntil([&] { return EditText(&zero, res::IDC_RZP_HIGH) != "0"; }));
            high = EditText(&zero, res::IDC_RZP_HIGH);
            zero.reject();
        });
        dlg.findChild<QPushButton*>(QString::number(res::IDC_REF_ZERO_POINT))->click();
        dlg.reject();
    });
    Command(res::ID_REFERENCE_SETUP);
    EXPECT_EQ(titles, (QStringList{"Reference Setup", "Ref. Zero Point"}));
    EXPECT_EQ(high, "31");
    EXPECT_FALSE(frame->Relay().Receiver().IsValid()) << "the frame takes the receiver back";
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(ReferenceMenuTest, TransmitterSetupSheetCarriesTheTrimPageSecond) {
    loop.AddDevice("KP510", 0, 0xA1);
    StartProgram(ProgramVariant::User);
    RegisterProgramPages(app->Catalog()); // the program's own pages, as the executables register them
    Search();
    ASSERT_EQ(TreeRows().size(), 1);
    frame->DeviceTreeView()->setCurrentItem(frame->DeviceTreeView()->RowOf(0));
    QStringList tabs;
    WhenDialogOpens<CTransmitterSetupPropSheet>([&](CTransmitterSetupPropSheet& sheet) {
        for (int i = 0; i < sheet.PageCount(); ++i)
            tabs << sheet.Page(i)->Caption();
        sheet.close();
    });
    Command(res::ID_TRANSMITTER_SETUP);
    EXPECT_EQ(tabs, (QStringList{"Transmitter Setup", "Transmitter Trim"}));
}

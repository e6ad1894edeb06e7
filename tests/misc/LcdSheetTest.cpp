// The "LCD Display Mode" sheet against simulated transmitters: what each page reads and writes,
// the mode byte both ways, the user-defined unit, and the sheet's Read / Apply buttons.
#include "MiscFixture.h"

#include "pages/misc/LcdDisplayMode.h"
#include "pages/misc/LcdEngrMode.h"
#include "pages/misc/LcdModes.h"
#include "pages/misc/LcdPropSheet.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

using namespace testing_support;

namespace {

class LcdSheetTest : public MiscPageTest {
protected:
    void TearDown() override {
        sheet.reset();
        MiscPageTest::TearDown();
    }
    // Opens the sheet on the device at the address and waits for the first page's reads.
    void Open(int address, std::size_t reads, const std::function<void()>& connected = {}) {
        ConnectTo(address);
        if (connected)
            connected();
        sheet = std::make_unique<CLCDPropSheet>(*host);
        sheet->Open();
        ASSERT_TRUE(Settle(reads));
    }
    void ToEngrPage(std::size_t reads = 2) {
        line->ClearWrites();
        QTest::mouseClick(sheet->findChild<QTabBar*>(), Qt::LeftButton, {},
                          sheet->findChild<QTabBar*>()->tabRect(1).center());
        ASSERT_EQ(sheet->ActiveIndex(), 1);
        ASSERT_TRUE(Settle(reads));
    }
    QAbstractButton* Button(int id) { return Ctl<QAbstractButton>(sheet.get(), id); }
    QPushButton* Read() { return Ctl<QPushButton>(sheet.get(), CReadSetupSheet::kReadButtonId); }
    QPushButton* Apply() { return sheet->ApplyButton(); }
    sim::LcdSettings Lcd(int address) {
        return OnDevice<sim::LcdSettings>(address, [](sim::LcdSettings& s, sim::SimDevice&) { return s; });
    }
    void SetLcd(int address, std::function<void(sim::LcdSettings&)> f) {
        OnDevice<sim::LcdSettings>(address, [&](sim::LcdSettings& s, sim::SimDevice&) {
            f(s);
            return 0;
        });
    }
    QStringList ChoiceCaptions() {
        return {Button(CLCDDisplayMode::IDC_CHOICE1)->text(), Button(CLCDDisplayMode::IDC_CHOICE2)->text(),
                Button(CLCDDisplayMode::IDC_CHOICE3)->text()};
    }

    std::unique_ptr<CLCDPropSheet> sheet;
};

TEST_F(LcdSheetTest, SheetButtons) {
    loop.AddDevice("KP510", 0, 1);
    Open(0, 2);
    EXPECT_EQ(sheet->windowTitle(), "LCD Display Mode");
    EXPECT_FALSE(sheet->OkButton()->isVisible());
    EXPECT_EQ(sheet->CancelButton()->text(), "Exit");
    EXPECT_EQ(Apply()->text(), "Apply");
    EXPECT_EQ(Apply()->objectName(), "12321");
    EXPECT_TRUE(Apply()->isEnabled()) << "enabled from the start";
    EXPECT_EQ(Read()->text(), "Read");
    EXPECT_LT(Read()->geometry().x(), sheet->CancelButton()->geometry().x()) << "at the left end of the row";
    EXPECT_EQ(Read()->width(), sheet->OkButton()->sizeHint().width());
    EXPECT_EQ(sheet->Page(0)->Caption(), "LCD Display Mode");
    EXPECT_EQ(sheet->Page(1)->Caption(), "ENGR Mode");
}

// Decimal places exist from device revision 3 on: KP510 has 3, KP520 2.
TEST_F(LcdSheetTest, CipherCommandsOnlyForDeviceRevisionAbove2) {
    struct Case {
        const char* model;
        bool cipher;
        std::vector<int> onOpen, onApply;
    };
    const Case cases[] = {{"KP510", true, {166, 207}, {156, 197}}, {"KP520", false, {207}, {197}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Restart();
        loop.AddDevice(c.model, 0, 1);
        Open(0, c.onOpen.size());
        EXPECT_EQ(Sent(), c.onOpen);
        auto* cipher = Ctl<QComboBox>(sheet.get(), CLCDDisplayMode::IDC_CIPHER);
        EXPECT_EQ(cipher->isEnabled(), c.cipher);
        EXPECT_EQ(cipher->currentText(), "Auto");
        line->ClearWrites();
        Apply()->click();
        ASSERT_TRUE(Settle(c.onApply.size()));
        EXPECT_EQ(Sent(), c.onApply);
        EXPECT_TRUE(Boxes().Boxes().empty());
    }
}

TEST_F(LcdSheetTest, ModeByteReadBackSetsTheControls) {
    struct Case {
        int byte;
        int display;
        bool basic;
        int choice;
        QStringList captions;
    };
    const QStringList normal{"PV", "%", "mA / address"};
    const QStringList flow{"Flow Rate", "Total Flow", "Pressure"};
    const Case cases[] = {
        {146, CLCDDisplayMode::IDC_ENGR, false, 2, normal}, {66, CLCDDisplayMode::IDC_FLOW, false, 2, flow},
        {0, CLCDDisplayMode::IDC_NORMAL, true, 0, normal},  {128, CLCDDisplayMode::IDC_ENGR, true, 0, normal},
        {19, CLCDDisplayMode::IDC_NORMAL, false, 3, normal}, {64, CLCDDisplayMode::IDC_FLOW, true, 0, flow},
    };
    loop.AddDevice("KP510F", 0, 1); // the flow transmitter has the flow displays
    for (const Case& c : cases) {
        SCOPED_TRACE(c.byte);
        SetLcd(0, [&](sim::LcdSettings& s) { s.displayMode = static_cast<std::uint8_t>(c.byte); });
        if (!sheet) {
            Open(0, 2);
        } else {
            sheet->SetActivePage(1);
            ASSERT_TRUE(Settle(2)); // the engineering page reads when first shown
            line->ClearWrites();
            sheet->SetActivePage(0); // this page reads on every activation
            ASSERT_TRUE(Settle(2));
            EXPECT_EQ(Sent(), (std::vector<int>{166, 207}));
        }
        for (int id : {CLCDDisplayMode::IDC_NORMAL, CLCDDisplayMode::IDC_ENGR, CLCDDisplayMode::IDC_FLOW})
            EXPECT_EQ(Button(id)->isChecked(), id == c.display) << id;
        EXPECT_EQ(Button(CLCDDisplayMode::IDC_BASIC)->isChecked(), c.basic);
        EXPECT_EQ(Button(CLCDDisplayMode::IDC_FIXED)->isChecked(), !c.basic);
        const int ids[] = {CLCDDisplayMode::IDC_CHOICE1, CLCDDisplayMode::IDC_CHOICE2, CLCDDisplayMode::IDC_CHOICE3};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Button(ids[i])->isChecked(), c.choice == i + 1) << i;
            EXPECT_EQ(Button(ids[i])->isEnabled(), !c.basic) << i;
        }
        EXPECT_EQ(ChoiceCaptions(), c.captions);
        EXPECT_FALSE(Read()->isEnabled()) << "nothing to read on demand on this page";
    }
}

// Clicks as the user makes them, the byte that goes out, and what the device then keeps.
TEST_F(LcdSheetTest, ApplyWritesTheModeByteOfTheClicks) {
    struct Case {
        std::vector<int> clicks;
        int byte;
    };
    using P = CLCDDisplayMode;
    const Case cases[] = {
        {{P::IDC_ENGR, P::IDC_FIXED, P::IDC_CHOICE1}, 145},
        {{P::IDC_NORMAL, P::IDC_BASIC}, 0},
        {{P::IDC_FLOW, P::IDC_FIXED, P::IDC_FIXED, P::IDC_CHOICE3}, 67}, // a choice checks "Fixed Mode" again
        {{P::IDC_ENGR, P::IDC_CHOICE2, P::IDC_BASIC}, 128},
        {{P::IDC_NORMAL, P::IDC_FIXED, P::IDC_CHOICE3}, 19},
    };
    loop.AddDevice("KP510F", 0, 1);
    SetLcd(0, [](sim::LcdSettings& s) { s.displayMode = 17; });
    Open(0, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.byte);
        for (int id : c.clicks)
            Button(id)->click();
        line->ClearWrites();
        Apply()->click();
        ASSERT_TRUE(Settle(2));
        ASSERT_EQ(SentFrames(*line).size(), 2u);
        EXPECT_EQ(SentFrames(*line)[1].command, 197);
        EXPECT_EQ(SentFrames(*line)[1].data, hart::Bytes{static_cast<std::uint8_t>(c.byte)});
        EXPECT_EQ(Lcd(0).displayMode, c.byte);
        EXPECT_TRUE(Boxes().Boxes().empty()) << BoxTexts()[0].toStdString();
    }
    // The flow captions follow the display.
    Button(P::IDC_FLOW)->click();
    EXPECT_EQ(ChoiceCaptions(), (QStringList{"Flow Rate", "Total Flow", "Pressure"}));
    Button(P::IDC_ENGR)->click();
    EXPECT_EQ(ChoiceCaptions(), (QStringList{"PV", "%", "mA / address"}));

    Choose(Ctl<QComboBox>(sheet.get(), P::IDC_CIPHER), 3);
    line->ClearWrites();
    Apply()->click();
    ASSERT_TRUE(Settle(2));
    EXPECT_EQ(SentFrames(*line)[0].command, 156);
    EXPECT_EQ(SentFrames(*line)[0].data, hart::Bytes{3});
    EXPECT_EQ(Lcd(0).cipher, 3);
}

TEST_F(LcdSheetTest, ApplyWithoutACompleteChoiceSendsNothing) {
    using P = CLCDDisplayMode;
    struct Case {
        bool readsRefused; // then no display is known
        std::vector<int> clicks;
        QString box;
    };
    const Case cases[] = {
        {true, {}, "Select a Normal or Engr or Flow."},
        {false, {P::IDC_NORMAL, P::IDC_FIXED}, "Select a PV, Percent or mA/address."},
        {false, {P::IDC_FLOW, P::IDC_FIXED}, "Select a Flow Rate, Total Flow or Pressure."},
        {false, {P::IDC_NORMAL, P::IDC_BASIC, P::IDC_BASIC}, "Select a Basic Mode or Fixed Mode."}, // clicked off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box.toStdString());
        Restart();
        sim::SimDevice& d = loop.AddDevice("KP510F", 0, 1);
        // A byte outside the table: neither basic nor a fixed choice is checked.
        SetLcd(0, [](sim::LcdSettings& s) { s.displayMode = 5; });
        Open(0, 2, [&] { loop.With([&](sim::SimLoop&) { return d.faults.refuse = c.readsRefused ? 2 : 0; }); });
        Boxes().Clear();
        for (int id : c.clicks)
            Button(id)->click();
        line->ClearWrites();
        Apply()->click();
        QTest::qWait(60);
        EXPECT_TRUE(Sent().empty());
        ASSERT_EQ(Boxes().Boxes().size(), 1u);
        EXPECT_EQ(Boxes().Boxes()[0].text, c.box);
        EXPECT_EQ(Boxes().Boxes()[0].caption, "Korvex VMC70 Ver 2.3.33");
        EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::None);
    }
}

TEST_F(LcdSheetTest, EngrPageReadsAndWritesTheUserDefinedUnit) {
    loop.AddDevice("KT410", 0, 1);
    SetLcd(0, [](sim::LcdSettings& s) {
        s.engrUnit = 32;
        s.engrUpper = 250.5f;
        s.engrLower = -20.0f;
        s.engrTransfer = 1;
    });
    Open(0, 2);
    ToEngrPage();
    EXPECT_EQ(Sent(), (std::vector<int>{234, 233}));
    EXPECT_EQ(SentFrames(*line)[0].data, hart::Bytes{85});
    EXPECT_EQ(SentFrames(*line)[1].data, hart::Bytes{85});
    EXPECT_TRUE(Read()->isEnabled());
    auto* unit = Ctl<QComboBox>(sheet.get(), CLCDENGRMode::IDC_ENGR_UNIT);
    auto* user = Ctl<QLineEdit>(sheet.get(), CLCDENGRMode::IDC_USER_UNIT);
    EXPECT_EQ(Ctl<QComboBox>(sheet.get(), CLCDENGRMode::IDC_ENGR_TRFC)->currentText(), "Sqrt");
    EXPECT_EQ(unit->currentText(), "˚C");
    EXPECT_EQ(Ctl<QLineEdit>(sheet.get(), CLCDENGRMode::IDC_ENGR_UPPER)->text(), "250.5");
    EXPECT_EQ(Ctl<QLineEdit>(sheet.get(), CLCDENGRMode::IDC_ENGR_LOWER)->text(), "-20");
    EXPECT_FALSE(user->isVisible());

    Choose(unit, hart::FindCodeIndex(hart::UnitTable(), 249));
    EXPECT_TRUE(user->isVisible()) << "shown while the unit is 249";
    QTest::keyClicks(user, "bar");
    Retype(Ctl<QLineEdit>(sheet.get(), CLCDENGRMode::IDC_ENGR_UPPER), "10");
    Retype(Ctl<QLineEdit>(sheet.get(), CLCDENGRMode::IDC_ENGR_LOWER), "0");
    Choose(Ctl<QComboBox>(sheet.get(), CLCDENGRMode::IDC_ENGR_TRFC), 0);
    line->ClearWrites();
    Apply()->click();
    ASSERT_TRUE(Settle(2));
    ASSERT_EQ(Sent(), (std::vector<int>{244, 243}));
    EXPECT_EQ(SentFrames(*line)[0].data, hart::Bytes{0});
    hart::Bytes expected{249};
    for (float v : {10.0f, 0.0f})
        for (auto b : FloatBytes(v))
            expected.push_back(b);
    for (char ch : std::string("bar   "))
        expected.push_back(static_cast<std::uint8_t>(ch));
    EXPECT_EQ(SentFrames(*line)[1].data, expected) << "15 data bytes, blanks after the text";
    const sim::LcdSettings kept = Lcd(0);
    EXPECT_EQ(kept.engrUnit, 249);
    EXPECT_EQ(kept.userUnit, QByteArray("bar   "));
    EXPECT_EQ(kept.engrTransfer, 0);
    EXPECT_EQ(kept.engrUpper, 10.0f);

    // Read shows what the device keeps.
    user->clear();
    Choose(unit, 0);
    line->ClearWrites();
    Read()->click();
    ASSERT_TRUE(Settle(2));
    EXPECT_EQ(Sent(), (std::vector<int>{234, 233}));
    EXPECT_EQ(unit->currentText(), "User Defined Unit");
    EXPECT_EQ(user->text(), "bar");
    EXPECT_TRUE(user->isVisible());
}

TEST_F(LcdSheetTest, EngrUnitOtherThan249SendsNineBytes) {
    loop.AddDevice("KP510", 0, 1);
    Open(0, 2);
    ToEngrPage();
    auto* unit = Ctl<QComboBox>(sheet.get(), CLCDENGRMode::IDC_ENGR_UNIT);
    Choose(unit, hart::FindCodeIndex(hart::UnitTable(), 7)); // bar
    Retype(Ctl<QLineEdit>(sheet.get(), CLCDENGRMode::IDC_ENGR_UPPER), "16");
    line->ClearWrites();
    Apply()->click();
    ASSERT_TRUE(Settle(2));
    ASSERT_EQ(Sent(), (std::vector<int>{244, 243}));
    EXPECT_EQ(SentFrames(*line)[1].data.size(), 9u);
    EXPECT_EQ(SentFrames(*line)[1].data[0], 7);
    EXPECT_EQ(Lcd(0).engrUnit, 7);
    EXPECT_EQ(Lcd(0).engrUpper, 16.0f);
}

TEST_F(LcdSheetTest, UserUnitThatCannotGoAsOneByteACharacterIsRefused) {
    loop.AddDevice("KP510", 0, 1);
    Open(0, 2);
    ToEngrPage();
    auto* unit = Ctl<QComboBox>(sheet.get(), CLCDENGRMode::IDC_ENGR_UNIT);
    auto* user = Ctl<QLineEdit>(sheet.get(), CLCDENGRMode::IDC_USER_UNIT);
    Choose(unit, hart::FindCodeIndex(hart::UnitTable(), 249));
    for (const QString& text : {QString("a\tb"), QString("m\x7F"), QString::fromUtf8("미터")}) {
        SCOPED_TRACE(text.toStdString());
        user->setText(text);
        Boxes().Clear();
        line->ClearWrites();
        Apply()->click();
        QTest::qWait(60);
        EXPECT_TRUE(Sent().empty());
        ASSERT_EQ(Boxes().Boxes().size(), 1u);
        EXPECT_EQ(Boxes().Boxes()[0].text, "Wrong String");
        EXPECT_EQ(Boxes().Boxes()[0].caption, "VMC70");
        EXPECT_EQ(Boxes().Boxes()[0].icon, vmc::BoxIcon::None);
    }
}

TEST_F(LcdSheetTest, RefusedWritesAreReportedAndTheDeviceKeepsItsSettings) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    Open(0, 2);
    loop.With([&](sim::SimLoop&) { return d.writeProtect = 1; });
    Button(CLCDDisplayMode::IDC_ENGR)->click(); // basic mode, as read
    line->ClearWrites();
    Apply()->click();
    ASSERT_TRUE(Settle(2));
    EXPECT_EQ(Sent(), (std::vector<int>{156, 197}));
    EXPECT_EQ(BoxTexts(), (std::vector<QString>{"[Cmd#156] Because occur an error, fail a command!",
                                                "[Cmd#197] Because occur an error, fail a command!"}));
    EXPECT_EQ(Lcd(0).displayMode, 0);
}

TEST_F(LcdSheetTest, ALinkFailureDropsTheRestOfTheQueue) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 1);
    host->Comm().SetRetryCount(1);
    Open(0, 2);
    loop.With([&](sim::SimLoop&) { return d.faults.silent = -1; });
    line->ClearWrites();
    Apply()->click();
    ASSERT_TRUE(WaitSent(1));
    QTest::qWait(100);
    EXPECT_EQ(Sent(), (std::vector<int>{156}));
    EXPECT_EQ(BoxTexts(), std::vector<QString>{"No Response!"});
}

} // namespace

// The sheet machinery every page relies on: lazy initialisation, activation, "&Apply", field
// limits, wizard navigation and the upper-case edit.
#include "common/SimFixture.h"
#include "pages/common/PropertyPage.h"
#include "pages/common/PropertySheet.h"
#include "pages/common/UpperEdit.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace testing_support;

namespace {

// A page that records its hooks and has one bounded integer field.
class ProbePage : public CPropertyPage {
public:
    ProbePage(const QString& caption, std::vector<QString>* log) : CPropertyPage(caption), m_log(log) {
        edit = new QLineEdit(this);
        auto* l = new QVBoxLayout(this);
        l->addWidget(edit);
        Fields().Int(&value, edit, 0, 15);
    }
    void OnInitDialog() override { m_log->push_back(Caption() + " init"); }
    bool OnSetActive() override {
        m_log->push_back(Caption() + " active");
        return true;
    }
    bool OnKillActive() override {
        m_log->push_back(Caption() + " kill");
        return CPropertyPage::OnKillActive();
    }
    bool OnApply() override {
        m_log->push_back(Caption() + " apply " + QString::number(value));
        return true;
    }
    bool OnWizardNext() override {
        m_log->push_back(Caption() + " next");
        return allowNext;
    }
    QLineEdit* edit;
    int value = 3;
    bool allowNext = true;

private:
    std::vector<QString>* m_log;
};

struct SheetFixture : ::testing::Test {
    void SetUp() override { Boxes().Clear(); }
    std::vector<QString> log;
};

} // namespace

TEST_F(SheetFixture, PagesInitialiseWhenFirstShownAndHearActivation) {
    CPropertySheet sheet("Transmitter Information");
    auto* a = new ProbePage("A", &log);
    auto* b = new ProbePage("B", &log);
    sheet.AddPage(a);
    sheet.AddPage(b);
    sheet.UseExitButton();
    sheet.Open();
    EXPECT_EQ(log, (std::vector<QString>{"A init", "A active"})) << "B is not initialised until shown";
    EXPECT_FALSE(sheet.OkButton()->isVisible());
    EXPECT_EQ(sheet.CancelButton()->text(), "&Exit");
    a->edit->setText("5");
    ASSERT_TRUE(sheet.SetActivePage(1));
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(log, (std::vector<QString>{"A init", "A active", "A kill", "B init", "B active", "B kill", "A active"}));
    EXPECT_EQ(a->value, 5) << "leaving a page takes its fields";
}

TEST_F(SheetFixture, AFieldOutOfRangeKeepsThePageAndSaysWhy) {
    CPropertySheet sheet("S");
    auto* a = new ProbePage("A", &log);
    sheet.AddPage(a);
    sheet.AddPage(new ProbePage("B", &log));
    sheet.Open();
    struct Case {
        const char* text;
        const char* box;
    } cases[] = {{"16", "Please enter an integer between 0 and 15."}, {"x1", "Please enter an integer."}};
    for (const auto& c : cases) {
        Boxes().Clear();
        a->edit->setText(c.text);
        EXPECT_FALSE(sheet.SetActivePage(1)) << c.text;
        EXPECT_EQ(sheet.ActiveIndex(), 0);
        ASSERT_EQ(Boxes().Texts(), std::vector<QString>{c.box}) << c.text;
        EXPECT_EQ(Boxes().Boxes()[0].caption, "VMC70");
    }
    EXPECT_EQ(a->value, 3) << "a refused value never reaches the member";
}

TEST_F(SheetFixture, ApplyIsEnabledByChangedPagesAndAppliesOnlyThem) {
    CPropertySheet sheet("S");
    auto* a = new ProbePage("A", &log);
    auto* b = new ProbePage("B", &log);
    sheet.AddPage(a);
    sheet.AddPage(b);
    sheet.Open();
    EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
    a->SetModified();
    EXPECT_TRUE(sheet.ApplyButton()->isEnabled());
    a->edit->setText("9");
    log.clear();
    QTest::mouseClick(sheet.ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(log, (std::vector<QString>{"A apply 9"}));
    EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
    a->SetModified();
    a->edit->setText("99");
    log.clear();
    EXPECT_FALSE(sheet.Apply());
    EXPECT_TRUE(log.empty()) << "nothing is applied while a field is out of range";
}

TEST_F(SheetFixture, WizardWalksThePagesWithBackNextAndFinish) {
    CPropertySheet sheet("DAC Trim for Current");
    sheet.SetWizardMode();
    auto* one = new ProbePage("DAC Trim", &log);
    auto* two = new ProbePage("DAC Trim", &log);
    sheet.AddPage(one);
    sheet.AddPage(two);
    sheet.Open();
    EXPECT_FALSE(sheet.BackButton()->isEnabled());
    EXPECT_TRUE(sheet.NextButton()->isVisible());
    EXPECT_FALSE(sheet.ApplyButton()->isVisible());
    one->allowNext = false;
    QTest::mouseClick(sheet.NextButton(), Qt::LeftButton);
    EXPECT_EQ(sheet.ActiveIndex(), 0) << "a page may refuse Next";
    one->allowNext = true;
    QTest::mouseClick(sheet.NextButton(), Qt::LeftButton);
    EXPECT_EQ(sheet.ActiveIndex(), 1);
    EXPECT_TRUE(sheet.BackButton()->isEnabled());
    sheet.SetFinishText("Exit");
    EXPECT_TRUE(sheet.FinishButton()->isVisible());
    EXPECT_FALSE(sheet.NextButton()->isVisible());
    EXPECT_EQ(sheet.FinishButton()->text(), "Exit");
    QTest::mouseClick(sheet.FinishButton(), Qt::LeftButton);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

TEST(UpperEdit, TypedAndPastedTextTurnsToCapitals) {
    CUpperEdit edit;
    QTest::keyClicks(&edit, "pt-101a");
    EXPECT_EQ(edit.text(), "PT-101A");
    edit.setText("lower from the program");
    EXPECT_EQ(edit.text(), "lower from the program") << "text set by the program is left alone";
}

TEST(FieldBinding, OneFieldMovesAloneAndKeepsItsLimits) {
    Boxes().Clear();
    QLineEdit a, b, unbound;
    int va = 1, vb = 2;
    FieldBinding fields;
    fields.Int(&va, &a, 0, 15);
    fields.Int(&vb, &b, 0, 15);
    fields.Update(false);
    a.setText("16");
    b.setText("7");
    va = 4;
    EXPECT_TRUE(fields.UpdateOne(&b, true));
    EXPECT_EQ(vb, 7) << "the other field's bad value does not stop this one";
    EXPECT_TRUE(fields.UpdateOne(&b, false));
    EXPECT_EQ(a.text(), "16") << "showing one field leaves the others as typed";
    EXPECT_FALSE(fields.UpdateOne(&a, true));
    EXPECT_EQ(va, 4);
    EXPECT_EQ(Boxes().Texts(), std::vector<QString>{"Please enter an integer between 0 and 15."});
    EXPECT_FALSE(fields.UpdateOne(&unbound, false));
}

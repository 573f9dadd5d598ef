#include "common/basErrorHandling.h"

#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qv;

namespace {

class ErrorProcedures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearCurrentError();
        m_previous = ui::SetMessageBoxHandler(m_recorder);
    }
    void TearDown() override { ui::SetMessageBoxHandler(m_previous); }

    std::shared_ptr<ui::MessageRecorder> m_recorder = std::make_shared<ui::MessageRecorder>();
    std::shared_ptr<ui::MessageBoxHandler> m_previous;
};

void Inner()
{
    RaiseError(0x80040205, QString(), QStringLiteral("The item could not be found."));
}

// A procedure whose handler adds its name and passes the error on.
void Middle()
{
    try {
        Inner();
    } catch (...) {
        CaptureError();
        AddErrorSource(QStringLiteral("Middle()"));
        const ErrorState &e = CurrentError();
        RaiseError(e.Number, e.Source, e.Description);
    }
}

// A dialog whose button handler fails, as a form's handler would.
class FailingForm : public QDialog
{
public:
    FailingForm()
    {
        setWindowTitle(QStringLiteral("Insert Data"));
        auto *button = new QPushButton(QStringLiteral("Apply"), this);
        button->setObjectName(QStringLiteral("cmdApplyFilter"));
        (new QVBoxLayout(this))->addWidget(button);
        connect(button, &QPushButton::clicked, this, [] {
            HandleErrors([] { throw std::runtime_error("bad filter"); }, QString::fromLatin1(kTitleDataViews),
                         QStringLiteral("The filter could not be applied."));
        });
    }
};

} // namespace

TEST_F(ErrorProcedures, SourceGrowsOneLevelPerHandlerOutermostFirst)
{
    try {
        PassErrorsOn(QStringLiteral("VisualSelectFolder()"), [] { Middle(); });
        FAIL() << "the error did not reach the host";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), qint32(0x80040205));
        EXPECT_EQ(e.Source(), QStringLiteral("QVUSER.DVUser.VisualSelectFolder(): Middle(): QVUSER"));
        EXPECT_EQ(e.Description(), QStringLiteral("The item could not be found."));
    }
}

TEST_F(ErrorProcedures, RaiseErrorZeroReRaisesTheCurrentError)
{
    SetCurrentError(ComError(0x80040210, QStringLiteral("Inner"), QStringLiteral("Invalid filename")));
    try {
        RaiseError(0, QString(), QString());
        FAIL() << "nothing raised";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), qint32(0x80040210));
        EXPECT_EQ(e.Description(), QStringLiteral("Invalid filename"));
        EXPECT_EQ(e.Source(), QStringLiteral("QVUSER"));
    }
    // A new description replaces the old one; the number stays.
    try {
        RaiseError(0, QStringLiteral("Src"), QStringLiteral("Other"));
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), qint32(0x80040210));
        EXPECT_EQ(e.Source(), QStringLiteral("Src"));
        EXPECT_EQ(e.Description(), QStringLiteral("Other"));
    }
}

TEST_F(ErrorProcedures, ShowErrorShowsPrefixLineDefaultTitleAndClears)
{
    SetCurrentError(ComError(0x8004020C, QStringLiteral("X"), QStringLiteral("The data view has no fields.")));
    ui::SetMousePointer(ui::pointer::Hourglass);
    ShowError(QStringLiteral("The data could not be shown."), QString(), QStringLiteral("ignored"), 16);
    ASSERT_EQ(m_recorder->Messages.size(), 1);
    const ui::MessageRequest &box = m_recorder->Messages.first();
    EXPECT_EQ(box.Text, QStringLiteral("The data could not be shown.\r\nThe data view has no fields."));
    EXPECT_EQ(box.Title, QStringLiteral("Quorivo Data Views"));
    EXPECT_EQ(box.Style, 16);
    EXPECT_FALSE(CurrentError().IsSet());
    EXPECT_EQ(ui::MousePointer(), ui::pointer::Default);

    SetCurrentError(ComError(5, QStringLiteral("X"), QStringLiteral("plain")));
    ShowError(QString(), QString::fromLatin1(kTitleWizard));
    EXPECT_EQ(m_recorder->Messages.last().Text, QStringLiteral("plain"));
    EXPECT_EQ(m_recorder->Messages.last().Title, QStringLiteral("Quorivo Data View Wizard"));
    EXPECT_EQ(m_recorder->Messages.last().Style, 48);
}

TEST_F(ErrorProcedures, ShowMessageTakesTheActiveWindowCaption)
{
    QDialog form;
    form.setWindowTitle(QStringLiteral("Data View Manager - Team"));
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(ShowMessage(QStringLiteral("Delete?"), QString(), 4 + 256), 7);
    EXPECT_EQ(m_recorder->Messages.last().Title, QStringLiteral("Data View Manager - Team"));
    form.hide();
    QApplication::setActiveWindow(nullptr);
    ShowMessage(QStringLiteral("Done"));
    EXPECT_EQ(m_recorder->Messages.last().Title, QStringLiteral("Quorivo Data Views"));
}

TEST_F(ErrorProcedures, AFailingHandlerInARealFormReportsThroughTheRecorder)
{
    FailingForm form;
    form.show();
    auto *button = form.findChild<QPushButton *>(QStringLiteral("cmdApplyFilter"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(m_recorder->Messages.size(), 1);
    EXPECT_EQ(m_recorder->Messages[0].Text,
              QStringLiteral("The filter could not be applied.\r\nInternal error: bad filter"));
    EXPECT_EQ(m_recorder->Messages[0].Style, 48);
    EXPECT_FALSE(CurrentError().IsSet());
}

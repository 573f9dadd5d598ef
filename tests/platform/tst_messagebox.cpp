#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace qv::ui;

namespace {

struct StyleCase
{
    int style;
    QList<int> buttons;
    int defaultAnswer;
    QMessageBox::Icon icon;
};

class MessageStyles : public ::testing::TestWithParam<StyleCase>
{};

MessageRequest Box(const QString &text, const QString &title, int style)
{
    MessageRequest request;
    request.Text = text;
    request.Title = title;
    request.Style = style;
    return request;
}

class ModalTest : public ::testing::Test
{
protected:
    void TearDown() override { modal_driver::Clear(); }
};

} // namespace

TEST_P(MessageStyles, MapToButtonsDefaultAndIcon)
{
    const StyleCase &c = GetParam();
    EXPECT_EQ(StyleButtons(c.style), c.buttons);
    EXPECT_EQ(StyleDefaultAnswer(c.style), c.defaultAnswer);
    EXPECT_EQ(StyleIcon(c.style), c.icon);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageStyles,
    ::testing::Values(StyleCase{0, {1}, 1, QMessageBox::NoIcon},
                      StyleCase{48, {1}, 1, QMessageBox::Warning},
                      StyleCase{1 + 16, {1, 2}, 1, QMessageBox::Critical},
                      StyleCase{4 + 32 + 256, {6, 7}, 7, QMessageBox::Question},
                      StyleCase{3 + 64 + 512, {6, 7, 2}, 2, QMessageBox::Information},
                      StyleCase{2, {3, 4, 5}, 3, QMessageBox::NoIcon},
                      StyleCase{5 + 512, {4, 2}, 4, QMessageBox::NoIcon}, // no third button: the first
                      StyleCase{9, {1}, 1, QMessageBox::NoIcon}));

TEST_F(ModalTest, RealBoxAnswersWithTheButtonPressed)
{
    QString seenText;
    QString seenTitle;
    modal_driver::Push([&](QDialog &dialog) {
        auto &box = static_cast<QMessageBox &>(dialog);
        seenText = box.text();
        seenTitle = box.windowTitle();
        QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
    });
    EXPECT_EQ(ShowMessageBox(Box(QStringLiteral("Save the changes?"), QStringLiteral("Title"), 4 + 32)), 7);
    EXPECT_EQ(seenText, QStringLiteral("Save the changes?"));
    EXPECT_EQ(seenTitle, QStringLiteral("Title"));

    modal_driver::Push([](QDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(ShowMessageBox(Box(QStringLiteral("Go on?"), QString(), 1)), 2);
    modal_driver::Push([](QDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
    EXPECT_EQ(ShowMessageBox(Box(QStringLiteral("Replace?"), QString(), 3 + 256)), 7);
}

TEST_F(ModalTest, DriverThatLeavesTheDialogOpenIsCaught)
{
    QDialog dialog;
    modal_driver::Push([](QDialog &) {});
    EXPECT_EQ(RunModal(dialog), int(QDialog::Rejected));
    EXPECT_EQ(modal_driver::LeftOpen(), 1);
    EXPECT_EQ(modal_driver::Pending(), 0);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ModalTest, RecorderKeepsRequestsAndAnswersFromItsQueue)
{
    auto recorder = std::make_shared<MessageRecorder>();
    recorder->Answers.enqueue(6);
    auto previous = SetMessageBoxHandler(recorder);
    EXPECT_EQ(ShowMessageBox(Box(QStringLiteral("one"), QStringLiteral("T"), 4)), 6);
    EXPECT_EQ(ShowMessageBox(Box(QStringLiteral("two"), QStringLiteral("T"), 4 + 256)), 7); // queue empty: default
    SetMessageBoxHandler(previous);
    ASSERT_EQ(recorder->Messages.size(), 2);
    EXPECT_EQ(recorder->Messages[1].Text, QStringLiteral("two"));
    EXPECT_EQ(recorder->Messages[1].Style, 4 + 256);
}

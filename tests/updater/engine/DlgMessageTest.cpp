#include "engine/DlgMessage.h"

#include "ModalDriver.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

QPushButton* button(DlgMessage& message, const char* name)
{
    return message.findChild<QPushButton*>(name);
}

struct Answer {
    const char* how;
    std::function<void(QWidget*)> act;
    bool expectedFlag;
};

} // namespace

TEST(DlgMessageTest, EveryWayOutRejectsAndOnlyOkSetsTheFlag)
{
    const Answer answers[] = {
        {"OK", [](QWidget* modal) { pressButton(modal, "pushButton_ok"); }, true},
        {"Cancel", [](QWidget* modal) { pressButton(modal, "pushButton_cancel"); }, false},
        {"close control", [](QWidget* modal) { modal->close(); }, false},
    };
    for (const Answer& answer : answers) {
        DlgMessage message(nullptr);
        message.setInformation("Close the reader, please.");
        message.setOkButtonText("Retry");
        whenModalShown(answer.act);
        EXPECT_EQ(message.exec(), QDialog::Rejected) << answer.how;
        EXPECT_EQ(message.bOk, answer.expectedFlag) << answer.how;
    }
}

TEST(DlgMessageTest, ButtonsFollowTheLastCall)
{
    DlgMessage message(nullptr);
    message.setStandardButtonsOk();
    EXPECT_TRUE(button(message, "pushButton_cancel")->isHidden());
    EXPECT_EQ(button(message, "pushButton_ok")->text(), "OK");

    message.setOkButtonText("Retry");
    EXPECT_FALSE(button(message, "pushButton_cancel")->isHidden());
    EXPECT_EQ(button(message, "pushButton_ok")->text(), "Retry");
}

TEST(DlgMessageTest, LongTextWrapsInsideTheFixedDialog)
{
    DlgMessage message(nullptr);
    const QSize fixed = message.size();
    message.setInformation(QString("A rather long sentence that has to wrap. ").repeated(6));
    message.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&message));

    auto* label = message.findChild<QLabel*>("label");
    EXPECT_EQ(message.size(), fixed);
    EXPECT_EQ(message.minimumSize(), message.maximumSize());
    EXPECT_TRUE(label->wordWrap());
    EXPECT_LE(label->geometry().right(), message.width());
    EXPECT_GT(label->heightForWidth(label->width()), 2 * label->fontMetrics().height());
    EXPECT_EQ(label->alignment(), Qt::AlignTop);
    EXPECT_EQ(message.windowTitle(), "Kelvrin Updater");
    EXPECT_FALSE(message.windowIcon().isNull());
    EXPECT_TRUE(message.windowFlags() & Qt::WindowStaysOnTopHint);
}

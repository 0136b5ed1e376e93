#include <gtest/gtest.h>

#include "support/MessageBoxClicker.h"

namespace {

struct ButtonCase {
    MsgButtons buttons;
    MsgAnswer defaultAnswer;
    QMessageBox::StandardButton click;
    MsgAnswer expected;
    QStringList buttonTexts;  // sorted, as the user reads them
    QString defaultText;
};

// Every button of every button set, through real boxes answered with the mouse: an OK that acted as
// Cancel once passed every test that used a recording double.
TEST(DesktopMessages, EachButtonOfEachSetReturnsItsOwnAnswer) {
    const QStringList ok{QStringLiteral("确定")};
    const QStringList yesNo{QStringLiteral("否"), QStringLiteral("是")};
    const QStringList okCancel{QStringLiteral("取消"), QStringLiteral("确定")};
    const QStringList retryCancel{QStringLiteral("取消"), QStringLiteral("重试")};
    const ButtonCase cases[] = {
        {MsgButtons::Ok, MsgAnswer::Ok, QMessageBox::Ok, MsgAnswer::Ok, ok, ok.at(0)},
        {MsgButtons::YesNo, MsgAnswer::Yes, QMessageBox::Yes, MsgAnswer::Yes, yesNo, yesNo.at(1)},
        {MsgButtons::YesNo, MsgAnswer::Yes, QMessageBox::No, MsgAnswer::No, yesNo, yesNo.at(1)},
        {MsgButtons::YesNo, MsgAnswer::No, QMessageBox::Yes, MsgAnswer::Yes, yesNo, yesNo.at(0)},
        {MsgButtons::OkCancel, MsgAnswer::Cancel, QMessageBox::Ok, MsgAnswer::Ok, okCancel,
         okCancel.at(0)},
        {MsgButtons::OkCancel, MsgAnswer::Ok, QMessageBox::Cancel, MsgAnswer::Cancel, okCancel,
         okCancel.at(1)},
        {MsgButtons::RetryCancel, MsgAnswer::Retry, QMessageBox::Retry, MsgAnswer::Retry,
         retryCancel, retryCancel.at(1)},
        {MsgButtons::RetryCancel, MsgAnswer::Retry, QMessageBox::Cancel, MsgAnswer::Cancel,
         retryCancel, retryCancel.at(1)},
    };
    for (const ButtonCase& c : cases) {
        MessageBoxClicker clicker({c.click});
        MessageRequest request;
        request.icon = MsgIcon::Question;
        request.buttons = c.buttons;
        request.defaultAnswer = c.defaultAnswer;
        request.title = Messages::kTitle;
        request.text = QStringLiteral("第一行\r\n第二行");
        const MsgAnswer answer = messages().show(request);
        SCOPED_TRACE(c.buttonTexts.join(u'/').toStdString() + " clicked " +
                     std::to_string(c.click));
        EXPECT_EQ(answer, c.expected);
        ASSERT_EQ(clicker.seen().size(), 1);
        const MessageBoxClicker::Seen& seen = clicker.seen().at(0);
        EXPECT_EQ(seen.buttonTexts, c.buttonTexts);
        EXPECT_EQ(seen.defaultButtonText, c.defaultText);
        EXPECT_EQ(seen.title, QStringLiteral("Ombrel"));
        EXPECT_EQ(seen.text, QStringLiteral("第一行\n第二行"));
        EXPECT_EQ(seen.icon, QMessageBox::Question);
    }
}

// A box closed without a button (Esc, the window's close box) must never act.
TEST(DesktopMessages, ClosingAQuestionWithoutAButtonIsTheSafeAnswer) {
    const std::pair<MsgButtons, MsgAnswer> cases[] = {
        {MsgButtons::YesNo, MsgAnswer::No},
        {MsgButtons::OkCancel, MsgAnswer::Cancel},
        {MsgButtons::RetryCancel, MsgAnswer::Cancel},
    };
    for (const auto& [buttons, safe] : cases) {
        // NoButton is on no box: the clicker closes it as the Esc key would.
        MessageBoxClicker clicker({QMessageBox::NoButton});
        MessageRequest request;
        request.buttons = buttons;
        request.defaultAnswer = buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
        EXPECT_EQ(messages().show(request), safe);
        EXPECT_EQ(clicker.seen().size(), 1);
    }
}

}  // namespace

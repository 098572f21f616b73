// The test harness itself: what counts as a scripted box or file dialog, and deferred actions that
// die with their owner.
#include "platform/Dialogs.h"
#include "platform/TForm.h"
#include "support/Deferred.h"
#include "support/GoldenImage.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <memory>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

namespace {

int Ask(TMsgDlgButtons buttons) { return MessageDlg(QStringLiteral("Save the table?"), TMsgDlgType::mtConfirmation, buttons); }

TEST(UnscriptedDialogs, FailTheTestNameTheBoxAndTakeTheSafeAnswer)
{
    struct Case {
        TMsgDlgButtons Buttons;
        int Answer;
    };
    for (const Case& c : {Case{TMsgDlgButtons::mbOK, platform::mrOk}, Case{TMsgDlgButtons::mbOKCancel, platform::mrCancel},
                          Case{TMsgDlgButtons::mbYesNo, platform::mrNo},
                          Case{TMsgDlgButtons::mbYesNoCancel, platform::mrCancel}}) {
        int answer = -1;
        EXPECT_NONFATAL_FAILURE(answer = Ask(c.Buttons), "message box: Save the table?");
        EXPECT_EQ(answer, c.Answer);
    }
    QString file = QStringLiteral("unchanged");
    EXPECT_NONFATAL_FAILURE(file = platform::PromptForFileName({true, QStringLiteral("Export table")}),
                            "save file dialog: Export table");
    EXPECT_TRUE(file.isEmpty());
}

TEST(ScriptedMessages, OkBoxesNeedNoAnswerButQuestionsDo)
{
    ScriptedMessages messages;
    EXPECT_EQ(Ask(TMsgDlgButtons::mbOK), platform::mrOk);
    messages.QueueAnswer(platform::mrYes);
    messages.QueueAnswer(platform::mrOk);
    EXPECT_EQ(Ask(TMsgDlgButtons::mbYesNo), platform::mrYes);
    EXPECT_EQ(Ask(TMsgDlgButtons::mbOKCancel), platform::mrOk);
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(Ask(TMsgDlgButtons::mbYesNoCancel), platform::mrCancel),
                            "no answer scripted for the Yes/No/Cancel message box: Save the table?");
    EXPECT_EQ(messages.Shown().size(), 4u);
}

TEST(ScriptedMessages, AnAnswerThatIsNoButtonOfTheBoxFails)
{
    ScriptedMessages messages;
    messages.QueueAnswer(platform::mrYes);
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(Ask(TMsgDlgButtons::mbOKCancel), platform::mrCancel),
                            "scripted answer 6 is no button of the OK/Cancel message box");
}

TEST(ScriptedMessages, UnusedAnswersFailAndTheEarlierResponderComesBack)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessages messages;
            messages.QueueAnswer(platform::mrNo);
        },
        "1 scripted message box answer(s) never used");
    {
        ScriptedMessages outer;
        {
            ScriptedMessages inner;
            Ask(TMsgDlgButtons::mbOK);
            EXPECT_EQ(inner.Shown().size(), 1u);
        }
        Ask(TMsgDlgButtons::mbOK);
        EXPECT_EQ(outer.Shown().size(), 1u);
    }
    EXPECT_NONFATAL_FAILURE(Ask(TMsgDlgButtons::mbOK), "unscripted OK message box");
}

TEST(ScriptedFileDialogs, AnswersInOrderAndFailsWhenNoneIsQueued)
{
    ScriptedFileDialogs dialogs;
    dialogs.QueueAnswer(QStringLiteral("/data/table.csv"));
    dialogs.QueueAnswer(QString());
    EXPECT_EQ(platform::PromptForFileName({false, QStringLiteral("Open")}), QStringLiteral("/data/table.csv"));
    EXPECT_TRUE(platform::PromptForFileName({true, QStringLiteral("Save")}).isEmpty());
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(platform::PromptForFileName({true, QStringLiteral("Again")}).isEmpty()),
                            "no answer scripted for the save file dialog: Again");
    ASSERT_EQ(dialogs.Shown().size(), 3u);
    EXPECT_EQ(dialogs.Shown()[1].Title, QStringLiteral("Save"));
}

TEST(Deferred, WhenShownActsInsideTheModalLoop)
{
    platform::TForm form;
    bool visibleThen = false;
    WhenShown(&form, [&] {
        visibleThen = form.isVisible();
        form.done(platform::mrOk);
    });
    EXPECT_EQ(form.exec(), platform::mrOk);
    EXPECT_TRUE(visibleThen);
}

TEST(Deferred, ActionsDieWithTheirOwner)
{
    int ran = 0;
    {
        auto owner = std::make_unique<QWidget>();
        Later(owner.get(), [&] { ++ran; });
        WhenShown(owner.get(), [&] { ++ran; });
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 0);
}

}  // namespace

TEST(GoldenImage, ToleratesEdgeNoiseButNotAChangedArea)
{
    TempDir dir;
    QImage golden(200, 100, QImage::Format_RGB32);
    golden.fill(qRgb(240, 240, 240));
    ASSERT_TRUE(golden.save(dir.File("look.png"), "PNG"));

    QImage noisy = golden;
    noisy.setPixel(3, 3, qRgb(230, 240, 250));  // within the channel tolerance
    noisy.setPixel(4, 4, qRgb(0, 0, 0));        // one pixel of 20000: within the fraction
    EXPECT_TRUE(testsupport::MatchesGolden(noisy, dir.File("look.png")));

    // A check mark's worth of pixels is a change, not noise.
    QImage changed = golden;
    for (int i = 0; i < 12; ++i)
        changed.setPixel(10 + i, 10 + i / 2, qRgb(0, 0, 0));
    EXPECT_FALSE(testsupport::MatchesGolden(changed, dir.File("look.png")));
    EXPECT_FALSE(testsupport::MatchesGolden(golden.scaled(201, 100), dir.File("look.png")));
    EXPECT_FALSE(testsupport::MatchesGolden(golden, dir.File("missing.png")));
}

// Updating a golden leaves a review page with the old and new picture and the changed pixels in
// the temporary folder; an update that changes nothing leaves none.
TEST(GoldenImage, UpdateLeavesAReviewPageForAChangedImage)
{
    TempDir dir;
    QImage old(40, 20, QImage::Format_RGB32);
    old.fill(qRgb(240, 240, 240));
    ASSERT_TRUE(old.save(dir.File("look.png"), "PNG"));
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", dir.Path().toLocal8Bit());
    qputenv("CONF_UPDATE_GOLDEN", "1");
    const QString page = dir.File("golden-updates/look.html");

    testing::internal::CaptureStdout();
    EXPECT_TRUE(testsupport::MatchesGolden(old, dir.File("look.png")));
    EXPECT_FALSE(QFile::exists(page));

    QImage changed = old;
    changed.setPixel(5, 6, qRgb(235, 240, 240));  // small, but a change all the same
    EXPECT_TRUE(testsupport::MatchesGolden(changed, dir.File("look.png")));
    const std::string out = testing::internal::GetCapturedStdout();
    qunsetenv("CONF_UPDATE_GOLDEN");
    if (oldTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);

    EXPECT_NE(out.find(page.toStdString()), std::string::npos) << out;
    QFile html(page);
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QByteArray text = html.readAll();
    for (const char* img : {"look.old.png", "look.new.png", "look.diff.png"})
        EXPECT_TRUE(text.contains(img)) << img;
    EXPECT_EQ(QImage(dir.File("golden-updates/look.old.png")).pixel(5, 6), old.pixel(5, 6));
    EXPECT_EQ(QImage(dir.File("golden-updates/look.new.png")).pixel(5, 6), changed.pixel(5, 6));
    const QImage diff(dir.File("golden-updates/look.diff.png"));
    EXPECT_EQ(diff.pixel(5, 6), qRgb(255, 0, 0));
    EXPECT_EQ(diff.pixel(6, 6), qRgb(255, 255, 255));
    EXPECT_EQ(QImage(dir.File("look.png")).pixel(5, 6), changed.pixel(5, 6));
}

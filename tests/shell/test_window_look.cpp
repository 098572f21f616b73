#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "shell/UAbout.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "shell/USoftOptions.h"
#include "shell/UWindowLook.h"

#include <QEnterEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace shell;
using controls::TPicButton;

namespace {

constexpr platform::TColor Face = 0x00EDF7F8;

QRgb rgb(platform::TColor c) { return platform::ToQColor(c).rgb(); }
QRgb pixel(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xFF000000; }

class WindowLook : public ::testing::Test {
protected:
    void SetUp() override
    {
        App_State = {};
        App_State.Language_Folder = Dir.Path();
        Load_Default_Language();
    }
    void TearDown() override
    {
        App_State = {};
        Load_Default_Language();
    }
    TempDir Dir;
    ScriptedMessages Messages;
};

struct Window_Case {
    const char* Name;
    std::function<std::unique_ptr<platform::TForm>()> Make;
    bool Has_Cancel;
};

const Window_Case windows[] = {
    {"open", [] { return std::make_unique<TFOpenConf>(); }, true},
    {"new", [] { return std::make_unique<TFNew_Project>(); }, true},
    {"options", [] { return std::make_unique<TFSoftOptions>(); }, true},
    {"about", [] { return std::make_unique<TFAbout>(); }, false},
};

}  // namespace

TEST_F(WindowLook, EveryWindowSetsUpTheButtonTableAndPlainLabels)
{
    for (const Window_Case& c : windows) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<platform::TForm> w = c.Make();
        const QList<TPicButton*> buttons = w->findChildren<TPicButton*>();
        ASSERT_FALSE(buttons.isEmpty());
        for (TPicButton* b : buttons) {
            EXPECT_EQ(b->Color(), Face);
            EXPECT_EQ(b->LightColor(), platform::clGray);
            EXPECT_EQ(b->Style(), controls::bsEncarta);
            EXPECT_EQ(b->ColorWhenDown(), 0x000080FFu);
            EXPECT_EQ(b->HotTrackColor(), platform::clYellow);
            EXPECT_EQ(b->Alignment(), platform::taCenter);
            if (b->ModalResult() != platform::mrNone)
                EXPECT_FALSE(b->Glyph().isNull()) << b->Caption().toStdString();
        }
        for (QLabel* l : w->findChildren<QLabel*>())
            EXPECT_NE(l->textFormat(), Qt::AutoText) << l->text().toStdString();
    }
}

TEST_F(WindowLook, TheButtonsShowTheFaceHotAndPressedColours)
{
    TFNew_Project w;
    w.show();
    TPicButton* ok = w.Btn_OK;
    TPicButton* cancel = w.Btn_Cancel;
    ok->clearFocus();
    cancel->clearFocus();
    auto shot = [](TPicButton* b) { return b->grab().toImage().convertToFormat(QImage::Format_RGB32); };

    QImage face = shot(cancel);
    EXPECT_EQ(pixel(face, 0, 0), rgb(platform::clGray));
    EXPECT_EQ(pixel(face, face.width() - 1, face.height() - 1), rgb(platform::clGray));
    EXPECT_EQ(pixel(face, 2, 2), rgb(Face));
    EXPECT_FALSE(ok->Glyph().isNull());

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(cancel, &enter);
    EXPECT_EQ(pixel(shot(cancel), 2, 2), rgb(platform::clYellow));

    QTest::mousePress(ok, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(pixel(shot(ok), 2, 2), rgb(0x000080FF));
    w.hide();
}

TEST_F(WindowLook, EscapeClosesOnlyWindowsWithACancelButton)
{
    for (const Window_Case& c : windows) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<platform::TForm> w = c.Make();
        bool stillOpen = false;
        QTimer::singleShot(0, w.get(), [&] {
            QTest::keyClick(w.get(), Qt::Key_Escape);
            stillOpen = w->isVisible();
            if (stillOpen)
                w->SetModalResult(platform::mrOk);
        });
        const int result = w->ShowModal();
        EXPECT_EQ(stillOpen, !c.Has_Cancel);
        EXPECT_EQ(result, c.Has_Cancel ? platform::mrCancel : platform::mrOk);
    }
}

TEST_F(WindowLook, LanguageNamesShowAsWritten)
{
    const QString name = QStringLiteral("<font size=6 color=red>Big");
    Dir.Write(name + QStringLiteral(".lng"), "STR300 = x\r\n");
    TFSoftOptions w;
    w.FormShow();
    QLabel* label = w.L_L[0];
    ASSERT_EQ(label->text(), name);
    EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(name));
}

TEST_F(WindowLook, LongNamesEndInAnEllipsisWithTheWholeNameAsHint)
{
    QWidget frame;
    TNameLabel label(&frame);
    label.setGeometry(0, 0, 200, 16);
    frame.show();
    const QString longName = QStringLiteral("<b>") + QString(250, QLatin1Char('W'));
    label.SetName(longName);
    EXPECT_EQ(label.Name(), longName);
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026))) << label.text().toStdString();
    EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), 200);
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    EXPECT_TRUE(label.toolTip().contains(QStringLiteral("&lt;b&gt;") + QString(250, QLatin1Char('W'))));

    label.resize(4000, 16);  // room enough: the whole name and no hint
    EXPECT_EQ(label.text(), longName);
    EXPECT_TRUE(label.toolTip().isEmpty());

    label.SetName(QStringLiteral("Plant A"));
    EXPECT_EQ(label.text(), QStringLiteral("Plant A"));
}

// A table's cells hold names and values from files and from the user: the window's look switches
// HTML off in every table it holds, nested ones included.
TEST(WindowLookTables, EveryTableOfTheWindowShowsMarkUpAsText)
{
    QWidget window;
    auto* direct = new grid::TExtColumnGrid;
    direct->setParent(&window);
    auto* panel = new QWidget(&window);
    auto* nested = new grid::TExtStringGrid;
    nested->setParent(panel);
    ASSERT_TRUE(direct->EnableHTML);
    direct->SetCells(1, 1, QStringLiteral("<B>name</B>"));

    Apply_Window_Look(&window);

    EXPECT_FALSE(direct->EnableHTML);
    EXPECT_FALSE(nested->EnableHTML);
    EXPECT_FALSE(direct->IsHTMLText(direct->Cells(1, 1)));
}

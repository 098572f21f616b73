#include "controls/dropdowns/DropDownForm.h"
#include "controls/dropdowns/ImagePickerDropDown.h"
#include "platform/Exception.h"
#include "platform/TImageList.h"
#include "support/GoldenImage.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace dropdowns;

namespace {

struct PickerFixture {
    QWidget window;
    TExtImagePickerDropDown* picker;
    platform::TImageList images{16, 16};
    QStringList events;

    explicit PickerFixture(int imageCount = 10)
    {
        window.resize(300, 300);
        for (int i = 0; i < imageCount; ++i) {
            QImage image(16, 16, QImage::Format_ARGB32);
            image.fill(QColor::fromHsv(i * 30, 255, 255));
            images.Add(image);
        }
        picker = new TExtImagePickerDropDown(&window);
        picker->move(10, 10);
        picker->SetImages(&images);
        picker->AddImagesFromImageList();
        picker->OnChange = [this] { events << "change"; };
        picker->OnSelect = [this] { events << QString("select %1").arg(picker->ItemIndex()); };
        window.show();
        QApplication::setActiveWindow(&window);
        picker->setFocus();
        QApplication::processEvents();
    }
    ~PickerFixture() { picker->HideDropDown(false); }

    void Open()
    {
        QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
        QApplication::processEvents();
    }
    QWidget* KeyTarget() const
    {
        return picker->DroppedDown() ? static_cast<QWidget*>(picker->Selector()) : static_cast<QWidget*>(picker);
    }
    void Key(Qt::Key key) { QTest::keyClick(KeyTarget(), key); }
    void Wheel(QWidget* target, int delta)
    {
        const QPoint pos = target->rect().center();
        QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
};

}  // namespace

TEST(ImagePickerValue, ImageIndexSelectsTheItemShowingThatImage)
{
    PickerFixture f;
    ASSERT_EQ(f.picker->Items().Count(), 10);
    EXPECT_EQ(f.picker->Items().Items(9)->ImageIndex(), 9);
    f.picker->SetImageIndex(7);
    EXPECT_EQ(f.picker->ItemIndex(), 7);
    EXPECT_EQ(f.picker->ImageIndex(), 7);
    f.picker->SetImageIndex(42);
    EXPECT_EQ(f.picker->ItemIndex(), -1);
    EXPECT_EQ(f.picker->ImageIndex(), -1);
}

TEST(ImagePickerValue, IndexChangesFireChangeThenSelectAndBadIndexesAreClamped)
{
    PickerFixture f;
    f.picker->SetItemIndex(3);
    f.picker->SetItemIndex(3);     // the same: nothing
    f.picker->SetItemIndex(10);    // at the count: ignored
    f.picker->SetItemIndex(-5);    // negative: no selection
    f.picker->SetItemIndex(-1);    // already none: nothing
    EXPECT_EQ(f.events, QStringList({"change", "select 3", "change", "select -1"}));
    EXPECT_EQ(f.picker->ItemIndex(), -1);

    // An index left behind by removed items reads as no selection and paints nothing.
    f.picker->SetItemIndex(8);
    f.picker->Items().Delete(9);
    f.picker->Items().Delete(8);
    EXPECT_EQ(f.picker->ItemIndex(), -1);
    EXPECT_EQ(f.picker->ImageIndex(), -1);
    f.picker->grab();
    f.picker->SetItemIndex(2);
    EXPECT_EQ(f.picker->ItemIndex(), 2);
}

TEST(ImagePickerDropDownList, TakesThePanelSizeOfItsImageGrid)
{
    struct Case {
        int images, columns;
        QSize selector;
    };
    const Case cases[] = {{3, 1, QSize(28, 3 * 24 + 4)}, {10, 4, QSize(4 * 24 + 4, 3 * 24 + 4)},
                          {10, 5, QSize(5 * 24 + 4, 2 * 24 + 4)}};
    for (const Case& c : cases) {
        PickerFixture f(c.images);
        f.picker->SetColumns(c.columns);
        f.picker->DropDownHeader().SetVisible(false);
        f.picker->DropDownFooter().SetVisible(false);
        f.Open();
        ASSERT_TRUE(f.picker->DroppedDown());
        EXPECT_EQ(f.picker->Selector()->GetSelectorPanelSize(), c.selector);
        const int border = 2 * f.picker->DropDownBorderWidth();
        EXPECT_EQ(f.picker->DropDownForm()->size(),
                  QSize(std::max(80, c.selector.width() + border), std::max(50, c.selector.height() + border)));
        EXPECT_FALSE(f.picker->Selector()->VertScrollBarVisible());
        EXPECT_FALSE(f.picker->Selector()->ScrollBarShown(platform::sbHorizontal));
    }
}

TEST(ImagePickerDropDownList, ArrowsMoveByCellsAndRowsInTheOpenGrid)
{
    struct Case {
        Qt::Key key;
        int expected;
    };
    const Case cases[] = {{Qt::Key_Down, 9}, {Qt::Key_Up, 1}, {Qt::Key_Right, 6}, {Qt::Key_Left, 4},
                          {Qt::Key_End, 9},  {Qt::Key_Home, 0}};
    for (const Case& c : cases) {
        PickerFixture f;
        f.picker->SetColumns(4);
        f.picker->SetItemIndex(5);
        f.Open();
        f.Key(c.key);
        EXPECT_EQ(f.picker->ItemIndex(), c.expected) << "key " << c.key;
        EXPECT_TRUE(f.picker->DroppedDown());
    }
    PickerFixture f;
    f.picker->SetColumns(4);
    f.picker->SetItemIndex(1);
    f.Open();
    f.Key(Qt::Key_Up);  // no row above
    EXPECT_EQ(f.picker->ItemIndex(), 1);
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Down);  // no row below
    EXPECT_EQ(f.picker->ItemIndex(), 9);
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->ItemIndex(), 1);
    // Cancelling a closed drop-down changes nothing.
    f.picker->SetItemIndex(3);
    f.picker->HideDropDown(true);
    EXPECT_EQ(f.picker->ItemIndex(), 3);
}

TEST(ImagePickerDropDownList, WheelMovesTheHotCellOpenAndTheSelectionClosed)
{
    PickerFixture f;
    f.Wheel(f.picker, -120);  // the list was never filled: nothing to step through
    EXPECT_EQ(f.picker->ItemIndex(), -1);

    f.picker->SetItemIndex(2);
    f.Open();
    f.events.clear();
    f.Wheel(f.picker->DropDownForm(), -120);
    f.Wheel(f.picker->DropDownForm(), -120);
    EXPECT_EQ(f.picker->Selector()->ItemHot(), 1);
    EXPECT_EQ(f.picker->ItemIndex(), 2);
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->ItemIndex(), 1);
    EXPECT_EQ(f.events, QStringList({"change", "select 1"}));

    f.events.clear();
    f.Wheel(f.picker, -120);
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->ItemIndex(), 2);
    EXPECT_EQ(f.events, QStringList({"change", "select 2"}));
    f.Wheel(f.picker, 120);
    EXPECT_EQ(f.picker->ItemIndex(), 1);

    // A value set in code is where the wheel goes on from.
    f.picker->SetItemIndex(6);
    f.Wheel(f.picker, -120);
    EXPECT_EQ(f.picker->ItemIndex(), 7);
}

TEST(ImagePickerDropDownList, ClickOnACellPicksAndClosesAndTheButtonOpens)
{
    PickerFixture f;
    QTest::mouseClick(f.picker->Button(), Qt::LeftButton);
    ASSERT_TRUE(f.picker->DroppedDown());
    TCustomItemSelector* panel = f.picker->Selector()->Panel();
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, panel->GetItemRect(4).center());
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->ItemIndex(), 4);
}

TEST(ImagePickerFolder, AddsOnlyFilesAndLeavesPicturesThatDoNotLoadEmpty)
{
    TempDir dir;
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir.File("b.png")));
    ASSERT_TRUE(image.save(dir.File("a.png")));
    dir.Write("bad.png", "not a picture");
    dir.Write("note.txt", "text");
    ASSERT_TRUE(QDir(dir.Path()).mkdir("folder.png"));

    PickerFixture f(0);
    f.picker->AddImagesFromFolder(dir.Path() + "/*.png", true);
    ASSERT_EQ(f.picker->Items().Count(), 3);
    EXPECT_EQ(f.picker->Items().Items(0)->Caption(), "a.png");
    EXPECT_EQ(f.picker->Items().Items(0)->Image.size(), QSize(8, 6));
    EXPECT_EQ(f.picker->Items().Items(1)->Caption(), "b.png");
    EXPECT_EQ(f.picker->Items().Items(2)->Caption(), "");
    EXPECT_TRUE(f.picker->Items().Items(2)->Image.isNull());

    f.picker->AddImagesFromFolder(dir.Path() + "/*.png", false);
    EXPECT_EQ(f.picker->Items().Items(3)->Caption(), "");

    try {
        f.picker->AddImagesFromFolder(dir.File("missing") + "/*.png", true);
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().startsWith("Cannot read the folder")) << e.message().toStdString();
    }
    EXPECT_EQ(f.picker->Items().Count(), 6);
}

TEST(ImagePickerLook, OpensInTheDefaultLook)
{
    PickerFixture f;
    f.picker->SetColumns(4);
    f.picker->SetItemIndex(5);
    f.Open();
    ASSERT_TRUE(f.picker->DroppedDown());
    EXPECT_TRUE(testsupport::MatchesGolden(f.picker->DropDownForm()->grab().toImage(),
                                           TEST_DATA_DIR "/golden/imagepicker_open.png"));
    f.picker->HideDropDown(false);
    f.picker->clearFocus();
    QApplication::processEvents();
    EXPECT_TRUE(testsupport::MatchesGolden(f.picker->grab().toImage(), TEST_DATA_DIR "/golden/imagepicker_edit.png"));
}

TEST(ImagePickerDropDownList, AClickOutsideTheOpenGridCancelsTheMoves)
{
    PickerFixture f;
    f.picker->SetColumns(4);
    f.picker->SetItemIndex(5);
    f.Open();
    f.Key(Qt::Key_Down);
    ASSERT_EQ(f.picker->ItemIndex(), 9);
    const QPoint outside = f.window.mapFromGlobal(f.picker->DropDownForm()->geometry().bottomRight() + QPoint(30, 30));
    QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, Qt::NoModifier, outside);
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->ItemIndex(), 5);
}

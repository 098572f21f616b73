// The shared internal images: their layouts, colour mapping, the start-up that runs once, and
// the tree's choice of check images.
#include "TreeFixture.h"

#include <QGuiApplication>
#include <QPalette>

using namespace treetest;

namespace {

// Restores the application palette when a test changed it.
struct PaletteScope {
    QPalette Saved = QGuiApplication::palette();
    ~PaletteScope() { QGuiApplication::setPalette(Saved); }
};

bool SameImage(const QImage& a, const QImage& b) { return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32); }

}  // namespace

TEST(TreeImages, EveryCheckListHasTheSharedLayout)
{
    TBaseNodeTree t;  // starts the module
    const TCheckImageKind kinds[] = {ckLightCheck, ckDarkCheck, ckLightTick, ckDarkTick, ckFlat, ckXP, ckSystemFlat, ckSystemDefault};
    for (TCheckImageKind kind : kinds) {
        SCOPED_TRACE(int(kind));
        platform::TImageList* list = InternalCheckImages(kind);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->Count(), CheckImageIndex::Count);
        EXPECT_EQ(list->Width(), list->Height());
        // Image 0 is empty; the layout's states look different from one another.
        for (int y = 0; y < list->Height(); ++y)
            for (int x = 0; x < list->Width(); ++x)
                ASSERT_EQ(qAlpha(list->Image(0).pixel(x, y)), 0);
        using namespace CheckImageIndex;
        if (kind == ckSystemFlat || kind == ckSystemDefault)
            continue;  // the platform style decides how far its states differ
        const std::pair<int, int> different[] = {
            {RadioUnchecked, RadioChecked}, {CheckUnchecked, CheckChecked}, {CheckChecked, CheckMixed},
            {CheckUnchecked, CheckUnchecked + 3}, {CheckChecked, CheckChecked + 3}, {PushButton, PushButton + 2},
            {RadioUnchecked, CheckUnchecked},
        };
        for (auto [a, b] : different)
            EXPECT_FALSE(SameImage(list->Image(a), list->Image(b))) << a << " vs " << b;
        EXPECT_EQ(qAlpha(list->Image(CheckUnchecked).pixel(0, 0)), 0) << "the mask colour is transparent";
    }
    EXPECT_EQ(InternalCheckImages(ckCustom), nullptr);
    ASSERT_NE(UtilityImages(), nullptr);
    EXPECT_GE(UtilityImages()->Count(), UtilityImageIndex::Count);
    EXPECT_FALSE(SameImage(UtilityImages()->Image(UtilityImageIndex::SortAscending),
                           UtilityImages()->Image(UtilityImageIndex::SortDescending)));
    for (int slot : {CursorHeaderSplit, CursorVertSplit}) {
        const TCursorData* cursor = ScreenCursor(slot);
        ASSERT_NE(cursor, nullptr);
        EXPECT_FALSE(cursor->Image.isNull());
        EXPECT_TRUE(cursor->Image.rect().contains(cursor->HotSpot));
        EXPECT_EQ(qAlpha(cursor->Image.pixel(0, 0)), 0);
    }
    EXPECT_EQ(ScreenCursor(CursorHeaderSplit + 1), nullptr);
}

TEST(TreeImages, LoadingCutsSquaresAndMapsTheFourColours)
{
    PaletteScope scope;
    QPalette pal = QGuiApplication::palette();
    pal.setColor(QPalette::Base, QColor(1, 2, 3));         // window
    pal.setColor(QPalette::ButtonText, QColor(4, 5, 6));   // button text
    QGuiApplication::setPalette(pal);

    platform::TImageList plain(8, 8), mapped(8, 8);
    LoadInternalImage(plain, QStringLiteral("TV_CHECK_DARK"), false);
    LoadInternalImage(mapped, QStringLiteral("TV_CHECK_DARK"), true);
    const QImage bitmap = InternalBitmap(QStringLiteral("TV_CHECK_DARK"));
    EXPECT_EQ(plain.Width(), bitmap.height()) << "the size follows the bitmap's height";
    EXPECT_EQ(plain.Count(), bitmap.width() / bitmap.height());
    // The middle of an unchecked box is white; its frame black.
    const int box = CheckImageIndex::CheckUnchecked;
    EXPECT_EQ(plain.Image(box).pixel(8, 8), qRgb(255, 255, 255));
    EXPECT_EQ(mapped.Image(box).pixel(8, 8), qRgb(1, 2, 3));
    EXPECT_EQ(plain.Image(box).pixel(1, 8), qRgb(0, 0, 0));
    EXPECT_EQ(mapped.Image(box).pixel(1, 8), qRgb(4, 5, 6));
    EXPECT_EQ(qAlpha(mapped.Image(box).pixel(0, 0)), 0);

    try {
        LoadInternalImage(plain, QStringLiteral("TV_NOWHERE"), true);
        ADD_FAILURE() << "a missing resource loads";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(std::string(e.what()), "Internal image \"TV_NOWHERE\" is missing or corrupt.");
    }
    EXPECT_EQ(plain.Count(), CheckImageIndex::Count) << "a failed load leaves the list as it was";
}

TEST(TreeImages, SystemColourChangeReloadsTheMappedLists)
{
    TBaseNodeTree t;
    PaletteScope scope;
    const QImage xpBefore = InternalCheckImages(ckXP)->Image(CheckImageIndex::CheckUnchecked);
    QPalette pal = QGuiApplication::palette();
    pal.setColor(QPalette::Base, QColor(9, 8, 7));
    QGuiApplication::setPalette(pal);
    ReloadMappedImages();
    EXPECT_EQ(InternalCheckImages(ckLightCheck)->Image(CheckImageIndex::CheckUnchecked).pixel(8, 8), qRgb(9, 8, 7));
    EXPECT_TRUE(SameImage(InternalCheckImages(ckXP)->Image(CheckImageIndex::CheckUnchecked), xpBefore))
        << "the XP images keep their own colours";
    QGuiApplication::setPalette(scope.Saved);
    ReloadMappedImages();
}

TEST(TreeImages, LaterTreesShareTheStartUp)
{
    auto first = std::make_unique<TBaseNodeTree>();
    const int starts = TreeModuleStartCount();
    platform::TImageList* list = InternalCheckImages(ckFlat);
    auto second = std::make_unique<TBaseNodeTree>();
    first.reset();
    auto third = std::make_unique<TBaseNodeTree>();
    EXPECT_EQ(TreeModuleStartCount(), starts);
    EXPECT_EQ(InternalCheckImages(ckFlat), list);
}

TEST(TreeImages, TreeUsesTheListOfItsCheckImageKind)
{
    TBaseNodeTree t;
    EXPECT_EQ(t.CheckImageKind(), ckSystemDefault);
    EXPECT_EQ(t.CheckImages(), InternalCheckImages(ckSystemDefault));
    t.SetCheckImageKind(ckFlat);
    EXPECT_EQ(t.CheckImages(), InternalCheckImages(ckFlat));
    t.SetCheckImageKind(ckCustom);
    EXPECT_EQ(t.CheckImages(), nullptr) << "no custom list yet";
    auto custom = std::make_shared<platform::TImageList>(12, 12);
    t.SetCustomCheckImages(custom);
    EXPECT_EQ(t.CheckImages(), custom.get());
    t.SetCheckImageKind(ckDarkTick);
    EXPECT_EQ(t.CheckImages(), InternalCheckImages(ckDarkTick));
    t.SetCustomCheckImages(nullptr);
    EXPECT_EQ(t.CheckImages(), InternalCheckImages(ckDarkTick)) << "dropping an unused custom list changes nothing";

    TBaseNodeTree copy;
    copy.Assign(t);
    EXPECT_EQ(copy.CheckImageKind(), ckDarkTick);
    EXPECT_EQ(copy.CheckImages(), InternalCheckImages(ckDarkTick));
}

#include "controls/dropdowns/DropDownHeaderFooter.h"

#include <gtest/gtest.h>

using namespace dropdowns;

namespace {

template <typename T>
void ExpectStripDefaults(const T& s)
{
    EXPECT_TRUE(s.Visible());
    EXPECT_EQ(s.Height, 22);
    EXPECT_EQ(s.BorderWidth, 1);
    EXPECT_EQ(s.ImageIndex, -1);
    EXPECT_EQ(s.Color, platform::clSilver);
    EXPECT_EQ(s.ColorTo, platform::clWhite);
    EXPECT_EQ(s.BorderColor, platform::clBlack);
    EXPECT_EQ(s.GradientDirection, gdVertical);
    EXPECT_EQ(s.ButtonAlignment, baRight);
    EXPECT_TRUE(s.Caption.isEmpty());
    EXPECT_EQ(s.Buttons().Count(), 0);
}

}  // namespace

TEST(DropDownHeaderFooter, NewSettingsHaveTheirDefaultsAndOnlyTheHeaderNamesItsFont)
{
    int owner = 0;
    THeaderAppearance header(&owner);
    TFooterAppearance footer(&owner);
    ExpectStripDefaults(header);
    ExpectStripDefaults(footer);
    EXPECT_TRUE(footer.SizeGrip);
    EXPECT_EQ(header.Font().Name(), "Tahoma");
    EXPECT_EQ(footer.Font().Name(), platform::TFont().Name());
    EXPECT_EQ(header.GetOwner(), &owner);
    EXPECT_EQ(header.Buttons().GetOwner(), &owner);
}

TEST(DropDownHeaderFooter, AssignCopiesEverySettingAndRecreatesTheButtons)
{
    THeaderAppearance source(nullptr), target(nullptr);
    source.Color = 0x112233;
    source.ColorTo = platform::clNone;
    source.BorderColor = 0x445566;
    source.Caption = "<b>Pick</b>";
    platform::TFont font;
    font.SetName("Courier");
    source.SetFont(font);
    source.ImageIndex = 3;
    source.BorderWidth = 0;
    source.GradientDirection = gdHorizontal;
    source.Height = 30;
    source.SetVisible(false);
    source.ButtonAlignment = baLeft;
    source.Buttons().Add()->SetCaption("A");
    source.Buttons().Add()->SetCaption("B");

    int visibleChanges = 0, buttonChanges = 0;
    target.OnChange = [&] { ++visibleChanges; };
    target.OnButtonsChanged = [&] { ++buttonChanges; };
    target.Buttons().Add()->SetCaption("old");
    target.Assign(source);

    EXPECT_EQ(target.Color, 0x112233u);
    EXPECT_EQ(target.ColorTo, platform::clNone);
    EXPECT_EQ(target.BorderColor, 0x445566u);
    EXPECT_EQ(target.Caption, "<b>Pick</b>");
    EXPECT_EQ(target.Font().Name(), "Courier");
    EXPECT_EQ(target.ImageIndex, 3);
    EXPECT_EQ(target.BorderWidth, 0);
    EXPECT_EQ(target.GradientDirection, gdHorizontal);
    EXPECT_EQ(target.Height, 30);
    EXPECT_FALSE(target.Visible());
    EXPECT_EQ(visibleChanges, 1);
    EXPECT_EQ(target.ButtonAlignment, baLeft);
    ASSERT_EQ(target.Buttons().Count(), 2);
    EXPECT_EQ(target.Buttons().Items(1)->Caption(), "B");
    // The copies belong to the target: changing one tells the target, not the source.
    int sourceButtonChanges = 0;
    source.OnButtonsChanged = [&] { ++sourceButtonChanges; };
    buttonChanges = 0;
    target.Buttons().Items(0)->SetEnabled(false);
    EXPECT_EQ(buttonChanges, 1);
    EXPECT_EQ(sourceButtonChanges, 0);
    EXPECT_TRUE(source.Buttons().Items(0)->Enabled());
}

TEST(DropDownHeaderFooter, FooterAssignCopiesSizeGripAndModalResults)
{
    TFooterAppearance source(nullptr), target(nullptr);
    source.SizeGrip = false;
    source.Buttons().Add()->ModalResult = 2;
    target.Assign(source);
    EXPECT_FALSE(target.SizeGrip);
    ASSERT_EQ(target.Buttons().Count(), 1);
    EXPECT_EQ(target.Buttons().Items(0)->ModalResult, 2);
}

TEST(DropDownHeaderFooter, ASourceOfTheOtherClassChangesNothing)
{
    THeaderAppearance header(nullptr);
    TFooterAppearance footer(nullptr);
    footer.Color = 0x010203;
    footer.Height = 40;
    footer.SetVisible(false);
    header.Assign(footer);
    header.AssignColors(footer);
    EXPECT_EQ(header.Color, platform::clSilver);
    EXPECT_EQ(header.Height, 22);
    EXPECT_TRUE(header.Visible());

    header.Color = 0x0A0B0C;
    footer.Assign(header);
    footer.AssignColors(header);
    EXPECT_EQ(footer.Color, 0x010203u);
}

TEST(DropDownHeaderFooter, AssignColorsCopiesOnlyColoursFontAndDirection)
{
    TFooterAppearance source(nullptr), target(nullptr);
    source.Color = 1;
    source.ColorTo = 2;
    source.BorderColor = 3;
    source.GradientDirection = gdHorizontal;
    platform::TFont font;
    font.SetName("Courier");
    source.SetFont(font);
    source.Height = 50;
    source.Caption = "x";
    target.AssignColors(source);
    EXPECT_EQ(target.Color, 1u);
    EXPECT_EQ(target.ColorTo, 2u);
    EXPECT_EQ(target.BorderColor, 3u);
    EXPECT_EQ(target.GradientDirection, gdHorizontal);
    EXPECT_EQ(target.Font().Name(), "Courier");
    EXPECT_EQ(target.Height, 22);
    EXPECT_TRUE(target.Caption.isEmpty());
}

TEST(DropDownHeaderFooter, VisibleTellsOnlyRealChanges)
{
    THeaderAppearance header(nullptr);
    int changes = 0;
    header.OnChange = [&] { ++changes; };
    header.SetVisible(true);
    EXPECT_EQ(changes, 0);
    header.SetVisible(false);
    EXPECT_EQ(changes, 1);
}

TEST(DropDownHeaderFooter, ButtonItemsTellTheCollectionOfCaptionEnabledAndWidthChangesOnly)
{
    struct Case {
        const char* what;
        std::function<void(TFooterButton&)> change;
        int expected;
    };
    const Case cases[] = {
        {"new caption", [](TFooterButton& b) { b.SetCaption("OK"); }, 1},
        {"same caption", [](TFooterButton& b) { b.SetCaption(""); }, 0},
        {"disabled", [](TFooterButton& b) { b.SetEnabled(false); }, 1},
        {"still enabled", [](TFooterButton& b) { b.SetEnabled(true); }, 0},
        {"new width", [](TFooterButton& b) { b.SetWidth(40); }, 1},
        {"height", [](TFooterButton& b) { b.Height = 30; }, 0},
        {"image", [](TFooterButton& b) { b.ImageIndex = 4; }, 0},
        {"modal result", [](TFooterButton& b) { b.ModalResult = 1; }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFooterAppearance footer(nullptr);
        int changes = 0, collectionChanges = 0;
        footer.OnButtonsChanged = [&] { ++changes; };
        footer.Buttons().OnChange = [&, prev = footer.Buttons().OnChange] {
            ++collectionChanges;
            prev();
        };
        c.change(*footer.Buttons().Add());
        EXPECT_EQ(changes, c.expected);
        EXPECT_EQ(collectionChanges, c.expected);
    }
}

TEST(DropDownHeaderFooter, ButtonsInsertAtAnIndexAndIgnoreWritesOutsideTheCollection)
{
    THeaderButtons buttons(nullptr);
    buttons.Add()->SetCaption("first");
    buttons.Insert(0)->SetCaption("zero");
    ASSERT_EQ(buttons.Count(), 2);
    EXPECT_EQ(buttons.Items(0)->Caption(), "zero");
    THeaderButton other;
    other.SetCaption("copy");
    buttons.SetItems(1, other);
    buttons.SetItems(5, other);
    EXPECT_EQ(buttons.Items(1)->Caption(), "copy");
    EXPECT_EQ(buttons.Items(5), nullptr);
    EXPECT_EQ(buttons.Items(-1), nullptr);
}

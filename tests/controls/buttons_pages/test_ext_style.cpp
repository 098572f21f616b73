// Colour-scheme detection, the theme notifier and themed part drawing.
#include "controls/common/ExtStyleIF.h"
#include "controls/common/ExtXPVS.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace controls;

TEST(DetectOfficeTheme, OfficeKeysThenTheVisualStyle)
{
    struct Case {
        const char* name;
        std::optional<int> office2010, office2007;
        bool styleActive;
        const char* colorName;
        TOfficeTheme expected;
    };
    const Case cases[] = {
        {"2010 silver wins over 2007", 2, 1, true, "NormalColor", ot2010Silver},
        {"2010 blue", 1, std::nullopt, false, "", ot2010Blue},
        {"2010 black", 3, std::nullopt, false, "", ot2010Black},
        {"2010 other value", 7, 3, false, "", ot2003Blue},
        {"2007 blue", std::nullopt, 1, false, "", ot2007Blue},
        {"2007 silver", std::nullopt, 2, false, "", ot2007Silver},
        {"2007 black", std::nullopt, 3, false, "", ot2007Black},
        {"2007 other value", std::nullopt, 0, false, "", ot2003Blue},
        {"no Office, no style", std::nullopt, std::nullopt, false, "NormalColor", ot2003Classic},
        {"Luna blue", std::nullopt, std::nullopt, true, "NormalColor", ot2003Blue},
        {"olive", std::nullopt, std::nullopt, true, "HomeStead", ot2003Olive},
        {"silver", std::nullopt, std::nullopt, true, "Metallic", ot2003Silver},
        {"other scheme", std::nullopt, std::nullopt, true, "Royale", ot2003Classic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOfficeThemeSettings s;
        s.Office2010Theme = c.office2010;
        s.Office2007Theme = c.office2007;
        s.VisualStyleActive = c.styleActive;
        s.ColorSchemeName = c.colorName;
        EXPECT_EQ(DetectOfficeTheme(s), c.expected);
    }
    EXPECT_NE(DetectOfficeTheme(), otUnknown);
}

TEST(StyleServices, PlatformAnswers)
{
    EXPECT_TRUE(HasGetLocaleInfoEx());
    EXPECT_EQ(DefaultUIFontName(), "Segoe UI");
    EXPECT_TRUE(IsThemeActive());
    EXPECT_TRUE(ThemeLibraryLoaded());
    QString file, color, size;
    EXPECT_TRUE(GetCurrentThemeName(file, color, size));
    EXPECT_FALSE(file.isEmpty());
}

TEST(HandleList, EditsAndLookups)
{
    QWidget a, b, c;
    THandleList list;
    list.Add(&a);
    list.Add(&b);
    list.Insert(1, &c);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(1), &c);
    list.DeleteValue(&c);
    EXPECT_FALSE(list.HasValue(&c));
    list.DeleteValue(&c);  // absent: nothing
    EXPECT_EQ(list.Count(), 2);
    list.SetItems(0, &c);
    EXPECT_EQ(list.Items(0), &c);
    list.Delete(0);
    EXPECT_EQ(list.Items(0), &b);
    EXPECT_EQ(list.Items(5), nullptr);
}

namespace {

// A window that records the change events it receives.
class Listener : public QWidget {
public:
    explicit Listener(std::vector<Listener*>* order) : FOrder(order) {}
    std::function<void()> OnChange;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == TOfficeThemeChangeEvent::EventType()) {
            FOrder->push_back(this);
            if (OnChange)
                OnChange();
            return true;
        }
        return QWidget::event(e);
    }

private:
    std::vector<Listener*>* FOrder;
};

}  // namespace

TEST(ThemeNotifier, OneProcessWideNotifierOwnedByTheProgram)
{
    // It lives as long as the application, whoever asked for it first.
    TThemeNotifier* first = GetThemeNotifier();
    EXPECT_EQ(first->parent(), QCoreApplication::instance());
    EXPECT_EQ(GetThemeNotifier(), first);
}

TEST(ThemeNotifier, RegisteredWindowsHearOfChangesInOrder)
{
    QObject owner;
    TThemeNotifier notifier(&owner);
    std::vector<Listener*> order;
    Listener a(&order), b(&order), c(&order);
    notifier.RegisterWindow(&a);
    notifier.RegisterWindow(&b);
    notifier.RegisterWindow(&a);  // once only
    notifier.UnRegisterWindow(&c);  // not listed: nothing
    EXPECT_EQ(notifier.Windows().Count(), 2);

    int notified = 0;
    notifier.OnOfficeThemeChange = [&] { ++notified; };
    notifier.NotifyChange();
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(order, (std::vector<Listener*>{&a, &b}));

    // A window that leaves or registers another while handling a change does not disturb the round.
    order.clear();
    a.OnChange = [&] {
        notifier.UnRegisterWindow(&a);
        notifier.RegisterWindow(&c);
    };
    notifier.NotifyChange();
    EXPECT_EQ(order, (std::vector<Listener*>{&a, &b}));
    EXPECT_EQ(notifier.Windows().Count(), 2);

    // A destroyed window is skipped.
    order.clear();
    {
        Listener d(&order);
        notifier.RegisterWindow(&d);
    }
    notifier.NotifyChange();
    EXPECT_EQ(order, (std::vector<Listener*>{&b, &c}));
}

TEST(ThemeNotifier, ApplicationPaletteChangeIsAChange)
{
    QObject owner;
    TThemeNotifier notifier(&owner);
    std::vector<Listener*> order;
    Listener a(&order);
    notifier.RegisterWindow(&a);
    const QPalette saved = QApplication::palette();
    QPalette changed = saved;
    changed.setColor(QPalette::Button, QColor(10, 20, 30));
    QApplication::setPalette(changed);
    QApplication::setPalette(saved);
    EXPECT_GE(order.size(), 1u);
}

TEST(ThemeParts, DrawsKnownPartsThroughTheStyle)
{
    QWidget w;
    HTHEME theme = OpenThemeData(&w, "BUTTON");
    ASSERT_TRUE(theme);
    EXPECT_FALSE(OpenThemeData(&w, "nosuchclass"));
    EXPECT_TRUE(OpenThemeData(&w, "nosuchclass;spin"));

    QImage img(40, 24, QImage::Format_ARGB32);
    img.fill(QColor(1, 2, 3));
    platform::TCanvas canvas(&img);
    EXPECT_TRUE(DrawThemeBackground(theme, canvas, BP_PUSHBUTTON, PBS_HOT, QRect(0, 0, 40, 24)));
    EXPECT_FALSE(DrawThemeBackground(theme, canvas, 99, 1, QRect(0, 0, 40, 24)));
    canvas.Painter()->end();
    EXPECT_NE(img.pixel(20, 12), qRgb(1, 2, 3)) << "the bevel covers the rectangle";

    // A clip rectangle keeps the drawing inside it.
    QImage clipped(40, 24, QImage::Format_ARGB32);
    clipped.fill(QColor(1, 2, 3));
    {
        platform::TCanvas c2(&clipped);
        HTHEME combo = OpenThemeData(&w, "combobox");
        const QRect clip(0, 0, 10, 24);
        EXPECT_TRUE(DrawThemeBackground(combo, c2, CP_DROPDOWNBUTTON, CBXS_NORMAL, QRect(0, 0, 40, 24), &clip));
        CloseThemeData(combo);
        EXPECT_FALSE(combo);
    }
    EXPECT_EQ(clipped.pixel(30, 12), qRgb(1, 2, 3));
    CloseThemeData(theme);
    EXPECT_FALSE(DrawThemeBackground(theme, canvas, BP_PUSHBUTTON, PBS_NORMAL, QRect(0, 0, 40, 24)));
}

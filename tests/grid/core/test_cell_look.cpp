#include <QLocale>
#include <functional>
#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/GridTextUtils.h"

using namespace grid;

namespace {

// Text is 6 pixels a character and 13 high, whatever fonts the machine has.
template <typename Base>
class Measured : public Base {
public:
    TPoint MeasureText(const QString& text) override { return {int(text.size()) * 6, 13}; }
    void HideInplaceEdit() override { ++Hidden; }
    int Hidden = 0;
};

struct TSized : TGraphicSource {
    TSized(int w, int h) : Size{w, h} {}
    TPoint GraphicSize() const override { return Size; }
    TPoint Size;
};

struct TSizeCase {
    const char* Name;
    const char* Text;
    std::function<void(TExtStringGrid&, TCellGraphic&)> Setup;
    TPoint Screen;
    TPoint Print;
};

TEST(CellGraphicSize, ByKindAlignmentAndText)
{
    static TSized bitmap(30, 20), images(16, 16), picture(100, 50), emptyInterface(0, 0);
    auto kind = [](TCellType t, TCellHAlign h = haLeft, TCellVAlign v = vaTop) {
        return [=](TExtStringGrid&, TCellGraphic& g) {
            g.CellType = t;
            g.CellHAlign = h;
            g.CellVAlign = v;
        };
    };
    auto bmp = [](TCellHAlign h, TCellVAlign v) {
        return [=](TExtStringGrid&, TCellGraphic& g) {
            g.CellType = ctBitmap;
            g.CellBitmap = &bitmap;
            g.CellHAlign = h;
            g.CellVAlign = v;
        };
    };
    auto button = [](TCellHAlign h, const char* caption) {
        return [=](TExtStringGrid&, TCellGraphic& g) {
            g.CellType = ctButton;
            g.CellIndex = 16 * 65536 + 20;
            g.CellHAlign = h;
            g.CellText = QString::fromLatin1(caption);
        };
    };
    static QStringList radioItems{QStringLiteral("a"), QStringLiteral("bb")};
    const TSizeCase cases[] = {
        {"check box", "", kind(ctCheckBox), {15, 15}, {15, 15}},
        {"tri-state", "x", kind(ctTriStateCheckBox), {15, 15}, {15, 15}},
        {"radio button", "", kind(ctRadioButton), {10, 10}, {10, 10}},
        {"full check box", "", kind(ctCheckBox, haFull, vaFull), {64, 22}, {15, 15}},
        {"rating", "", [](TExtStringGrid&, TCellGraphic& g) { g.CellType = ctRating; g.CellAngle = 5; g.CellHAlign = haFull; },
         {90, 16}, {0, 0}},
        {"pie", "1", kind(ctProgressPie), {20, 20}, {20, 20}},
        {"bitmap alone", "", bmp(haLeft, vaTop), {30, 20}, {30, 20}},
        {"bitmap over text", "t", bmp(haLeft, vaTop), {0, 0}, {30, 20}},
        {"bitmap beside text", "t", bmp(haBeforeText, vaTop), {30, 0}, {30, 20}},
        {"bitmap under text", "t", bmp(haLeft, vaUnderText), {0, 20}, {30, 20}},
        {"image list", "", [](TExtStringGrid& grid, TCellGraphic& g) { grid.GridImages = &images; g.CellType = ctImageList; },
         {16, 16}, {16, 16}},
        {"image list without images", "", kind(ctImageList), {0, 0}, {0, 0}},
        {"image row", "", [](TExtStringGrid& grid, TCellGraphic& g) {
             grid.GridImages = &images;
             g.SetMultiImage(1, 1, 0, haLeft, vaTop, nullptr);
             for (int i = 0; i < 3; ++i)
                 g.Images()->Add(i);
         },
         {48, 16}, {48, 16}},
        {"radio across", "", [](TExtStringGrid&, TCellGraphic& g) { g.SetRadio(&radioItems, true, 0, 2); }, {42, 13}, {42, 13}},
        {"radio down", "", [](TExtStringGrid&, TCellGraphic& g) { g.SetRadio(&radioItems, false, 0, 2); }, {24, 32}, {24, 32}},
        {"button alone", "", button(haLeft, "OK"), {20, 16}, {20, 16}},
        {"button beside text", "t", button(haLeft, "OK"), {20, 0}, {20, 16}},
        {"centred button with text", "t", button(haCenter, "OK"), {0, 0}, {20, 16}},
        {"full button with caption", "t", button(haFull, "OK"), {16, 0}, {20, 16}},
        {"picture fitted", "", [](TExtStringGrid&, TCellGraphic& g) {
             g.CellType = ctPicture;
             g.CellBitmap = &picture;
             g.CellAngle = StretchWithAspectRatio;
         },
         {38, 19}, {60, 30}},
        {"interface without size", "", [](TExtStringGrid&, TCellGraphic& g) { g.CellType = ctInterface; g.CellBitmap = &emptyInterface; },
         {64, 22}, {64, 22}},
        {"shape", "", kind(ctShape), {0, 0}, {18, 18}},
        {"comment", "", kind(ctComment), {0, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        Measured<TExtStringGrid> g;
        g.SetColWidths(2, 64);
        g.SetRowHeights(2, 22);
        g.SetCells(2, 2, QString::fromLatin1(c.Text));
        c.Setup(g, *g.CreateCellGraphic(2, 2));
        EXPECT_EQ(g.GetCellGraphicSize(2, 2), c.Screen) << c.Name;
        TPoint print;
        g.PrintCellGraphicSize(2, 2, print, 60, 60, 1.0);
        EXPECT_EQ(print, c.Print) << c.Name;
    }
    Measured<TExtStringGrid> g;
    EXPECT_EQ(g.GetCellGraphicSize(1, 1), (TPoint{0, 0}));  // no graphic
    EXPECT_EQ(g.GetCellGraphicSize(-1, 1), (TPoint{0, 0}));
}

TEST(CellGraphicSize, PictureStretchModes)
{
    TSized picture(100, 50);
    struct {
        TStretchMode Mode;
        int W, H, Padding;
        TPoint Expected;
    } cases[] = {
        {noStretch, 10, 10, 0, {100, 50}},
        {Stretch, 60, 70, 10, {50, 60}},
        {StretchWithAspectRatio, 60, 60, 0, {60, 30}},
        {StretchWithAspectRatio, 300, 60, 0, {120, 60}},
        {Shrink, 200, 200, 0, {100, 50}},
        {Shrink, 80, 200, 0, {80, 200}},
        {ShrinkWithAspectRatio, 200, 200, 0, {100, 50}},
        {ShrinkWithAspectRatio, 50, 200, 0, {50, 25}},
    };
    for (const auto& c : cases) {
        TCellGraphic g;
        g.CellType = ctPicture;
        g.CellBitmap = &picture;
        g.CellAngle = c.Mode;
        g.CellIndex = c.Padding;
        EXPECT_EQ(g.GetPictureSize(c.W, c.H), c.Expected) << int(c.Mode) << " " << c.W;
    }
}

TEST(CellLook, StringGridColoursFontsBordersAlignment)
{
    Measured<TExtStringGrid> g;
    TColor brush = clWindow;
    TFontDesc font = g.GridFont();
    g.GetCellColor(2, 2, 0, brush, font);
    EXPECT_EQ(brush, clWindow);
    EXPECT_EQ(font, g.GridFont());
    EXPECT_EQ(g.GetCellFont(2, 2), g.GridFont());

    TCellProperties* p = g.GetCellProperties(2, 2);
    p->FontColor = 0x0000FF;
    p->FontSize = 12;
    p->FontName = QStringLiteral("Courier");
    p->SetBrushColor(0x00FF00);
    g.GetCellColor(2, 2, 0, brush, font);
    EXPECT_EQ(font, (TFontDesc{QStringLiteral("Courier"), 12, 0, 0x0000FF}));
    EXPECT_EQ(brush, 0x00FF00u);  // a cell without graphic takes its own brush
    g.CreateCellGraphic(2, 2)->SetCheckBox(true, false, true, haLeft, vaTop);
    brush = clWindow;
    g.GetCellColor(2, 2, 0, brush, font);
    EXPECT_EQ(brush, clWindow);  // a check box cell keeps the painter's brush

    g.ActiveCellShow = true;
    g.MoveColRow(3, 4);
    for (auto [c, r, active] : {std::tuple{0, 4, true}, {3, 0, true}, {0, 3, false}, {2, 0, false}}) {
        brush = clWindow;
        font = g.GridFont();
        g.GetCellColor(c, r, gdFixed, brush, font);
        EXPECT_EQ(brush == g.ActiveCellColor, active) << c << "," << r;
        EXPECT_EQ(font == g.ActiveCellFont, active) << c << "," << r;
    }
    g.OnGetCellColor = [](TExtStringGrid*, int row, int col, TGridDrawState, TColor& b, TFontDesc&) {
        if (row == 5 && col == 1)
            b = 0x123456;
    };
    brush = clWindow;
    g.GetCellColor(1, 5, 0, brush, font);
    EXPECT_EQ(brush, 0x123456u);

    g.Grouping.HeaderUnderline = true;
    g.AddNode(3, 2);
    TPenDesc pen;
    TCellBorders borders = 0;
    g.GetCellBorder(1, 3, pen, borders);
    EXPECT_EQ(borders, cbBottom);
    EXPECT_EQ(pen, (TPenDesc{2, 0xFF0000}));
    borders = 0;
    g.GetCellBorder(0, 3, pen, borders);  // the node column itself
    EXPECT_EQ(borders, 0);

    TAlignment h = taLeftJustify;
    TVAlignment v = vtaTop;
    g.MouseActions.SetHotmailRowSelect(true);
    g.GetAlignment(0, 2, h, v);
    EXPECT_EQ(h, taCenter);
}

TEST(CellLook, ColumnGridAnswersFromTheColumn)
{
    Measured<TExtColumnGrid> g;
    TGridColumnItem* item = g.Columns()[2];
    item->SetColor(0x00AA00);
    item->SetFont({QStringLiteral("Arial"), 9, 0, 0x000011});
    item->HeaderFont = {QStringLiteral("Arial"), 10, fsBold, 0x000022};
    item->SetAlignment(taRightJustify);
    item->SetHeaderAlignment(taCenter);
    item->Borders = cbLeft | cbTop;
    item->BorderPen = {3, 0x0000FF};
    item->SortStyle = ssNumeric;
    item->SortPrefix = QStringLiteral("$");

    struct {
        int Row;
        TColor Brush;
        TColor FontColor;
        TAlignment Align;
        TCellBorders Borders;
    } cases[] = {{0, clWindow, 0x000022, taCenter, 0}, {2, 0x00AA00, 0x000011, taRightJustify, cbLeft | cbTop}};
    for (const auto& c : cases) {
        TColor brush = clWindow;
        TFontDesc font = g.GridFont();
        g.GetCellColor(2, c.Row, 0, brush, font);
        EXPECT_EQ(brush, c.Brush) << c.Row;
        EXPECT_EQ(font.Color, c.FontColor) << c.Row;
        TAlignment h = taLeftJustify;
        TVAlignment v = vtaTop;
        g.GetAlignment(2, c.Row, h, v);
        EXPECT_EQ(h, c.Align) << c.Row;
        TPenDesc pen;
        TCellBorders borders = 0;
        g.GetCellBorder(2, c.Row, pen, borders);
        EXPECT_EQ(borders, c.Borders) << c.Row;
    }

    item->SetFixed(true);
    TColor brush = clWindow;
    TFontDesc font;
    g.GetCellColor(2, 2, 0, brush, font);
    EXPECT_EQ(brush, g.FixedColor);
    item->SetFixed(false);
    item->SetShowBands(true);
    g.Bands.SetActive(true);
    brush = clWindow;
    g.GetCellColor(2, 2, 0, brush, font);
    EXPECT_EQ(brush, clWindow);  // the bands colour it
    g.GetCellProperties(2, 2)->SetBrushColor(0x0F0F0F);
    g.GetCellColor(2, 2, 0, brush, font);
    EXPECT_EQ(brush, 0x0F0F0Fu);

    TSortStyle style = ssAutomatic;
    QString prefix, suffix;
    g.GetCellFormat(2, style, prefix, suffix);
    EXPECT_EQ(style, ssNumeric);
    EXPECT_EQ(prefix, QStringLiteral("$"));
    style = ssAutomatic;
    g.GetCellFormat(9, style, prefix, suffix);  // no such column
    EXPECT_EQ(style, ssAutomatic);
}

TEST(CellLook, EditorHandlersReport)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Measured<TExtStringGrid> g;
    g.MoveColRow(2, 3);
    std::vector<QString> log;
    g.OnDateTimeChange = [&](TExtStringGrid*, int c, int r, const QDateTime& v) {
        log.push_back(QStringLiteral("dt %1,%2 %3").arg(c).arg(r).arg(v.date().toString(Qt::ISODate)));
    };
    g.OnEditChange = [&](TExtStringGrid*, int c, int r, const QString& t) { log.push_back(QStringLiteral("edit %1,%2 %3").arg(c).arg(r).arg(t)); };
    g.OnDatePickerCloseUp = [&](TExtStringGrid*, int r, int c) { log.push_back(QStringLiteral("close %1,%2").arg(r).arg(c)); };
    g.OnDatePickerDropDown = [&](TExtStringGrid*, int r, int c) { log.push_back(QStringLiteral("drop %1,%2").arg(r).arg(c)); };
    g.OnButtonClick = [&](TExtStringGrid*, int c, int r) { log.push_back(QStringLiteral("button %1,%2").arg(c).arg(r)); };

    const QDateTime when(QDate(2012, 9, 4), QTime(14, 5, 6));
    g.DateTimePickerChange(when);
    g.DatePickerChange(when, false);
    g.DatePickerChange(when, true);
    g.DatePickerCloseUp();
    EXPECT_EQ(g.Hidden, 0);
    g.MouseActions.DirectDateClose = true;
    g.DatePickerCloseUp();
    EXPECT_EQ(g.Hidden, 1);
    EXPECT_EQ(g.DatePickerDropDown(true, false, true), (TExtStringGrid::TCalendarStyle{true, true, false}));
    g.GridButtonClick();
    const QLocale us;
    const std::vector<QString> expected{
        QStringLiteral("dt 2,3 2012-09-04"),
        QStringLiteral("edit 2,3 ") + us.toString(when.date(), QLocale::ShortFormat),
        QStringLiteral("edit 2,3 ") + us.toString(when.time(), QLocale::LongFormat),
        QStringLiteral("close 3,2"), QStringLiteral("close 3,2"), QStringLiteral("drop 3,2"), QStringLiteral("button 2,3")};
    EXPECT_EQ(log, expected);
    QLocale::setDefault(QLocale::c());
}

TEST(CellLook, HintsAndExpandHeights)
{
    Measured<TExtStringGrid> g;
    QString hint = QStringLiteral("own");
    g.GridHint(1, 1, hint);
    EXPECT_EQ(hint, QStringLiteral("own"));
    g.OnGridHint = [](TExtStringGrid*, int, int, QString& h) { h = QStringLiteral("plain"); };
    g.OnGridWideHint = [](TExtStringGrid*, int r, int, QString& h) {
        if (r == 2)
            h = QString::fromUtf16(u"\u20AC");
    };
    g.GridHint(1, 1, hint);
    EXPECT_EQ(hint, QStringLiteral("plain"));
    g.GridHint(1, 2, hint);
    EXPECT_EQ(hint, EncodeWideText(QString::fromUtf16(u"\u20AC")));

    TCellGraphic* e = g.CreateCellGraphic(1, 2);
    e->CellType = ctExpand;
    e->CellIndex = 22;
    e->CellAngle = 80;
    bool reported = false;
    g.OnExpandClick = [&](TExtStringGrid*, int, int, bool expanded) { reported = expanded; };
    g.ExpandClick(1, 2, true);
    EXPECT_TRUE(reported);
    EXPECT_EQ(g.RowHeights(2), 80);
    g.ExpandClick(1, 2, false);
    EXPECT_EQ(g.RowHeights(2), 22);
    g.ExpandClick(1, 3, true);  // no expand button: the default height
    EXPECT_EQ(g.RowHeights(3), g.DefaultRowHeight());
}

}  // namespace

namespace {

TEST(CellLook, DisplayTextLinksAndGroupCounts)
{
    TExtStringGrid g;
    g.SetCells(1, 1, QStringLiteral("see www.a.org and http://b.org"));
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("see www.a.org and http://b.org"));
    g.URLShowInText = true;
    // The first prefix in the list that occurs wins, and links only its first occurrence.
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("see www.a.org and <a href=\"http://b.org\">http://b.org</a>"));
    g.SetCells(2, 1, QStringLiteral("<i>www.x.y</i>"));
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("&lt;i&gt;<a href=\"www.x.y\">www.x.y</a>&lt;/i&gt;"));

    g.URLShowInText = false;
    g.AddNode(2, 3);
    g.SetCells(1, 2, QStringLiteral("Group"));
    g.Grouping.ShowGroupCount = true;
    struct {
        const char* Format;
        const char* Expected;
    } cases[] = {{"", "Group (2)"}, {" [%d rows]", "Group [2 rows]"}, {" %03d%%", "Group 002%"},
                 {" %s%s%n", "Group %s%s%n"}, {" %d %d", "Group %d %d"}};
    for (const auto& c : cases) {
        g.Grouping.GroupCountFormat = QString::fromLatin1(c.Format);
        EXPECT_EQ(g.Cells(1, 2), QString::fromLatin1(c.Expected)) << c.Format;
    }
    EXPECT_EQ(g.Cells(2, 2), QString());  // only column 1 shows the count
}

}  // namespace

namespace {

TEST(CellLook, CurrentCellTextAndImageKeys)
{
    TExtStringGrid g;
    g.MergeCells(1, 1, 2, 2);
    g.SetCells(1, 1, QStringLiteral("base"));
    g.OnGetDisplText = [](TBaseGrid*, int, int, QString& v) { v = v.toUpper(); };
    g.MoveColRow(2, 2);  // inside the merged area
    EXPECT_EQ(g.GetCurrentCell(), QStringLiteral("base"));
    EXPECT_EQ(g.GetCurrentCellText(), QStringLiteral("BASE"));

    TObject picture;
    g.CreateCellGraphic(1, 3)->SetImageIdx(7, haLeft, vaTop);
    TCellGraphic* bmp = g.CreateCellGraphic(2, 3);
    bmp->CellType = ctBitmap;
    bmp->CellBitmap = &picture;
    g.GridImages = &picture;  // image cells need an image list
    g.AddMultiImage(3, 3, 0, haLeft, vaTop);
    EXPECT_EQ(g.GetCellImageKey(1, 3), 7);
    EXPECT_EQ(g.GetCellImageKey(2, 3), int64_t(reinterpret_cast<intptr_t>(&picture)));
    EXPECT_EQ(g.GetCellImageKey(3, 3), -1);
    EXPECT_EQ(g.GetCellImageKey(4, 3), -1);
    EXPECT_NE(g.GetCellImages(3, 3), nullptr);
    EXPECT_EQ(g.GetCellImages(1, 3), nullptr);
}

}  // namespace

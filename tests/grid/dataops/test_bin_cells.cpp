#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <cmath>
#include <cstring>
#include <limits>

#include "FilesSupport.h"
#include "support/TempDir.h"
#include "grid/core/GridFiles.h"
#include "grid/dataops/GridBinCells.h"

using namespace grid;
using namespace grid::dataops;
using namespace std::string_literals;

namespace {

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

QByteArray AsQBytes(const std::vector<uint8_t>& v) { return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size())); }

// The stream with its grid number replaced by 0, so that it can be compared with fixed bytes.
std::vector<uint8_t> WithoutID(std::vector<uint8_t> s)
{
    const std::string_view id("\x02ID", 3);
    const auto at = std::search(s.begin(), s.end(), id.begin(), id.end()) - s.begin();
    const size_t value = size_t(at) + 3;
    const size_t width = s[value] == 2 ? 1 : s[value] == 3 ? 2 : 4;
    s.erase(s.begin() + long(value), s.begin() + long(value + 1 + width));
    const uint8_t zero[] = {2, 0};
    s.insert(s.begin() + long(value), std::begin(zero), std::end(zero));
    return s;
}

// The value kind byte that follows a property name in the stream.
int KindAfter(const std::vector<uint8_t>& s, std::string_view name)
{
    const auto it = std::search(s.begin(), s.end(), name.begin(), name.end());
    return it == s.end() ? -1 : int(*(it + long(name.size())));
}

QImage TestImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 40 % 256, y * 60 % 256, 128));
    return image;
}

// A grid with texts, cell properties and graphics of every payload kind.
struct TRichGrid {
    TExtStringGrid g;
    TempDir dir;
    TRichGrid()
    {
        g.SetColCount(5);
        g.SetRowCount(4);
        g.SetCells(1, 1, QStringLiteral("plain"));
        g.SetCells(2, 1, QStringLiteral("Größe – 中文"));
        g.SetCells(3, 1, QString(300, QLatin1Char('x')));
        g.SetCells(4, 1, QStringLiteral("two\r\nlines"));
        TCellProperties* p = g.GetCellProperties(1, 1);
        p->SetBrushColor(0x00123456);
        p->FontColor = 0x000000FF;  // clRed by name
        p->FontName = QStringLiteral("Courier");
        p->FontSize = 11;
        p->FontStyle = fsBold | fsStrikeOut;
        p->Alignment = taCenter;
        p->Editor = edComboList;
        p->ReadOnly = true;
        p->SetVAlignment(vtaBottom);
        g.CreateBitmap(2, 2, true, haRight, vaCenter)->Image = TestImage(7, 5);
        g.CreateIcon(3, 2, haLeft, vaTop)->Image = TestImage(16, 16);
        QStringList* radio = g.CreateRadio(4, 2, 0, 1);
        *radio << QStringLiteral("one") << QStringLiteral("zwei") << QString();
        TCellGraphic* progress = g.CreateCellGraphic(1, 3);
        progress->CellType = ctProgress;
        progress->CellValue = 42.5;
        progress->CellText = QStringLiteral("%d%%");
        TCellGraphic* zero = g.CreateCellGraphic(2, 3);
        zero->CellType = ctProgress;
        zero->CellValue = 0;
        g.CreatePicture(3, 3, false, Stretch, 2, haCenter, vaFull)->Image = TestImage(9, 9);
        g.AddCheckBox(4, 3, cbChecked);
        // A bitmap the caller owns is not carried: its graphic is left out.
        static TGridBitmap callers(TestImage(3, 3));
        g.AddBitmap(1, 2, &callers, false, haLeft, vaTop);
    }
};

}  // namespace

TEST(ExtendedFloat, KnownBytesAndRoundTrip)
{
    struct TCase {
        double Value;
        std::array<uint8_t, 10> Bytes;
    };
    const TCase cases[] = {
        {1.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
        {-2.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
        {0.5, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F}},
        {3.0, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x40}},
        {0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {std::numeric_limits<double>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(DoubleToExtended(c.Value), c.Bytes) << c.Value;
        EXPECT_EQ(ExtendedToDouble(c.Bytes), c.Value) << c.Value;
    }
    for (double v : {0.1, -123456.789, 1e300, -1e-300, 4.9e-324, 42.5, 1.0 / 3})
        EXPECT_EQ(ExtendedToDouble(DoubleToExtended(v)), v) << v;
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")))));
    // Beyond a double's range: infinity and zero, never a trap or garbage.
    const std::array<uint8_t, 10> huge{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F};
    const std::array<uint8_t, 10> tiny{0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00};
    EXPECT_TRUE(std::isinf(ExtendedToDouble(huge)));
    EXPECT_EQ(ExtendedToDouble(tiny), 0.0);
    // An unnormal (integer bit clear) still reads by its bits.
    const std::array<uint8_t, 10> unnormal{0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
    EXPECT_EQ(ExtendedToDouble(unnormal), 0.5);
}

TEST(BinCellsWrite, EmptyTwoByTwoIsHeaderAndFourBareCellRecords)
{
    TExtStringGrid g;
    g.SetColCount(4);
    g.SetRowCount(4);
    g.SetColWidths(1, 30);
    const std::vector<uint8_t> s = WithoutID(SaveRectToBinStream(g, {1, 1, 2, 2}));
    auto shortText = [](const QString& t) { return char(t.size()) + t.toStdString(); };
    const QString widths = QStringLiteral("30,%1").arg(g.ColWidths(2));
    const QString heights = QStringLiteral("%1,%2").arg(g.RowHeights(1)).arg(g.RowHeights(2));
    // Built by hand from the record layout.
    std::string expected = "TPF0\x0bTGridPropIO\x00"s + "\x08" "ColCount\x02\x02"s + "\x08" "RowCount\x02\x02"s +
                           "\x09" "ColWidths\x06"s + shortText(widths) + "\x0a" "RowHeights\x06"s + shortText(heights) +
                           "\x08" "FullGrid\x08"s + "\x02" "ID\x02\x00"s + "\x00\x00"s;
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c)
            expected += "TPF0\x0bTGridCellIO\x00"s + "\x03" "Col\x02"s + char(c) + "\x03" "Row\x02"s + char(r) +
                        "\x07" "HasProp\x08\x00\x00"s;
    EXPECT_EQ(AsQBytes(s), QByteArray(expected.data(), qsizetype(expected.size())));
    EXPECT_TRUE(MatchesGoldenFile(AsQBytes(s), "cells_2x2_empty.bin"));
}

TEST(BinCellsWrite, TextKindsAndColoursFollowTheRules)
{
    struct TCase {
        QString Text;
        int Kind;
    };
    const TCase cases[] = {
        {QStringLiteral("abc"), 6},                   // vaString
        {QString(256, QLatin1Char('a')), 12},          // vaLString
        {QString(255, QLatin1Char('a')), 6},
        {QStringLiteral("aé"), 20},                   // vaUTF8String: 3 bytes for 2 units
        {QStringLiteral("é"), 18},                    // vaWString: 2 bytes for 1 unit
        {QStringLiteral("中文"), 18},
    };
    for (const TCase& c : cases) {
        TExtStringGrid g;
        g.SetCells(1, 1, c.Text);
        EXPECT_EQ(KindAfter(SaveRectToBinStream(g, {1, 1, 1, 1}), "\x04" "Cell"), c.Kind) << c.Text.left(5).toStdString();
    }
    TExtStringGrid g;
    g.GetCellProperties(1, 1)->SetBrushColor(clNone);
    g.GetCellProperties(1, 1)->FontColor = 0x00123456;
    const std::vector<uint8_t> s = SaveRectToBinStream(g, {1, 1, 1, 1});
    EXPECT_EQ(KindAfter(s, "CellProperties.BrushColor"), 7);  // vaIdent clNone
    const std::string_view none("CellProperties.BrushColor\x07\x06" "clNone");
    EXPECT_NE(std::search(s.begin(), s.end(), none.begin(), none.end()), s.end());
    EXPECT_EQ(KindAfter(s, "CellProperties.FontColor"), 4);  // an RGB value as vaInt32
}

TEST(BinCellsRoundTrip, TextsPropertiesAndGraphicsArriveWhole)
{
    TRichGrid src;
    const std::vector<uint8_t> s = SaveRectToBinStream(src.g, {1, 1, 4, 3});
    TExtStringGrid dst;
    dst.SetColCount(6);
    dst.SetRowCount(6);
    LoadAtPointFromBinStream(dst, 2, 2, s);
    auto at = [](int c, int r) { return std::pair{c + 1, r + 1}; };  // source (c, r) lands on (c + 1, r + 1)
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) {
            const auto [dc, dr] = at(c, r);
            EXPECT_EQ(dst.Cells(dc, dr), src.g.Cells(c, r)) << c << "," << r;
        }
    const TCellProperties* p = dst.CellProps(2, 2);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->BrushColor(), 0x00123456u);
    EXPECT_EQ(p->FontColor, 0x000000FFu);
    EXPECT_EQ(p->FontName, QStringLiteral("Courier"));
    EXPECT_EQ(p->FontSize, 11);
    EXPECT_EQ(p->FontStyle, fsBold | fsStrikeOut);
    EXPECT_EQ(p->Alignment, taCenter);
    EXPECT_EQ(p->Editor, edComboList);
    EXPECT_TRUE(p->ReadOnly);
    EXPECT_EQ(p->VAlignment(), vtaBottom);
    EXPECT_EQ(p->OwnerCol, 2);
    EXPECT_EQ(p->OwnerRow, 2);

    const TCellGraphic* bmp = dst.GetCellGraphic(3, 3);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->CellType, ctBitmap);
    EXPECT_EQ(bmp->CellHAlign, haRight);
    EXPECT_EQ(bmp->CellVAlign, vaCenter);
    EXPECT_TRUE(bmp->CellTransparent);
    ASSERT_TRUE(dst.GetBitmap(3, 3));
    EXPECT_EQ(dst.GetBitmap(3, 3)->Image.convertToFormat(QImage::Format_RGB32), TestImage(7, 5));

    const TCellGraphic* icon = dst.GetCellGraphic(4, 3);
    ASSERT_TRUE(icon && icon->CellType == ctIcon);
    const auto* iconImage = dynamic_cast<const TGridBitmap*>(icon->CellIcon);
    ASSERT_TRUE(iconImage);
    EXPECT_EQ(iconImage->Image.size(), QSize(16, 16));
    EXPECT_EQ(QColor(iconImage->Image.pixel(5, 3)).rgb() & 0xFFFFFF, TestImage(16, 16).pixel(5, 3) & 0xFFFFFF);

    const TCellGraphic* radio = dst.GetCellGraphic(5, 3);
    ASSERT_TRUE(radio && radio->CellType == ctRadio && radio->RadioItems);
    EXPECT_EQ(*radio->RadioItems, (QStringList{"one", "zwei", ""}));
    EXPECT_EQ(radio->CellIndex, 1);

    const TCellGraphic* progress = dst.GetCellGraphic(2, 4);
    ASSERT_TRUE(progress && progress->CellType == ctProgress);
    EXPECT_EQ(progress->CellValue, 42.5);
    EXPECT_EQ(progress->CellText, QStringLiteral("%d%%"));
    const TCellGraphic* zero = dst.GetCellGraphic(3, 4);
    ASSERT_TRUE(zero && zero->CellType == ctProgress);
    EXPECT_EQ(zero->CellValue, 0.0);

    const TCellGraphic* picture = dst.GetCellGraphic(4, 4);
    ASSERT_TRUE(picture && picture->CellType == ctPicture && dst.GetPicture(4, 4));
    EXPECT_EQ(picture->CellAngle, int(Stretch));
    EXPECT_EQ(picture->CellIndex, 2);
    EXPECT_EQ(dst.GetPicture(4, 4)->Image.convertToFormat(QImage::Format_RGB32), TestImage(9, 9));

    const TCellGraphic* check = dst.GetCellGraphic(5, 4);
    ASSERT_TRUE(check && check->CellType == ctTriStateCheckBox);
    EXPECT_EQ(check->CellCheckBoxState, cbChecked);
    // The caller's own bitmap was not carried; its cell came with its properties only.
    ASSERT_TRUE(dst.CellProps(2, 3));
    EXPECT_FALSE(dst.GetCellGraphic(2, 3));
}

TEST(BinCellsRoundTrip, ZeroProgressValueIsOmittedAndCallersBitmapHasNoGraphicRecord)
{
    TRichGrid src;
    const std::vector<uint8_t> zero = SaveRectToBinStream(src.g, {2, 3, 2, 3});
    EXPECT_EQ(KindAfter(zero, "CellGraphic.CellValue"), -1);
    const std::vector<uint8_t> set = SaveRectToBinStream(src.g, {1, 3, 1, 3});
    EXPECT_EQ(KindAfter(set, "CellGraphic.CellValue"), 5);
    const std::vector<uint8_t> callers = SaveRectToBinStream(src.g, {1, 2, 1, 2});
    const std::string_view graphic("TGridGraphicIO");
    EXPECT_EQ(std::search(callers.begin(), callers.end(), graphic.begin(), graphic.end()), callers.end());
    EXPECT_EQ(KindAfter(callers, "HasGraphic"), 8);
}

TEST(BinCellsRead, PartialRectangleLandsWithItsFirstCellOnThePoint)
{
    TExtStringGrid src;
    src.SetColCount(8);
    src.SetRowCount(8);
    src.SetCells(3, 5, QStringLiteral("a"));
    src.SetCells(4, 6, QStringLiteral("b"));
    TExtStringGrid dst;
    dst.SetColCount(5);
    dst.SetRowCount(5);
    LoadAtPointFromBinStream(dst, 0, 1, SaveRectToBinStream(src, {3, 5, 4, 6}));
    EXPECT_EQ(dst.Cells(0, 1), QStringLiteral("a"));
    EXPECT_EQ(dst.Cells(1, 2), QStringLiteral("b"));
}

TEST(BinCellsRead, FullGridSizesTheGridAndItsColumnsAndRows)
{
    TExtStringGrid src;
    src.SetColCount(3);
    src.SetRowCount(2);
    src.SetColWidths(2, 99);
    src.SetRowHeights(1, 40);
    src.SetCells(2, 1, QStringLiteral("end"));
    const std::vector<uint8_t> s = SaveRectToBinStream(src, {0, 0, 2, 1});
    TExtStringGrid dst;
    dst.SetColCount(7);
    dst.SetRowCount(9);
    dst.SetCells(6, 8, QStringLiteral("gone"));
    LoadFromBinStream(dst, s);
    EXPECT_EQ(dst.ColCount(), 3);
    EXPECT_EQ(dst.RowCount(), 2);
    EXPECT_EQ(dst.ColWidths(2), 99);
    EXPECT_EQ(dst.RowHeights(1), 40);
    EXPECT_EQ(dst.Cells(2, 1), QStringLiteral("end"));
}

TEST(BinCellsRead, TrailingBytesAfterTheLastRecordAreNotParsed)
{
    TExtStringGrid src;
    src.SetCells(1, 1, QStringLiteral("x"));
    std::vector<uint8_t> s = SaveRectToBinStream(src, {1, 1, 1, 1});
    // A clipboard block rounded up with bytes that are no record.
    s.insert(s.end(), {0, 0, 0xFF, 'T', 'P', 'F', '1', 9, 9, 9});
    TExtStringGrid dst;
    LoadAtPointFromBinStream(dst, 2, 2, s);
    EXPECT_EQ(dst.Cells(2, 2), QStringLiteral("x"));
}

TEST(BinCellsRead, HostileStreamsAreRefusedWithTheGridUnchanged)
{
    TRichGrid src;
    const std::vector<uint8_t> good = SaveRectToBinStream(src.g, {1, 1, 4, 3});
    auto header = [](int cols, int rows, const std::string& widths, bool full) {
        std::string h = "TPF0\x0bTGridPropIO\x00"s + "\x08" "ColCount\x04"s;
        for (int i = 0; i < 4; ++i)
            h += char((uint32_t(cols) >> (8 * i)) & 0xFF);
        h += "\x08" "RowCount\x04"s;
        for (int i = 0; i < 4; ++i)
            h += char((uint32_t(rows) >> (8 * i)) & 0xFF);
        h += "\x09" "ColWidths\x06"s + char(widths.size()) + widths;
        h += "\x0a" "RowHeights\x06\x01" "5"s;
        h += full ? "\x08" "FullGrid\x09"s : "\x08" "FullGrid\x08"s;
        h += "\x00\x00"s;
        return h;
    };
    const std::string cell = "TPF0\x0bTGridCellIO\x00\x03" "Col\x02\x00\x03" "Row\x02\x00\x07" "HasProp\x08\x00\x00"s;
    struct TCase {
        const char* Name;
        std::vector<uint8_t> Stream;
    };
    std::vector<uint8_t> cut = good;
    cut.resize(good.size() - 7);
    std::vector<uint8_t> longText = good;
    {
        // The first text's length byte claims more than the stream holds.
        const std::string_view name("\x09" "ColWidths\x06", 11);
        const auto it = std::search(longText.begin(), longText.end(), name.begin(), name.end());
        *(it + long(name.size())) = 0xFF;
    }
    const TCase cases[] = {
        {"cut short", cut},
        {"text longer than the stream", longText},
        {"a million rows", Bytes(header(1, 1000000, "5", false) + cell)},
        {"513 columns", Bytes(header(513, 1, "5", false) + cell)},
        {"negative size", Bytes(header(-1, 1, "5", false) + cell)},
        {"full grid with a short width list", Bytes(header(3, 1, "5,5", true) + cell)},
        {"full grid with a width that is no number", Bytes(header(1, 1, "x", true) + cell)},
        {"cell outside its rectangle", Bytes(header(1, 1, "5", false) + cell +
                                             "TPF0\x0bTGridCellIO\x00\x03" "Col\x02\x05\x03" "Row\x02\x00\x07" "HasProp\x08\x00\x00"s)},
        {"unknown property", Bytes(header(1, 1, "5", false) + "TPF0\x0bTGridCellIO\x00\x04" "Evil\x02\x00\x00\x00"s)},
        {"child records", Bytes(header(1, 1, "5", false) + "TPF0\x0bTGridCellIO\x00\x00\x01"s)},
        {"no header", Bytes(cell)},
        {"properties missing", Bytes(header(1, 1, "5", false) + "TPF0\x0bTGridCellIO\x00\x07" "HasProp\x09\x00\x00"s)},
    };
    for (const TCase& c : cases) {
        TExtStringGrid dst;
        dst.SetColCount(4);
        dst.SetRowCount(4);
        dst.SetCells(1, 1, QStringLiteral("keep"));
        const QString before = GridSnapshot(dst);
        EXPECT_THROW(LoadAtPointFromBinStream(dst, 0, 0, c.Stream), EExtGridError) << c.Name;
        EXPECT_EQ(GridSnapshot(dst), before) << c.Name;
    }
}

TEST(BinCellsFile, SaveAndLoadTheSaveRange)
{
    TRichGrid src;
    const QString file = src.dir.File(QStringLiteral("cells.bin"));
    SaveToBinFile(src.g, file);
    TExtStringGrid dst;
    LoadFromBinFile(dst, file);
    EXPECT_EQ(dst.ColCount(), src.g.ColCount());
    EXPECT_EQ(dst.RowCount(), src.g.RowCount());
    EXPECT_EQ(dst.Cells(2, 1), src.g.Cells(2, 1));
    EXPECT_EQ(dst.Cells(4, 1), QStringLiteral("two\r\nlines"));
    ASSERT_TRUE(dst.GetBitmap(2, 2));
    EXPECT_THROW(LoadFromBinFile(dst, src.dir.File(QStringLiteral("missing.bin"))), EExtGridError);
    EXPECT_THROW(SaveToBinFile(src.g, src.dir.File(QStringLiteral("no/such/folder/x.bin"))), EExtGridError);
}

// Seeded mutations of a stream with every record kind: each is refused with the grid as it was,
// or read; never a crash (the test build runs under the sanitizers).
TEST(BinCellsRead, MutatedStreamsAreReadOrRefusedWhole)
{
    TRichGrid src;
    const std::vector<uint8_t> good = SaveRectToBinStream(src.g, {1, 1, 4, 3});
    QRandomGenerator rng(20261211);
    int refused = 0, read = 0;
    TExtStringGrid dst;
    dst.SetColCount(6);
    dst.SetRowCount(6);
    for (int i = 0; i < 3000; ++i) {
        std::vector<uint8_t> s = good;
        const int edits = 1 + int(rng.bounded(4));
        for (int e = 0; e < edits && !s.empty(); ++e) {
            const size_t at = rng.bounded(uint32_t(s.size()));
            switch (rng.bounded(5)) {
            case 0: s[at] = uint8_t(rng.bounded(256)); break;
            case 1: s[at] ^= uint8_t(1u << rng.bounded(8)); break;
            case 2: s.resize(at); break;
            case 3: s.insert(s.begin() + long(at), uint8_t(rng.bounded(256))); break;
            case 4: {
                const size_t len = std::min<size_t>(s.size() - at, 1 + rng.bounded(40));
                std::vector<uint8_t> chunk(s.begin() + long(at), s.begin() + long(at + len));
                s.insert(s.begin() + long(rng.bounded(uint32_t(s.size()))), chunk.begin(), chunk.end());
                break;
            }
            }
        }
        dst.SetCells(0, 0, QString::number(i));
        const QString before = GridSnapshot(dst);
        try {
            LoadAtPointFromBinStream(dst, int(rng.bounded(3)), int(rng.bounded(3)), s);
            ++read;
        } catch (const EExtGridError&) {
            ++refused;
            ASSERT_EQ(GridSnapshot(dst), before) << "case " << i;
        }
        if (dst.ColCount() > MaxBinCols || dst.RowCount() > MaxBinRows + 1)
            FAIL() << "case " << i << " sized the grid " << dst.ColCount() << "x" << dst.RowCount();
        if (i % 50 == 0) {  // back to a small grid now and then, so that cases stay comparable
            dst.SetColCount(6);
            dst.SetRowCount(6);
        }
    }
    EXPECT_GT(refused, 1000);
    EXPECT_GT(read, 50);
}

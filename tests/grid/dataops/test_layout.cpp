// Layout stores of the grid: column widths and order in INI files (and the registry stand-in),
// the column-state text, the print-settings INI; damaged stores leave the grid as it was.
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "grid/dataops/GridDataOperations.h"
#include "grid/dataops/GridLayout.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// A grid of `cols` columns whose header row names them "A", "B", ... by initial index.
struct TLayoutGrid {
    TExtStringGrid g;
    explicit TLayoutGrid(int cols = 3)
    {
        g.SetColCount(cols);
        g.SetRowCount(3);
        for (int c = 0; c < cols; ++c)
            g.SetCells(c, 0, QString(QChar('A' + c)));
    }
    // The column-order list starts when the application asks for it; moves then keep it.
    void Move(int from, int to)
    {
        if (g.ColumnOrderList().empty())
            g.SetColumnOrder();
        g.MoveColumn(from, to);
    }
    // Headers of the shown columns, in display order.
    QString Shown()
    {
        QString out;
        for (int c = 0; c < g.ColCount(); ++c)
            out += g.Cells(g.DisplToRealCol(c), 0);
        return out;
    }
    QString Widths()
    {
        QStringList out;
        for (int c = 0; c < g.ColCount(); ++c)
            out << QString::number(g.ColWidths(c));
        return out.join(QChar(','));
    }
    // Everything a store may change.
    QString State() { return Shown() + "|" + Widths() + "|" + ColumnStatesToString(g); }
    void UseIni(const QString& path, TColumnSizeLocation location = clIniFile)
    {
        g.ColumnSize.Key = path;
        g.ColumnSize.Section = QStringLiteral("Grid");
        g.ColumnSize.Location = location;
    }
};

QString ReadText(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

void WriteText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

TEST(ColumnStates, TextOfAnUnmovedGridAndItsRoundTrip)
{
    TLayoutGrid a;
    EXPECT_EQ(ColumnStatesToString(a.g), "3#64,64,64#0,1,2#1,1,1");

    TLayoutGrid b;
    b.g.SetColWidths(0, 20);
    b.g.SetColWidths(2, 90);
    b.Move(0, 2);
    b.g.HideColumn(1);
    const QString text = ColumnStatesToString(b.g);
    TLayoutGrid c;
    StringToColumnStates(c.g, text);
    EXPECT_EQ(c.State(), b.State());
}

TEST(ColumnStates, FlagsHideRealColumnsAndWidthsGoToTheShownOnes)
{
    TLayoutGrid f;
    StringToColumnStates(f.g, "3#30,40,50#0,1,2#1,0,1");
    EXPECT_EQ(f.Shown(), "AC");
    EXPECT_EQ(f.Widths(), "30,40");
    EXPECT_TRUE(f.g.IsHiddenColumn(1));
}

TEST(ColumnStates, AnOrderFieldArrangesTheColumns)
{
    TLayoutGrid f;
    StringToColumnStates(f.g, "3#10,20,30#2,0,1#1,1,1");
    EXPECT_EQ(f.Shown(), "CAB");
    EXPECT_EQ(f.Widths(), "10,20,30");
    EXPECT_EQ(f.g.ColumnOrderList(), (std::vector<int>{2, 0, 1}));
}

TEST(ColumnStates, DamagedTextsChangeNothing)
{
    const struct {
        const char* Text;
        bool Raises;
    } cases[] = {
        {"no field separator", false},
        {"x#64,64,64#0,1,2#1,1,1", true},
        {"3#64,6x,64#0,1,2#1,1,1", true},
        {"3#64,64#0,1,2#1,1,1", true},          // too few widths
        {"3#64,64,64#0,1,2#1,1", true},         // too few flags
        {"3#64,64,64#0,0,1#1,1,1", true},       // order no permutation
        {"3#64,64,64#0,1,7#1,1,1", true},       // order names a column that is not there
        {"3#64,-5,64#0,1,2#1,1,1", true},       // negative width
        {"3#64,64,64#0,1,2#1,2,1", true},       // flag neither 0 nor 1
        {"3#64,64,64#0,1,2#0,0,0", true},       // every column hidden
        {"0###", true},                         // no columns
        {"100000#64#0#1", true},                // more columns than a grid holds
        {"3#64,64,64#0,1,2", true},             // a field missing
        {"3#64, 64,64#0,1,2#1,1,1", true},      // a blank in a number
    };
    for (const auto& tc : cases) {
        TLayoutGrid f(4);
        f.g.SetColWidths(1, 33);
        f.Move(3, 0);
        const QString before = f.State();
        if (tc.Raises)
            EXPECT_THROW(StringToColumnStates(f.g, tc.Text), EExtGridError) << tc.Text;
        else
            EXPECT_NO_THROW(StringToColumnStates(f.g, tc.Text)) << tc.Text;
        EXPECT_EQ(f.State(), before) << tc.Text;
    }
}

TEST(ColumnSizes, RoundTripThroughAnIniFileWrittenAsTheFormatGivesIt)
{
    TempDir dir;
    const QString ini = dir.File("layout.ini");
    TLayoutGrid a;
    a.UseIni(ini);
    a.g.SetColWidths(0, 11);
    a.g.SetColWidths(2, 99);
    SaveColSizes(a.g);
    EXPECT_EQ(ReadText(ini), "[Grid]\r\nCol0=11\r\nCol1=64\r\nCol2=99\r\n\r\n");

    TLayoutGrid b;
    b.UseIni(ini);
    LoadColSizes(b.g);
    EXPECT_EQ(b.Widths(), "11,64,99");
}

TEST(ColumnSizes, TheRegistryLocationKeepsTheSameKeysInTheConfigurationFolder)
{
    QStandardPaths::setTestModeEnabled(true);
    TLayoutGrid a;
    a.UseIni(QStringLiteral("Software\\Gateway\\..\\Layout"), clRegistry);
    a.g.SetColWidths(1, 77);
    SaveColSizes(a.g);
    const QString path = platform::RegistryIniPath(a.g.ColumnSize.Key);
    EXPECT_TRUE(path.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
    EXPECT_FALSE(path.contains("/../"));
    EXPECT_TRUE(ReadText(path).contains("Col1=77\r\n"));

    TLayoutGrid b;
    b.UseIni(a.g.ColumnSize.Key, clRegistry);
    LoadColSizes(b.g);
    EXPECT_EQ(b.Widths(), "64,77,64");
    QFile::remove(path);
    QStandardPaths::setTestModeEnabled(false);
}

TEST(ColumnSizes, AnEmptyKeyOrSectionOrNoStoredValueKeepsEveryWidth)
{
    TempDir dir;
    TLayoutGrid f;
    f.g.SetColWidths(1, 40);
    f.UseIni(dir.File("none.ini"));
    LoadColSizes(f.g);
    EXPECT_EQ(f.Widths(), "64,40,64");
    f.g.ColumnSize.Section.clear();
    SaveColSizes(f.g);
    EXPECT_FALSE(QFile::exists(dir.File("none.ini")));
}

TEST(ColumnSizes, DamagedStoresLeaveTheGridAsItWas)
{
    TempDir dir;
    const struct {
        const char* Name;
        QByteArray Text;
        bool Raises;
        const char* Widths;
    } cases[] = {
        {"not a number keeps that width", "[Grid]\r\nCol0=12\r\nCol1=abc\r\n", false, "12,40,64"},
        {"a negative width", "[Grid]\r\nCol0=12\r\nCol1=-5\r\n", false, "64,40,64"},
        {"a width out of range", "[grid]\r\ncol0=12\r\nCOL2=99999\r\n", false, "64,40,64"},
        {"a line far too long", "[Grid]\r\nCol0=" + QByteArray(100000, '1') + "\r\n", true, "64,40,64"},
        {"a file far too large", QByteArray(2 * 1024 * 1024, ';'), true, "64,40,64"},
    };
    for (const auto& tc : cases) {
        const QString ini = dir.File("damaged.ini");
        WriteText(ini, tc.Text);
        TLayoutGrid f;
        f.g.SetColWidths(1, 40);
        f.UseIni(ini);
        if (tc.Raises)
            EXPECT_THROW(LoadColSizes(f.g), platform::Exception) << tc.Name;
        else
            EXPECT_NO_THROW(LoadColSizes(f.g)) << tc.Name;
        EXPECT_EQ(f.Widths(), tc.Widths) << tc.Name;
    }
}

TEST(ColumnPositions, ASavedOrderComesBackAndItsListReadsTheSame)
{
    TempDir dir;
    const QString ini = dir.File("order.ini");
    TLayoutGrid a;
    a.UseIni(ini);
    a.Move(2, 0);  // C A B
    ASSERT_EQ(a.Shown(), "CAB");
    SaveColPositions(a.g);
    EXPECT_EQ(ReadText(ini), "[Grid]\r\nPos0=2\r\nPos1=0\r\nPos2=1\r\n\r\n");

    TLayoutGrid b;
    b.UseIni(ini);
    LoadColPositions(b.g);
    EXPECT_EQ(b.Shown(), "CAB");
    EXPECT_EQ(b.g.ColumnOrderList(), (std::vector<int>{2, 0, 1}));
}

TEST(ColumnPositions, NoOrDamagedStoredOrderLeavesTheOrder)
{
    TempDir dir;
    for (const QByteArray text : {QByteArray("[Grid]\r\nPos1=0\r\n"), QByteArray("[Grid]\r\nPos0=1\r\nPos1=1\r\nPos2=0\r\n"),
                                  QByteArray("[Grid]\r\nPos0=0\r\nPos1=2\r\n"),
                                  QByteArray("[Grid]\r\nPos0=3\r\nPos1=0\r\nPos2=1\r\n")}) {
        const QString ini = dir.File("order.ini");
        WriteText(ini, text);
        TLayoutGrid f;
        f.Move(1, 0);
        f.UseIni(ini);
        const QString before = f.State();
        LoadColPositions(f.g);
        EXPECT_EQ(f.State(), before) << text.constData();
    }
}

TEST(PrintSettingsIni, AnEmptySectionGivesTheDefaults)
{
    TempDir dir;
    TLayoutGrid f;
    TPrintSettings& ps = f.g.PrintSettings;
    ps.Centered = false;
    ps.RepeatFixedRows = true;
    ps.Font = {"Courier", 30, fsBold, 0xFF};
    LoadPrintSettings(f.g, dir.File("print.ini"), "Print");
    EXPECT_EQ(ps.ColumnSpacing, 20);
    EXPECT_EQ(ps.RowSpacing, 20);
    EXPECT_EQ(ps.TitleSpacing, 20);
    EXPECT_EQ(ps.HeaderSize, 100);
    EXPECT_EQ(ps.FooterSize, 100);
    EXPECT_EQ(ps.LeftSize, 100);
    EXPECT_EQ(ps.RightSize, 100);
    EXPECT_TRUE(ps.Centered);
    EXPECT_FALSE(ps.RepeatFixedRows || ps.RepeatFixedCols || ps.NoAutoSize || ps.UseDisplayFont || ps.PrintGraphics);
    EXPECT_EQ(ps.Font.Name, "Arial");
    EXPECT_EQ(ps.Font.Size, 10);
    EXPECT_EQ(ps.Font.Style, fsBold);  // stored styles are added, none removed
    EXPECT_EQ(ps.HeaderFont.Size, 10);
}

TEST(PrintSettingsIni, RoundTripWithTitleLinesStoredOnOneLine)
{
    TempDir dir;
    const QString ini = dir.File("print.ini");
    TLayoutGrid a;
    TPrintSettings& ps = a.g.PrintSettings;
    ps.TitleLines = QStringList{"First line", "Second = line"};
    ps.Borders = pbAroundHorizontal;
    ps.BorderStyle = platform::TPenStyle::psDot;
    ps.Title = ppBottomCenter;
    ps.PageNr = ppTopRight;
    ps.FitToPage = fpShrink;
    ps.Orientation = poLandscape;
    ps.HeaderFont = {"DejaVu Serif", 14, fsItalic | fsUnderline, 0x123456};
    ps.PagePrefix = "Page";
    ps.ColumnSpacing = 7;
    ps.UseFixedWidth = true;
    SavePrintSettings(a.g, ini, "Print");
    const QString text = ReadText(ini);
    EXPECT_TRUE(text.contains("TitleLines=First line\\nSecond = line\r\n")) << text.toStdString();
    EXPECT_TRUE(text.startsWith("[Print]\r\nColumnSpacing=7\r\nRowSpacing=0\r\nTitleSpacing=0\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("HeaderFontStyle=6\r\n"));

    TLayoutGrid b;
    LoadPrintSettings(b.g, ini, "Print");
    const TPrintSettings& q = b.g.PrintSettings;
    EXPECT_EQ(q.TitleLines, ps.TitleLines);
    EXPECT_EQ(q.Borders, pbAroundHorizontal);
    EXPECT_EQ(q.BorderStyle, platform::TPenStyle::psDot);
    EXPECT_EQ(q.Title, ppBottomCenter);
    EXPECT_EQ(q.PageNr, ppTopRight);
    EXPECT_EQ(q.FitToPage, fpShrink);
    EXPECT_EQ(q.Orientation, poLandscape);
    EXPECT_EQ(q.HeaderFont, ps.HeaderFont);
    EXPECT_EQ(q.PagePrefix, "Page");
    EXPECT_EQ(q.ColumnSpacing, 7);
    EXPECT_TRUE(q.UseFixedWidth);
}

TEST(PrintSettingsIni, OutOfRangeValuesKeepTheirDefaultsOrThePropertyAndHostileFilesChangeNothing)
{
    TempDir dir;
    const QString ini = dir.File("print.ini");
    WriteText(ini, "[Print]\r\nBorders=99\r\nBorderStyle=-1\r\nFitToPage=5\r\nOrientation=2\r\nTime=7\r\n"
                   "HeaderSize=-50\r\nFontSize=100000\r\nCentered=yes\r\n");
    TLayoutGrid f;
    TPrintSettings& ps = f.g.PrintSettings;
    ps.Borders = pbVertical;
    ps.FitToPage = fpGrow;
    ps.Orientation = poLandscape;
    ps.Time = ppTopLeft;
    LoadPrintSettings(f.g, ini, "Print");
    EXPECT_EQ(ps.Borders, pbVertical);
    EXPECT_EQ(ps.FitToPage, fpGrow);
    EXPECT_EQ(ps.Orientation, poLandscape);
    EXPECT_EQ(ps.Time, ppNone);
    EXPECT_EQ(ps.HeaderSize, 100);
    EXPECT_EQ(ps.Font.Size, 10);
    EXPECT_FALSE(ps.Centered);

    WriteText(ini, "[Print]\r\nTitleText=" + QByteArray(200000, 'x') + "\r\n");
    ps.TitleText = "kept";
    EXPECT_THROW(LoadPrintSettings(f.g, ini, "Print"), platform::Exception);
    EXPECT_EQ(ps.TitleText, "kept");
}

TEST(IniFile, ValuesStayAsTheyStandAndLineBreaksCannotAddKeys)
{
    TempDir dir;
    const QString path = dir.File("a.ini");
    {
        platform::TIniFile ini(path);
        ini.WriteString("S", "Text", "a=b;c \"q\"\r\nInjected=1");
        ini.WriteInteger("S", "N", -42);
        ini.UpdateFile();
    }
    platform::TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("s", "text", {}), "a=b;c \"q\"  Injected=1");
    EXPECT_FALSE(ini.ValueExists("S", "Injected"));
    EXPECT_EQ(ini.ReadInteger("S", "N", 0), -42);
    EXPECT_EQ(ini.ReadInteger("S", "Text", 5), 5);
}

}  // namespace

namespace {

// The look file of a grid as text.
QString LookText(TExtStringGrid& g, const TempDir& dir)
{
    const QString path = dir.File("look-now.txt");
    SaveVisualProps(g, path);
    return QString::fromLatin1(dir.Read("look-now.txt"));
}

TEST(VisualProps, RoundTripWithColourNamesHexValuesAndFonts)
{
    TempDir dir;
    TLayoutGrid a;
    a.g.Color = 0x123456;
    a.g.HintColor = clWindow;
    a.g.SetURLShow(true);
    a.g.FixedFont = {"DejaVu Serif", 11, fsBold | fsStrikeOut, 0x00FF00};
    a.g.Bands.SetActive(true);
    a.g.Grouping.SummaryLineWidth = 5;
    a.g.ControlLook.ControlStyle = csFlat;
    a.g.BackGround.SetDisplay(bdGradientVert);
    a.g.SetLook(glXP);
    SaveVisualProps(a.g, dir.File("look.txt"));
    const QString text = QString::fromLatin1(dir.Read("look.txt"));
    EXPECT_TRUE(text.startsWith("Color=$00123456\r\nHintColor=clWindow\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\r\nFixedFont.Color=clLime\r\nFixedFont.Style=fsBold,fsStrikeOut\r\nFixedFont.Size=11\r\n"
                              "FixedFont.Name=DejaVu Serif\r\n"));
    EXPECT_TRUE(text.contains("\r\nURLShow=true\r\n"));
    EXPECT_TRUE(text.contains("\r\nLook=glXP\r\n"));
    EXPECT_TRUE(text.endsWith("BackGround.ColorTo=clBtnFace\r\n"));

    TLayoutGrid b;
    LoadVisualProps(b.g, dir.File("look.txt"));
    EXPECT_EQ(LookText(b.g, dir), text);
    EXPECT_EQ(b.g.FixedFont, a.g.FixedFont);
    EXPECT_EQ(TColor(b.g.Color), 0x123456u);
}

TEST(VisualProps, MissingEntriesAndDamagedFiles)
{
    TempDir dir;
    TLayoutGrid a;
    a.g.SetLook(glXP);
    QString text = LookText(a.g, dir);

    // No Look line: the look stays; names are matched without regard to case.
    TLayoutGrid b;
    b.g.SetLook(glSoft);
    QString noLook = text;
    noLook.remove(QRegularExpression("Look=glXP\r\n"));
    noLook.replace("Balloon.BackgroundColor", "BALLOON.backgroundcolor");
    dir.Write("nolook.txt", noLook.toLatin1());
    LoadVisualProps(b.g, dir.File("nolook.txt"));
    EXPECT_EQ(b.g.Look(), glSoft);

    // A missing or bad integer, or a bad colour: an error naming the entry, nothing applied.
    for (const auto& [from, to] : {std::pair<QString, QString>{"Font.Size=8\r\n", ""},
                                   {"Font.Size=8\r\n", "Font.Size=eight\r\n"},
                                   {"Balloon.Transparency=0", "Balloon.Transparency=9999"},
                                   {"GridLineColor=clSilver", "GridLineColor=$zz"}}) {
        TLayoutGrid c;
        c.g.Color = 0x010203;
        const QString before = LookText(c.g, dir);
        QString damaged = text;
        ASSERT_TRUE(damaged.contains(from)) << from.toStdString();
        damaged.replace(from, to);
        dir.Write("bad.txt", damaged.toLatin1());
        EXPECT_THROW(LoadVisualProps(c.g, dir.File("bad.txt")), EExtGridError) << to.toStdString();
        EXPECT_EQ(LookText(c.g, dir), before) << to.toStdString();
    }

    try {
        LoadVisualProps(a.g, dir.File("missing.txt"));
        ADD_FAILURE();
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.message(), "Cannot open file " + dir.File("missing.txt"));
    }
    try {
        SaveVisualProps(a.g, dir.File("no/such/folder/look.txt"));
        ADD_FAILURE();
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.message(), "Cannot Create " + dir.File("no/such/folder/look.txt"));
    }
}

}  // namespace

namespace {

TEST(ColumnSizes, AGridAskedToKeepItsWidthsSavesThemWhenItGoesAndLoadsThemWhenLoaded)
{
    TempDir dir;
    const QString ini = dir.File("auto.ini");
    {
        TExtStringGrid g;
        g.SetLayers({.DataOps = DataOperations()});
        g.SetColCount(3);
        g.ColumnSize = {};
        g.ColumnSize.Save = true;
        g.ColumnSize.Key = ini;
        g.ColumnSize.Section = "Auto";
        g.ColumnSize.Location = clIniFile;
        g.SetColWidths(2, 123);
    }
    EXPECT_TRUE(ReadText(ini).contains("Col2=123\r\n"));
    TExtStringGrid h;
    h.SetLayers({.DataOps = DataOperations()});
    h.SetColCount(3);
    h.ColumnSize.Save = true;
    h.ColumnSize.Key = ini;
    h.ColumnSize.Section = "Auto";
    h.ColumnSize.Location = clIniFile;
    h.Loaded();
    EXPECT_EQ(h.ColWidths(2), 123);
    h.ColumnSize.Save = false;  // keep the file as it is
}

}  // namespace

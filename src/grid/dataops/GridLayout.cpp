#include "grid/dataops/GridLayout.h"

#include <QHash>
#include <climits>
#include <list>
#include <memory>
#include <optional>
#include <span>

#include "grid/dataops/GridColorNames.h"
#include "grid/dataops/GridTextCoding.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/IniFile.h"

namespace grid::dataops {

namespace {

struct TColumnStore {
    platform::TIniFile Ini;
    QString Section;
};

std::optional<TColumnStore> OpenColumnStore(const TExtStringGrid& grid)
{
    const TColumnSize& cs = grid.ColumnSize;
    if (cs.Key.isEmpty() || cs.Section.isEmpty())
        return std::nullopt;
    const QString path = cs.Location == clIniFile ? cs.Key : platform::RegistryIniPath(cs.Key);
    return TColumnStore{platform::TIniFile(path), cs.Section};
}

// The inverse of a permutation: for each position p, the index at which `order` holds p.
std::vector<int> Inverse(const std::vector<int>& order)
{
    std::vector<int> inverse(order.size(), 0);
    for (size_t k = 0; k < order.size(); ++k)
        inverse[size_t(order[k])] = int(k);
    return inverse;
}

bool IsPermutation(const std::vector<int>& order, int n)
{
    if (int(order.size()) != n)
        return false;
    std::vector<bool> seen(size_t(n), false);
    for (int v : order) {
        if (v < 0 || v >= n || seen[size_t(v)])
            return false;
        seen[size_t(v)] = true;
    }
    return true;
}

// Puts the columns into `saved` order (entry k: the initial index of the column at position k):
// the grid's reset moves columns back to the order its list names, so it is handed the inverse.
// Columns hidden before stay hidden by the same real indexes.
void ApplyColumnOrder(TExtStringGrid& grid, const std::vector<int>& saved)
{
    const std::vector<int> inverse = Inverse(saved);
    std::vector<int> hidden;
    for (int c = 0; c < grid.AllColCount(); ++c)
        if (grid.IsHiddenColumn(c))
            hidden.push_back(c);
    grid.UnHideColumnsAll();
    grid.SetColumnOrderList(inverse);
    grid.ResetColumnOrder();
    for (int c = int(hidden.size()) - 1; c >= 0; --c)
        grid.HideColumn(hidden[size_t(c)]);
    grid.SetColumnOrderList(saved);
}

[[noreturn]] void Damaged(const QString& why)
{
    throw EExtGridError(QStringLiteral("The column state is damaged: %1").arg(why));
}

std::vector<int> IntList(const QString& field, const char* name)
{
    std::vector<int> out;
    if (field.isEmpty())
        return out;
    for (const QString& item : field.split(QChar(','))) {
        bool ok = false;
        const int v = item.toInt(&ok, 10);
        if (!ok || item.trimmed() != item)
            Damaged(QStringLiteral("'%1' in the %2 is not an integer").arg(item.left(20), QLatin1String(name)));
        out.push_back(v);
    }
    return out;
}

}  // namespace

void SaveColSizes(TExtStringGrid& grid)
{
    auto store = OpenColumnStore(grid);
    if (!store)
        return;
    for (int n = 0; n < grid.ColCount(); ++n)
        store->Ini.WriteInteger(store->Section, QStringLiteral("Col%1").arg(n), grid.ColWidths(n));
    store->Ini.UpdateFile();
}

void LoadColSizes(TExtStringGrid& grid)
{
    auto store = OpenColumnStore(grid);
    if (!store)
        return;
    std::vector<int> widths;
    for (int n = 0; n < grid.ColCount(); ++n) {
        const int w = store->Ini.ReadInteger(store->Section, QStringLiteral("Col%1").arg(n), grid.ColWidths(n));
        if (w < 0 || w > MaxStoredWidth)
            return;
        widths.push_back(w);
    }
    for (int n = 0; n < int(widths.size()); ++n)
        if (grid.ColWidths(n) != widths[size_t(n)])
            grid.SetColWidths(n, widths[size_t(n)]);
}

void SaveColPositions(TExtStringGrid& grid)
{
    auto store = OpenColumnStore(grid);
    if (!store)
        return;
    const std::vector<int>& order = grid.ColumnOrderList();
    for (size_t k = 0; k < order.size(); ++k)
        store->Ini.WriteInteger(store->Section, QStringLiteral("Pos%1").arg(k), order[k]);
    store->Ini.UpdateFile();
}

void LoadColPositions(TExtStringGrid& grid)
{
    auto store = OpenColumnStore(grid);
    if (!store || store->Ini.ReadInteger(store->Section, QStringLiteral("Pos0"), -1) == -1)
        return;
    std::vector<int> saved;
    for (int k = 0; k < grid.AllColCount(); ++k) {
        const int v = store->Ini.ReadInteger(store->Section, QStringLiteral("Pos%1").arg(k), -1);
        if (v != -1)
            saved.push_back(v);
    }
    // Only a permutation of this grid's columns is an order; anything else would lose a column.
    if (!IsPermutation(saved, grid.AllColCount()))
        return;
    ApplyColumnOrder(grid, saved);
}

QString ColumnStatesToString(TExtStringGrid& grid)
{
    const int n = grid.AllColCount();
    QStringList widths, order, visible;
    for (int c = 0; c < n; ++c)
        widths << QString::number(c < grid.ColCount() ? grid.ColWidths(c) : grid.DefaultColWidth());
    const std::vector<int>& list = grid.ColumnOrderList();
    for (int c = 0; c < n; ++c)
        order << QString::number(list.empty() ? c : c < int(list.size()) ? list[size_t(c)] : c);
    for (int c = 0; c < n; ++c)
        visible << (grid.IsHiddenColumn(c) ? QStringLiteral("0") : QStringLiteral("1"));
    return QStringList{QString::number(n), widths.join(QChar(',')), order.join(QChar(',')), visible.join(QChar(','))}
        .join(QChar('#'));
}

void StringToColumnStates(TExtStringGrid& grid, const QString& value)
{
    if (!value.contains(QChar('#')))
        return;
    if (value.size() > MaxColumnStateChars)
        Damaged(QStringLiteral("it is too long"));
    const QStringList fields = value.split(QChar('#'));
    if (fields.size() != 4)
        Damaged(QStringLiteral("it has %1 fields instead of 4").arg(fields.size()));
    bool ok = false;
    const int n = fields[0].toInt(&ok, 10);
    if (!ok || n < 1 || n > MaxStoredColumns)
        Damaged(QStringLiteral("the column count '%1' is not between 1 and %2").arg(fields[0].left(20)).arg(MaxStoredColumns));
    const std::vector<int> widths = IntList(fields[1], "widths");
    std::vector<int> order = IntList(fields[2], "column order");
    const std::vector<int> flags = IntList(fields[3], "visibility flags");
    if (int(widths.size()) < n || int(flags.size()) < n)
        Damaged(QStringLiteral("it holds fewer widths or visibility flags than its %1 columns").arg(n));
    for (int k = 0; k < n; ++k) {
        if (widths[size_t(k)] < 0 || widths[size_t(k)] > MaxStoredWidth)
            Damaged(QStringLiteral("the width %1 is out of range").arg(widths[size_t(k)]));
        if (flags[size_t(k)] != 0 && flags[size_t(k)] != 1)
            Damaged(QStringLiteral("a visibility flag is %1").arg(flags[size_t(k)]));
    }
    if (std::find(flags.begin(), flags.begin() + n, 1) == flags.begin() + n)
        Damaged(QStringLiteral("it hides every column"));
    if (!order.empty()) {
        order.resize(std::min(order.size(), size_t(n)));
        if (!IsPermutation(order, n))
            Damaged(QStringLiteral("the column order is no arrangement of its %1 columns").arg(n));
    }

    grid.SetColumnOrderList({});
    grid.UnHideColumnsAll();
    grid.SetColCount(n);
    if (!order.empty())
        ApplyColumnOrder(grid, order);
    for (int c = n - 1; c >= 0; --c)
        if (flags[size_t(c)] == 0)
            grid.HideColumn(c);
    const bool stretch = grid.ColumnSize.Stretch;
    grid.ColumnSize.Stretch = false;
    if (stretch) {
        const int sc = grid.ColumnSize.StretchColumn == -1 ? grid.ColCount() - 1 : grid.ColumnSize.StretchColumn;
        if (sc >= 0 && sc < grid.ColCount())
            grid.SetDefaultColWidth(grid.ColWidths(sc));
    }
    for (int c = 0; c < grid.ColCount(); ++c)
        grid.SetColWidths(c, widths[size_t(c)]);
    grid.ColumnSize.Stretch = stretch;
    if (stretch)
        grid.StretchColumn(grid.ColumnSize.StretchColumn == -1 ? grid.ColCount() - 1 : grid.ColumnSize.StretchColumn);
}

// --- print settings -----------------------------------------------------------------------------

namespace {

QString YN(bool v) { return v ? QStringLiteral("Y") : QStringLiteral("N"); }

// Sizes and spacings a stored file may set; a value outside keeps the default.
constexpr int MaxStoredSize = 100000;
constexpr int MaxStoredFontSize = 1000;
constexpr int MaxStoredText = 4096;
constexpr int MaxStoredTitleLines = 100;

int PenStyleOrdinal(platform::TPenStyle s)
{
    switch (s) {
    case platform::TPenStyle::psDash: return 1;
    case platform::TPenStyle::psDot: return 2;
    case platform::TPenStyle::psClear: return 5;
    default: return 0;
    }
}

// The seven pen styles of the stored ordinal in the styles the canvas draws.
platform::TPenStyle PenStyleOf(int ordinal)
{
    switch (ordinal) {
    case 1:
    case 3:
    case 4: return platform::TPenStyle::psDash;
    case 2: return platform::TPenStyle::psDot;
    case 5: return platform::TPenStyle::psClear;
    default: return platform::TPenStyle::psSolid;
    }
}

class TPrintIni {
public:
    TPrintIni(const QString& key, QString section) : Ini(key), Section(std::move(section)) {}
    platform::TIniFile Ini;
    QString Section;

    int Int(const QString& name, int def, int lo, int hi) const
    {
        const int v = Ini.ReadInteger(Section, name, def);
        return v >= lo && v <= hi ? v : def;
    }
    bool Bool(const QString& name, const QString& def) const { return Ini.ReadString(Section, name, def) == "Y"; }
    QString Text(const QString& name) const { return Ini.ReadString(Section, name, {}).left(MaxStoredText); }
    void ReadFont(const QString& prefix, TFontDesc& font) const
    {
        font.Name = Ini.ReadString(Section, prefix + "FontName", QStringLiteral("Arial")).left(64);
        font.Size = Int(prefix + "FontSize", 10, 1, MaxStoredFontSize);
        font.Style |= uint8_t(Int(prefix + "FontStyle", 0, 0, 15));
        font.Color = TColor(Int(prefix + "FontColor", 0, 0, 0x7FFFFFFF));
    }
    void WriteFont(const QString& prefix, const TFontDesc& font)
    {
        Ini.WriteString(Section, prefix + "FontName", font.Name);
        Ini.WriteInteger(Section, prefix + "FontSize", font.Size);
        Ini.WriteInteger(Section, prefix + "FontStyle", font.Style & 15);
        Ini.WriteInteger(Section, prefix + "FontColor", int(font.Color));
    }
};

}  // namespace

void SavePrintSettings(TExtStringGrid& grid, const QString& key, const QString& section)
{
    const TPrintSettings& ps = grid.PrintSettings;
    TPrintIni f(key, section);
    const auto i = [&](const char* name, int v) { f.Ini.WriteInteger(section, QLatin1String(name), v); };
    const auto s = [&](const char* name, const QString& v) { f.Ini.WriteString(section, QLatin1String(name), v); };
    i("ColumnSpacing", ps.ColumnSpacing);
    i("RowSpacing", ps.RowSpacing);
    i("TitleSpacing", ps.TitleSpacing);
    i("FixedHeight", ps.FixedHeight);
    i("FixedWidth", ps.FixedWidth);
    s("Centered", YN(ps.Centered));
    s("NoAutoSize", YN(ps.NoAutoSize));
    s("UseFixedHeight", YN(ps.UseFixedHeight));
    s("UseFixedWidth", YN(ps.UseFixedWidth));
    s("RepeatFixedRows", YN(ps.RepeatFixedRows));
    s("RepeatFixedCols", YN(ps.RepeatFixedCols));
    s("UseDisplFont", YN(ps.UseDisplayFont));
    s("UseDefOrientation", YN(ps.UseDefaultOrientation));
    i("Borders", ps.Borders);
    i("BorderColor", int(ps.BorderColor));
    i("BorderStyle", PenStyleOrdinal(ps.BorderStyle));
    i("Date", ps.Date);
    i("PageNr", ps.PageNr);
    i("Title", ps.Title);
    i("Time", ps.Time);
    s("DateFormat", ps.DateFormat);
    s("TitleText", ps.TitleText);
    i("FooterSize", ps.FooterSize);
    i("HeaderSize", ps.HeaderSize);
    i("LeftSize", ps.LeftSize);
    i("RightSize", ps.RightSize);
    i("FitToPage", ps.FitToPage);
    f.WriteFont(QString(), ps.Font);
    f.WriteFont(QStringLiteral("Header"), ps.HeaderFont);
    f.WriteFont(QStringLiteral("Footer"), ps.FooterFont);
    s("PageNumSep", ps.PageNumSep);
    s("PageSuffix", ps.PageSuffix);
    s("PagePrefix", ps.PagePrefix);
    i("Orientation", ps.Orientation);
    QString lines = ps.TitleLines.join(QChar(13));
    lines.remove(QChar(10));
    lines.replace(QChar(13), QStringLiteral("\\n"));
    s("TitleLines", lines);
    s("PrintGraphics", YN(ps.PrintGraphics));
    f.Ini.UpdateFile();
}

void LoadPrintSettings(TExtStringGrid& grid, const QString& key, const QString& section)
{
    // Everything is read into a copy first: a file that cannot be read leaves the settings whole.
    const TPrintIni f(key, section);
    TPrintSettings ps(&grid);
    ps.Assign(grid.PrintSettings);
    ps.FixedCellsAlways = grid.PrintSettings.FixedCellsAlways;
    ps.ColumnSpacing = f.Int("ColumnSpacing", 20, 0, MaxStoredSize);
    ps.RowSpacing = f.Int("RowSpacing", 20, 0, MaxStoredSize);
    ps.TitleSpacing = f.Int("TitleSpacing", 20, 0, MaxStoredSize);
    ps.FixedHeight = f.Int("FixedHeight", 0, 0, MaxStoredSize);
    ps.FixedWidth = f.Int("FixedWidth", 0, 0, MaxStoredSize);
    ps.Centered = f.Bool("Centered", "Y");
    ps.NoAutoSize = f.Bool("NoAutoSize", "N");
    ps.UseFixedHeight = f.Bool("UseFixedHeight", "N");
    ps.UseFixedWidth = f.Bool("UseFixedWidth", "N");
    ps.RepeatFixedRows = f.Bool("RepeatFixedRows", "N");
    ps.RepeatFixedCols = f.Bool("RepeatFixedCols", "N");
    ps.UseDisplayFont = f.Bool("UseDisplFont", "N");
    ps.UseDefaultOrientation = f.Bool("UseDefOrientation", "N");
    if (const int v = f.Ini.ReadInteger(section, "Borders", 0); v >= 0 && v <= 8)
        ps.Borders = TPrintBorders(v);
    if (const int v = f.Ini.ReadInteger(section, "BorderStyle", 0); v >= 0 && v <= 6)
        ps.BorderStyle = PenStyleOf(v);
    ps.BorderColor = TColor(f.Int("BorderColor", 0, 0, 0x7FFFFFFF));
    const auto position = [&](const char* name) { return TPrintPosition(f.Int(name, 0, 1, 6)); };
    ps.Date = position("Date");
    ps.PageNr = position("PageNr");
    ps.Title = position("Title");
    ps.Time = position("Time");
    ps.DateFormat = f.Text("DateFormat");
    ps.TitleText = f.Text("TitleText");
    ps.FooterSize = f.Int("FooterSize", 100, 0, MaxStoredSize);
    ps.HeaderSize = f.Int("HeaderSize", 100, 0, MaxStoredSize);
    ps.LeftSize = f.Int("LeftSize", 100, 0, MaxStoredSize);
    ps.RightSize = f.Int("RightSize", 100, 0, MaxStoredSize);
    if (const int v = f.Ini.ReadInteger(section, "FitToPage", 0); v >= 0 && v <= 4)
        ps.FitToPage = TFitToPage(v);
    f.ReadFont(QString(), ps.Font);
    f.ReadFont(QStringLiteral("Header"), ps.HeaderFont);
    f.ReadFont(QStringLiteral("Footer"), ps.FooterFont);
    ps.PageNumSep = f.Text("PageNumSep");
    ps.PageSuffix = f.Text("PageSuffix");
    ps.PagePrefix = f.Text("PagePrefix");
    ps.PrintGraphics = f.Bool("PrintGraphics", "N");
    const QString lines = f.Ini.ReadString(section, "TitleLines", {}).left(MaxStoredText);
    ps.TitleLines = lines.isEmpty() ? QStringList() : lines.split(QStringLiteral("\\n")).mid(0, MaxStoredTitleLines);
    if (const int v = f.Ini.ReadInteger(section, "Orientation", 0); v == 0 || v == 1)
        ps.Orientation = TPrinterOrientation(v);
    grid.PrintSettings.Assign(ps);
}

}  // namespace grid::dataops

// --- visual properties --------------------------------------------------------------------------

namespace grid::dataops {

namespace {

constexpr qint64 MaxVisualFileBytes = 1024 * 1024;
constexpr int MaxVisualInt = 1000000;

constexpr const char* ControlStyleNames[] = {"csClassic", "csFlat", "csWinXP", "csBorland", "csVUR", "csGlyph", "csTheme"};
constexpr const char* LookNames[] = {"glStandard", "glSoft",  "glClassic", "glVUR",       "glXP",
                                     "glListView", "glVista", "glWin7",    "glOffice2007"};
constexpr const char* DisplayNames[] = {"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"};
constexpr const char* CellsNames[] = {"bcNormal", "bcFixed", "bcAll"};

// One pass over the stored look: the writer turns each entry into a line, the reader parses the
// line of the same name and queues the setter. The order of the calls is the order of the file.
class TVisualVisitor {
public:
    virtual ~TVisualVisitor() = default;
    virtual void Color(const char* name, TColor value, std::function<void(TColor)> set) = 0;
    virtual void Bool(const char* name, bool value, std::function<void(bool)> set) = 0;
    virtual void Int(const char* name, int value, std::function<void(int)> set, int lo = -MaxVisualInt,
                     int hi = MaxVisualInt) = 0;
    virtual void Text(const char* name, const QString& value, std::function<void(const QString&)> set) = 0;
    virtual void Style(const char* name, uint8_t value, std::function<void(uint8_t)> set) = 0;
    // An enumeration; value -1 writes an empty value (a look without a name).
    virtual void Enum(const char* name, int value, std::span<const char* const> names, std::function<void(int)> set) = 0;

    void Font(const QString& prefix, const TFontDesc& value, std::function<void(const TFontDesc&)> set)
    {
        const auto name = [&](const char* part) {
            Names.push_back((prefix + QLatin1String(part)).toLatin1());
            return Names.back().constData();
        };
        auto font = std::make_shared<TFontDesc>(value);
        Color(name(".Color"), value.Color, [font](TColor v) { font->Color = v; });
        Style(name(".Style"), value.Style, [font](uint8_t v) { font->Style = v; });
        Int(name(".Size"), value.Size, [font](int v) { font->Size = v; }, 1, 1000);
        Text(name(".Name"), value.Name, [font, set](const QString& v) {
            font->Name = v;
            set(*font);
        });
    }

private:
    std::list<QByteArray> Names;
};

void VisitVisualProps(TExtStringGrid& g, TVisualVisitor& v)
{
    v.Color("Color", g.Color, [&g](TColor c) { g.Color = c; });
    v.Color("HintColor", g.HintColor, [&g](TColor c) { g.HintColor = c; });
    v.Color("SelectionColor", g.SelectionColor, [&g](TColor c) { g.SetSelectionColor(c); });
    v.Color("SelectionColorTo", g.SelectionColorTo, [&g](TColor c) { g.SelectionColorTo = c; });
    v.Color("SelectionMirrorColor", g.SelectionMirrorColor, [&g](TColor c) { g.SelectionMirrorColor = c; });
    v.Color("SelectionMirrorColorTo", g.SelectionMirrorColorTo, [&g](TColor c) { g.SelectionMirrorColorTo = c; });
    v.Color("SelectionTextColor", g.SelectionTextColor, [&g](TColor c) { g.SelectionTextColor = c; });
    v.Color("URLColor", g.URLColor, [&g](TColor c) { g.SetURLColor(c); });
    v.Bool("URLShow", g.URLShow, [&g](bool b) { g.SetURLShow(b); });
    v.Bool("URLShowInText", g.URLShowInText, [&g](bool b) { g.SetURLShowInText(b); });
    v.Color("ScrollColor", g.ScrollColor, [&g](TColor c) { g.SetScrollColor(c); });
    v.Color("ActiveRowColor", g.ActiveRowColor, [&g](TColor c) { g.ActiveRowColor = c; });
    v.Bool("ActiveRowShow", g.ActiveRowShow, [&g](bool b) { g.ActiveRowShow = b; });
    v.Bool("ActiveCellShow", g.ActiveCellShow, [&g](bool b) { g.ActiveCellShow = b; });
    // The grid's own font has no style of its own: a stored style is read and not kept.
    v.Font(QStringLiteral("Font"), g.GridFont(), [&g](const TFontDesc& f) {
        g.FontName = f.Name;
        g.FontSize = f.Size;
        g.FontColor = f.Color;
    });
    v.Color("ActiveCellColor", g.ActiveCellColor, [&g](TColor c) { g.ActiveCellColor = c; });
    v.Color("ActiveCellColorTo", g.ActiveCellColorTo, [&g](TColor c) { g.ActiveCellColorTo = c; });
    v.Font(QStringLiteral("ActiveCellFont"), g.ActiveCellFont, [&g](const TFontDesc& f) { g.ActiveCellFont = f; });
    v.Font(QStringLiteral("FixedFont"), g.FixedFont, [&g](const TFontDesc& f) { g.FixedFont = f; });
    v.Color("Balloon.BackgroundColor", g.Balloon.BackgroundColor, [&g](TColor c) { g.Balloon.BackgroundColor = c; });
    v.Color("Balloon.TextColor", g.Balloon.TextColor, [&g](TColor c) { g.Balloon.TextColor = c; });
    v.Int("Balloon.Transparency", g.Balloon.Transparency, [&g](int i) { g.Balloon.Transparency = i; }, 0, 255);
    v.Color("Bands.PrimaryColor", g.Bands.PrimaryColor(), [&g](TColor c) { g.Bands.SetPrimaryColor(c); });
    v.Color("Bands.SecondaryColor", g.Bands.SecondaryColor(), [&g](TColor c) { g.Bands.SetSecondaryColor(c); });
    v.Bool("Bands.Active", g.Bands.Active(), [&g](bool b) { g.Bands.SetActive(b); });
    v.Color("SortSettings.IndexColor", g.SortSettings.IndexColor, [&g](TColor c) { g.SortSettings.IndexColor = c; });
    v.Color("FloatingFooter.Color", g.FloatingFooter.Color(), [&g](TColor c) { g.FloatingFooter.SetColor(c); });
    TControlLook& cl = g.ControlLook;
    v.Int("ControlLook.CheckSize", cl.CheckSize, [&cl](int i) { cl.CheckSize = i; }, 0, 1000);
    v.Color("ControlLook.Color", cl.Color, [&cl](TColor c) { cl.Color = c; });
    v.Color("ControlLook.CommentColor", cl.CommentColor, [&cl](TColor c) { cl.CommentColor = c; });
    v.Enum("ControlLook.ControlStyle", cl.ControlStyle, ControlStyleNames,
           [&cl](int i) { cl.ControlStyle = TControlStyle(i); });
    v.Color("ControlLook.FixedGradientFrom", cl.FixedGradientFrom(), [&cl](TColor c) { cl.SetFixedGradientFrom(c); });
    v.Color("ControlLook.FixedGradientTo", cl.FixedGradientTo(), [&cl](TColor c) { cl.SetFixedGradientTo(c); });
    v.Int("ControlLook.RadioSize", cl.RadioSize, [&cl](int i) { cl.RadioSize = i; }, 0, 1000);
    v.Bool("ControlLook.FlatButton", cl.FlatButton, [&cl](bool b) { cl.FlatButton = b; });
    v.Color("ControlLook.ProgressBorderColor", cl.ProgressBorderColor, [&cl](TColor c) { cl.ProgressBorderColor = c; });
    v.Bool("ControlLook.ProgressXP", cl.ProgressXP, [&cl](bool b) { cl.ProgressXP = b; });
    v.Enum("Look", g.Look() == glCustom ? -1 : int(g.Look()), LookNames, [&g](int i) { g.SetLook(TGridLook(i)); });
    v.Color("SearchFooter.Color", g.SearchFooter.Color, [&g](TColor c) { g.SearchFooter.Color = c; });
    v.Color("SearchFooter.ColorTo", g.SearchFooter.ColorTo, [&g](TColor c) { g.SearchFooter.ColorTo = c; });
    TGrouping& gr = g.Grouping;
    v.Color("Grouping.HeaderColor", gr.HeaderColor, [&gr](TColor c) { gr.HeaderColor = c; });
    v.Color("Grouping.HeaderColorTo", gr.HeaderColorTo, [&gr](TColor c) { gr.HeaderColorTo = c; });
    v.Color("Grouping.HeaderTextColor", gr.HeaderTextColor, [&gr](TColor c) { gr.HeaderTextColor = c; });
    v.Bool("Grouping.HeaderUnderline", gr.HeaderUnderline, [&gr](bool b) { gr.HeaderUnderline = b; });
    v.Color("Grouping.HeaderLineColor", gr.HeaderLineColor, [&gr](TColor c) { gr.HeaderLineColor = c; });
    v.Int("Grouping.HeaderLineWidth", gr.HeaderLineWidth, [&gr](int i) { gr.HeaderLineWidth = i; }, 0, 100);
    v.Color("Grouping.SummaryColor", gr.SummaryColor, [&gr](TColor c) { gr.SummaryColor = c; });
    v.Color("Grouping.SummaryColorTo", gr.SummaryColorTo, [&gr](TColor c) { gr.SummaryColorTo = c; });
    v.Color("Grouping.SummaryTextColor", gr.SummaryTextColor, [&gr](TColor c) { gr.SummaryTextColor = c; });
    v.Bool("Grouping.SummaryLine", gr.SummaryLine, [&gr](bool b) { gr.SummaryLine = b; });
    v.Color("Grouping.SummaryLineColor", gr.SummaryLineColor, [&gr](TColor c) { gr.SummaryLineColor = c; });
    v.Int("Grouping.SummaryLineWidth", gr.SummaryLineWidth, [&gr](int i) { gr.SummaryLineWidth = i; }, 0, 100);
    v.Color("GridLineColor", g.GridLineColor, [&g](TColor c) { g.GridLineColor = c; });
    v.Color("GridFixedLineColor", g.GridFixedLineColor, [&g](TColor c) { g.GridFixedLineColor = c; });
    TBackGround& bg = g.BackGround;
    v.Int("BackGround.Top", bg.Top(), [&bg](int i) { bg.SetTop(i); });
    v.Int("BackGround.Left", bg.Left(), [&bg](int i) { bg.SetLeft(i); });
    v.Enum("BackGround.Display", bg.Display(), DisplayNames, [&bg](int i) { bg.SetDisplay(TBackGroundDisplay(i)); });
    v.Enum("BackGround.Cells", bg.Cells(), CellsNames, [&bg](int i) { bg.SetCells(TBackGroundCells(i)); });
    v.Color("BackGround.Color", bg.Color(), [&bg](TColor c) { bg.SetColor(c); });
    v.Color("BackGround.ColorTo", bg.ColorTo(), [&bg](TColor c) { bg.SetColorTo(c); });
}

class TVisualWriter : public TVisualVisitor {
public:
    QString Out;
    void Line(const char* name, const QString& value) { Out += QLatin1String(name) + QChar('=') + value + "\r\n"; }
    void Color(const char* name, TColor value, std::function<void(TColor)>) override
    {
        for (const TNamedColor& c : ColorNames)
            if (c.Value == value)
                return Line(name, QLatin1String(c.Name));
        Line(name, QChar('$') + QStringLiteral("%1").arg(value, 8, 16, QChar('0')).toUpper());
    }
    void Bool(const char* name, bool value, std::function<void(bool)>) override
    {
        Line(name, value ? QStringLiteral("true") : QStringLiteral("false"));
    }
    void Int(const char* name, int value, std::function<void(int)>, int, int) override { Line(name, QString::number(value)); }
    void Text(const char* name, const QString& value, std::function<void(const QString&)>) override { Line(name, value); }
    void Style(const char* name, uint8_t value, std::function<void(uint8_t)>) override
    {
        QStringList set;
        for (int b = 0; b < 4; ++b)
            if (value & (1 << b))
                set << QLatin1String(FontStyleNames[b]);
        Line(name, set.join(QChar(',')));
    }
    void Enum(const char* name, int value, std::span<const char* const> names, std::function<void(int)>) override
    {
        Line(name, value >= 0 && value < int(names.size()) ? QLatin1String(names[size_t(value)]) : QLatin1String(""));
    }
};

class TVisualReader : public TVisualVisitor {
public:
    QHash<QString, QString> Values;  // upper-cased names
    std::vector<std::function<void()>> Apply;

    void Color(const char* name, TColor, std::function<void(TColor)> set) override
    {
        const QString text = Find(name).trimmed();
        TColor value = clNone;
        if (!text.isEmpty() && !ColorOfName(text, value)) {
            bool ok = false;
            const qint64 v = text.startsWith('$') ? text.mid(1).toLongLong(&ok, 16) : text.toLongLong(&ok, 10);
            if (!ok || v < INT32_MIN || v > UINT32_MAX)
                Bad(name, text);
            value = TColor(uint32_t(v));
        }
        Apply.push_back([set, value] { set(value); });
    }
    void Bool(const char* name, bool, std::function<void(bool)> set) override
    {
        const bool value = Find(name).toUpper() == "TRUE";
        Apply.push_back([set, value] { set(value); });
    }
    void Int(const char* name, int, std::function<void(int)> set, int lo, int hi) override
    {
        const QString text = Find(name);
        bool ok = false;
        const int value = text.toInt(&ok, 10);
        if (!ok || value < lo || value > hi || text.trimmed() != text)
            Bad(name, text);
        Apply.push_back([set, value] { set(value); });
    }
    void Text(const char* name, const QString&, std::function<void(const QString&)> set) override
    {
        const QString value = Find(name).left(64);
        Apply.push_back([set, value] { set(value); });
    }
    void Style(const char* name, uint8_t, std::function<void(uint8_t)> set) override
    {
        const QString text = Find(name);
        uint8_t value = 0;
        for (int b = 0; b < 4; ++b)
            if (text.contains(QLatin1String(FontStyleNames[b]), Qt::CaseInsensitive))
                value |= uint8_t(1 << b);
        Apply.push_back([set, value] { set(value); });
    }
    void Enum(const char* name, int, std::span<const char* const> names, std::function<void(int)> set) override
    {
        const QString text = Find(name).toUpper();
        for (size_t i = 0; i < names.size(); ++i)
            if (text == QString::fromLatin1(names[i]).toUpper()) {
                Apply.push_back([set, i] { set(int(i)); });
                return;
            }
    }

private:
    QString Find(const char* name) const { return Values.value(QString::fromLatin1(name).toUpper()); }
    static bool ColorOfName(const QString& text, TColor& value)
    {
        for (const TNamedColor& c : ColorNames)
            if (text.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) {
                value = c.Value;
                return true;
            }
        return false;
    }
    [[noreturn]] static void Bad(const char* name, const QString& text)
    {
        throw EExtGridError(QStringLiteral("The look file holds no valid value for %1: '%2'")
                                .arg(QLatin1String(name), text.left(40)));
    }
};

}  // namespace

void SaveVisualProps(TExtStringGrid& grid, const QString& fileName)
{
    TVisualWriter w;
    VisitVisualProps(grid, w);
    try {
        platform::WriteFileAtomic(fileName, EncodeText(w.Out, TTextCoding::Ansi));
    } catch (const platform::Exception&) {
        throw EExtGridError(QStringLiteral("Cannot Create ") + fileName);
    }
}

void LoadVisualProps(TExtStringGrid& grid, const QString& fileName)
{
    QByteArray bytes;
    try {
        bytes = platform::ReadWholeFile(fileName, MaxVisualFileBytes);
    } catch (const platform::Exception&) {
        throw EExtGridError(QStringLiteral("Cannot open file ") + fileName);
    }
    TVisualReader r;
    TTextLineReader lines(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())),
                          TTextCoding::Ansi);
    QString line;
    while (lines.Next(line)) {
        const qsizetype eq = line.indexOf(QChar('='));
        if (eq > 0 && !r.Values.contains(line.left(eq).toUpper()))
            r.Values.insert(line.left(eq).toUpper(), line.mid(eq + 1));
    }
    VisitVisualProps(grid, r);
    for (const auto& apply : r.Apply)
        apply();
    grid.Invalidate();
}

}  // namespace grid::dataops

#include "grid/dataops/GridBinCells.h"
#include "grid/dataops/GridColorNames.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <cmath>
#include <cstring>
#include <optional>
#include <variant>

#include "grid/core/GridFiles.h"
#include "grid/editing/GridUndoRedo.h"
#include "platform/Bytes.h"
#include "platform/FileUtil.h"

namespace grid::dataops {

namespace {

// ---- Names of the enumerations and colours, in the order of their values ----

constexpr const char* CellTypeNames[] = {
    "ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated", "ctDataImage",
    "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue", "ctProgress", "ctComment",
    "ctButton", "ctBitButton", "ctVirtCheckBox", "ctRowCheckBox", "ctProgressPie", "ctSummary",
    "ctRangeIndicator", "ctXPProgress", "ctInterface", "ctScrollbar", "ctRadioButton", "ctBalloon", "ctShape",
    "ctRating", "ctTriStateCheckBox", "ctExpand"};
constexpr const char* EditorNames[] = {
    "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit",
    "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric", "edFloat",
    "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase", "edFloatSpinEdit",
    "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edNone",
    "edDateTimeEdit", "edValidChars", "edTrackbarDropDown", "edMemoDropDown", "edCalculatorDropDown",
    "edTimePickerDropDown", "edDetailDropDown", "edGridDropDown", "edColorPickerDropDown",
    "edImagePickerDropDown", "edExtGridDropDown", "edPositiveFloat", "edNumericUnitEditBtn",
    "edFloatUnitEditBtn", "edMaskEditBtn"};
constexpr const char* AlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr const char* VAlignmentNames[] = {"vtaTop", "vtaCenter", "vtaBottom"};
// The grid paints two brush styles; the hatched ones of older streams read as solid.
constexpr const char* BrushStyleNames[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                           "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
constexpr const char* GradientNames[] = {"GradientVertical", "GradientHorizontal"};
constexpr const char* CellVAlignNames[] = {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"};
constexpr const char* CellHAlignNames[] = {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"};
constexpr const char* CheckStateNames[] = {"cbUnchecked", "cbChecked", "cbGrayed"};

template <size_t N>
int IndexOfName(const char* const (&names)[N], const QByteArray& name)
{
    for (size_t i = 0; i < N; ++i)
        if (name == names[i])
            return int(i);
    return -1;
}

// ---- Values ----

enum TValueKind : uint8_t {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6, vaIdent = 7,
    vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaWString = 18, vaUTF8String = 20
};

constexpr char Signature[] = "TPF0";
constexpr int MaxPropsPerRecord = 64;
constexpr int MaxListItems = 65536;

struct TValue {
    TValueKind Kind = vaNull;
    int64_t Int = 0;
    double Float = 0;
    QString Text;                  // texts
    QByteArray Name;               // identifiers
    std::vector<QByteArray> Set;   // set members
    std::vector<uint8_t> Binary;   // binary blocks
    QStringList List;              // a list of texts
    bool IsInt() const { return Kind == vaInt8 || Kind == vaInt16 || Kind == vaInt32; }
    bool IsBool() const { return Kind == vaFalse || Kind == vaTrue; }
    bool IsText() const { return Kind == vaString || Kind == vaLString || Kind == vaWString || Kind == vaUTF8String; }
};

struct TProp {
    QByteArray Name;
    TValue Value;
};

struct TRecord {
    QByteArray ClassName;
    std::vector<TProp> Props;
};

[[noreturn]] void Refuse(const QString& why)
{
    throw EExtGridError(QStringLiteral("Invalid grid cell stream: %1").arg(why));
}

// -- Writing --

class TRecordWriter {
public:
    explicit TRecordWriter(platform::ByteWriter& w) : W(w) {}

    void Begin(const char* className)
    {
        W.Bytes(std::string_view(Signature, 4));
        ShortName(className);
        W.U8(0);  // object name
    }
    void End()
    {
        W.U8(0);
        W.U8(0);
    }
    void Int(const char* name, int64_t value)
    {
        ShortName(name);
        IntValue(value);
    }
    void Bool(const char* name, bool value)
    {
        ShortName(name);
        W.U8(value ? vaTrue : vaFalse);
    }
    void Text(const char* name, const QString& value)
    {
        if (value.isEmpty())
            return;
        ShortName(name);
        TextValue(value);
    }
    void Ident(const char* name, const char* ident)
    {
        ShortName(name);
        W.U8(vaIdent);
        ShortName(ident);
    }
    void Color(const char* name, TColor value)
    {
        for (const TNamedColor& c : ColorNames)
            if (c.Value == value) {
                Ident(name, c.Name);
                return;
            }
        Int(name, int32_t(value));
    }
    void Float(const char* name, double value)
    {
        if (value == 0)
            return;
        ShortName(name);
        W.U8(vaExtended);
        const auto bytes = DoubleToExtended(value);
        W.Bytes(std::span<const uint8_t>(bytes));
    }
    void Set(const char* name, uint8_t bits, const char* const* names, int count)
    {
        ShortName(name);
        W.U8(vaSet);
        for (int i = 0; i < count; ++i)
            if (bits & (1u << i))
                ShortName(names[i]);
        W.U8(0);
    }
    void Binary(const char* name, const QByteArray& data)
    {
        if (data.isEmpty())
            return;
        ShortName(name);
        W.U8(vaBinary);
        W.U32LE(uint32_t(data.size()));
        W.Bytes(std::span(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size())));
    }
    void List(const char* name, const QStringList& items)
    {
        if (items.isEmpty())
            return;
        ShortName(name);
        W.U8(vaList);
        for (const QString& s : items)
            TextValue(s);
        W.U8(0);
    }

private:
    void ShortName(const char* name)
    {
        const size_t n = std::min<size_t>(255, strlen(name));
        W.U8(uint8_t(n));
        W.Bytes(std::string_view(name, n));
    }
    void IntValue(int64_t v)
    {
        if (v >= -128 && v <= 127) {
            W.U8(vaInt8);
            W.U8(uint8_t(int8_t(v)));
        } else if (v >= -32768 && v <= 32767) {
            W.U8(vaInt16);
            W.U16LE(uint16_t(int16_t(v)));
        } else {
            W.U8(vaInt32);
            W.U32LE(uint32_t(int32_t(v)));
        }
    }
    void TextValue(const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        auto bytes = [&](const QByteArray& b) {
            W.Bytes(std::span(reinterpret_cast<const uint8_t*>(b.constData()), size_t(b.size())));
        };
        if (s.isEmpty() || utf8.size() >= 2 * s.size()) {
            W.U8(vaWString);
            W.U32LE(uint32_t(s.size()));
            for (QChar c : s)
                W.U16LE(c.unicode());
            return;
        }
        const bool high = std::any_of(utf8.begin(), utf8.end(), [](char c) { return uint8_t(c) >= 0x80; });
        if (high) {
            W.U8(vaUTF8String);
            W.U32LE(uint32_t(utf8.size()));
        } else if (utf8.size() >= 256) {
            W.U8(vaLString);
            W.U32LE(uint32_t(utf8.size()));
        } else {
            W.U8(vaString);
            W.U8(uint8_t(utf8.size()));
        }
        bytes(utf8);
    }

    platform::ByteWriter& W;
};

// -- Reading --

QByteArray ReadShortName(platform::ByteReader& r)
{
    const uint8_t n = r.U8();
    const auto bytes = r.Bytes(n);
    if (!r.Ok())
        Refuse(QStringLiteral("a name is cut short"));
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

QString ReadCountedText(platform::ByteReader& r, size_t length, bool utf16)
{
    const size_t bytes = utf16 ? length * 2 : length;
    if (length > r.Remaining() || bytes > r.Remaining())
        Refuse(QStringLiteral("a text is longer than the stream"));
    const auto span = r.Bytes(bytes);
    if (!utf16)
        return QString::fromUtf8(reinterpret_cast<const char*>(span.data()), qsizetype(span.size()));
    QString text(qsizetype(length), Qt::Uninitialized);
    for (size_t i = 0; i < length; ++i)
        text[qsizetype(i)] = QChar(char16_t(span[2 * i] | (span[2 * i + 1] << 8)));
    return text;
}

TValue ReadValue(platform::ByteReader& r, bool inList = false)
{
    TValue v;
    v.Kind = TValueKind(r.U8());
    if (!r.Ok())
        Refuse(QStringLiteral("a value is cut short"));
    switch (v.Kind) {
    case vaInt8: v.Int = int8_t(r.U8()); break;
    case vaInt16: v.Int = int16_t(r.U16LE()); break;
    case vaInt32: v.Int = int32_t(r.U32LE()); break;
    case vaExtended: {
        const auto bytes = r.Bytes(10);
        if (r.Ok())
            v.Float = ExtendedToDouble(std::span<const uint8_t, 10>(bytes.data(), 10));
        break;
    }
    case vaString: v.Text = ReadCountedText(r, r.U8(), false); break;
    case vaLString:
    case vaUTF8String: {
        const uint32_t n = r.U32LE();
        if (!r.Ok())
            Refuse(QStringLiteral("a text length is cut short"));
        v.Text = ReadCountedText(r, n, false);
        break;
    }
    case vaWString: {
        const uint32_t n = r.U32LE();
        if (!r.Ok())
            Refuse(QStringLiteral("a text length is cut short"));
        v.Text = ReadCountedText(r, n, true);
        break;
    }
    case vaIdent: v.Name = ReadShortName(r); break;
    case vaFalse:
    case vaTrue: break;
    case vaBinary: {
        const uint32_t n = r.U32LE();
        if (!r.Ok() || n > r.Remaining())
            Refuse(QStringLiteral("a binary block is longer than the stream"));
        const auto bytes = r.Bytes(n);
        v.Binary.assign(bytes.begin(), bytes.end());
        break;
    }
    case vaSet:
        for (;;) {
            QByteArray member = ReadShortName(r);
            if (member.isEmpty())
                break;
            if (v.Set.size() >= 32)
                Refuse(QStringLiteral("a set has too many members"));
            v.Set.push_back(std::move(member));
        }
        break;
    case vaList:
        if (inList)
            Refuse(QStringLiteral("lists are nested"));
        for (;;) {
            if (r.Peek() == vaNull && r.Remaining() > 0) {
                r.U8();
                break;
            }
            const TValue item = ReadValue(r, true);
            if (!item.IsText())
                Refuse(QStringLiteral("a list holds something other than texts"));
            if (v.List.size() >= MaxListItems)
                Refuse(QStringLiteral("a list is too long"));
            v.List << item.Text;
        }
        break;
    default: Refuse(QStringLiteral("unknown value kind %1").arg(int(v.Kind)));
    }
    if (!r.Ok())
        Refuse(QStringLiteral("a value is cut short"));
    return v;
}

bool StartsRecord(const platform::ByteReader& r)
{
    return r.Remaining() >= 4 && r.Peek(0) == 'T' && r.Peek(1) == 'P' && r.Peek(2) == 'F' && r.Peek(3) == '0';
}

TRecord ReadRecord(platform::ByteReader& r)
{
    if (!StartsRecord(r))
        Refuse(QStringLiteral("a record does not start with TPF0"));
    r.Skip(4);
    TRecord rec;
    rec.ClassName = ReadShortName(r);
    ReadShortName(r);  // object name
    for (;;) {
        const QByteArray name = ReadShortName(r);
        if (name.isEmpty())
            break;
        if (int(rec.Props.size()) >= MaxPropsPerRecord)
            Refuse(QStringLiteral("a record has too many properties"));
        rec.Props.push_back({name, ReadValue(r)});
    }
    if (r.U8() != 0 || !r.Ok())
        Refuse(QStringLiteral("a record holds child records"));
    return rec;
}

// -- Typed access to a property value; a value of the wrong kind refuses the stream --

[[noreturn]] void WrongValue(const QByteArray& name)
{
    Refuse(QStringLiteral("property %1 has a value of the wrong kind").arg(QString::fromLatin1(name)));
}

int AsInt(const TProp& p)
{
    if (!p.Value.IsInt())
        WrongValue(p.Name);
    return int(p.Value.Int);
}

bool AsBool(const TProp& p)
{
    if (!p.Value.IsBool())
        WrongValue(p.Name);
    return p.Value.Kind == vaTrue;
}

QString AsText(const TProp& p)
{
    if (!p.Value.IsText())
        WrongValue(p.Name);
    return p.Value.Text;
}

double AsFloat(const TProp& p)
{
    if (p.Value.Kind == vaExtended)
        return p.Value.Float;
    return double(AsInt(p));
}

template <size_t N>
int AsEnum(const TProp& p, const char* const (&names)[N])
{
    if (p.Value.Kind != vaIdent)
        WrongValue(p.Name);
    const int i = IndexOfName(names, p.Value.Name);
    if (i < 0)
        Refuse(QStringLiteral("property %1 names the unknown value %2")
                   .arg(QString::fromLatin1(p.Name), QString::fromLatin1(p.Value.Name)));
    return i;
}

TColor AsColor(const TProp& p)
{
    if (p.Value.IsInt())
        return TColor(uint32_t(int32_t(p.Value.Int)));
    if (p.Value.Kind != vaIdent)
        WrongValue(p.Name);
    for (const TNamedColor& c : ColorNames)
        if (p.Value.Name == c.Name)
            return c.Value;
    Refuse(QStringLiteral("unknown colour %1").arg(QString::fromLatin1(p.Value.Name)));
}

[[noreturn]] void UnknownProp(const TRecord& rec, const TProp& p)
{
    Refuse(QStringLiteral("%1 has no property %2").arg(QString::fromLatin1(rec.ClassName), QString::fromLatin1(p.Name)));
}

// A property common to every record.
bool CommonProp(const TProp& p)
{
    if (p.Name != "Tag")
        return false;
    AsInt(p);
    return true;
}

// ---- Records of the format ----

void WriteHeader(TRecordWriter& w, const TBinHeader& h)
{
    w.Begin("TGridPropIO");
    w.Int("ColCount", h.ColCount);
    w.Int("RowCount", h.RowCount);
    w.Text("ColWidths", h.ColWidths);
    w.Text("RowHeights", h.RowHeights);
    w.Bool("FullGrid", h.FullGrid);
    w.Int("ID", h.ID);
    w.End();
}

TBinHeader HeaderOf(const TRecord& rec)
{
    if (rec.ClassName != "TGridPropIO")
        Refuse(QStringLiteral("the stream does not start with its header"));
    TBinHeader h;
    for (const TProp& p : rec.Props) {
        if (p.Name == "ColCount")
            h.ColCount = AsInt(p);
        else if (p.Name == "RowCount")
            h.RowCount = AsInt(p);
        else if (p.Name == "ColWidths")
            h.ColWidths = AsText(p);
        else if (p.Name == "RowHeights")
            h.RowHeights = AsText(p);
        else if (p.Name == "FullGrid")
            h.FullGrid = AsBool(p);
        else if (p.Name == "ID")
            h.ID = AsInt(p);
        else if (!CommonProp(p))
            UnknownProp(rec, p);
    }
    if (h.ColCount < 1 || h.ColCount > MaxBinCols || h.RowCount < 1 || h.RowCount > MaxBinRows)
        Refuse(QStringLiteral("the header asks for %1 columns and %2 rows").arg(h.ColCount).arg(h.RowCount));
    return h;
}

// The sizes of a full-grid header: exactly as many strict numbers as needed, each a plausible size.
std::vector<int> SizeList(const QString& text, int count, const char* what)
{
    const QStringList items = text.split(QLatin1Char(','));
    if (items.size() < count)
        Refuse(QStringLiteral("the %1 list has fewer entries than the header's count").arg(QLatin1String(what)));
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        bool ok = false;
        const int v = items[i].toInt(&ok);
        if (!ok || v < 0 || v > 32767)
            Refuse(QStringLiteral("the %1 list holds \"%2\"").arg(QLatin1String(what), items[i].left(20)));
        sizes.push_back(v);
    }
    return sizes;
}

// The cell-properties fields the format carries, read over an existing object.
void WriteCellProps(TRecordWriter& w, const TCellProperties& p, bool hasGraphic)
{
    w.Begin("TGridCellPropIO");
    w.Bool("CellProperties.IsBaseCell", p.IsBaseCell);
    w.Int("CellProperties.CellSpanX", p.CellSpanX);
    w.Int("CellProperties.CellSpanY", p.CellSpanY);
    w.Ident("CellProperties.Alignment", AlignmentNames[p.Alignment]);
    w.Color("CellProperties.BorderColor", p.BorderColor);
    w.Int("CellProperties.BorderWidth", p.BorderWidth);
    w.Color("CellProperties.BrushColor", p.BrushColor());
    w.Color("CellProperties.BrushColorTo", p.BrushColorTo());
    w.Ident("CellProperties.BrushStyle", BrushStyleNames[p.BrushStyle]);
    // An object reference means nothing outside this process; 0 keeps the field's place.
    w.Int("CellProperties.CellObject", 0);
    w.Color("CellProperties.FontColor", p.FontColor);
    w.Text("CellProperties.FontName", p.FontName);
    w.Int("CellProperties.FontSize", p.FontSize);
    w.Set("CellProperties.FontStyle", p.FontStyle, FontStyleNames, 4);
    w.Ident("CellProperties.Editor", EditorNames[p.Editor]);
    w.Ident("CellProperties.GradientDirection", GradientNames[p.GradientDirection]);
    w.Bool("CellProperties.ReadOnly", p.ReadOnly);
    w.Ident("CellProperties.VAlignment", VAlignmentNames[p.VAlignment()]);
    w.Bool("CellProperties.WordWrap", p.WordWrap());
    w.Int("CellProperties.NodeLevel", p.NodeLevel);
    w.Bool("HasGraphic", hasGraphic);
    w.End();
}

// Applies a cell-properties record; answers HasGraphic. Runs once on a scratch object while the
// stream is checked, so that it cannot fail when it runs on the grid's.
bool ApplyCellProps(const TRecord& rec, TCellProperties& p)
{
    if (rec.ClassName != "TGridCellPropIO")
        Refuse(QStringLiteral("a cell's properties are missing"));
    bool hasGraphic = false;
    static const QByteArray prefix("CellProperties.");
    for (const TProp& prop : rec.Props) {
        if (prop.Name == "HasGraphic") {
            hasGraphic = AsBool(prop);
            continue;
        }
        if (CommonProp(prop))
            continue;
        if (!prop.Name.startsWith(prefix))
            UnknownProp(rec, prop);
        const QByteArray n = prop.Name.mid(prefix.size());
        if (n == "IsBaseCell")
            p.IsBaseCell = AsBool(prop);
        else if (n == "CellSpanX")
            p.CellSpanX = std::clamp(AsInt(prop), -1, MaxBinCols);
        else if (n == "CellSpanY")
            p.CellSpanY = std::clamp(AsInt(prop), -1, MaxBinRows);
        else if (n == "Alignment")
            p.Alignment = TAlignment(AsEnum(prop, AlignmentNames));
        else if (n == "BorderColor")
            p.BorderColor = AsColor(prop);
        else if (n == "BorderWidth")
            p.BorderWidth = std::clamp(AsInt(prop), 0, 255);
        else if (n == "BrushColor")
            p.Init(AsColor(prop), p.BrushColorTo(), p.VAlignment(), p.WordWrap());
        else if (n == "BrushColorTo")
            p.Init(p.BrushColor(), AsColor(prop), p.VAlignment(), p.WordWrap());
        else if (n == "BrushStyle")
            p.BrushStyle = AsEnum(prop, BrushStyleNames) == bsClear ? bsClear : bsSolid;
        else if (n == "CellObject")
            AsInt(prop);  // a reference from another process is never followed
        else if (n == "FontColor")
            p.FontColor = AsColor(prop);
        else if (n == "FontName")
            p.FontName = AsText(prop).left(255);
        else if (n == "FontSize")
            p.FontSize = std::clamp(AsInt(prop), -1000, 1000);
        else if (n == "FontStyle") {
            if (prop.Value.Kind != vaSet)
                WrongValue(prop.Name);
            uint8_t bits = 0;
            for (const QByteArray& m : prop.Value.Set) {
                const int i = IndexOfName(FontStyleNames, m);
                if (i < 0)
                    Refuse(QStringLiteral("unknown font style %1").arg(QString::fromLatin1(m)));
                bits |= uint8_t(1u << i);
            }
            p.FontStyle = bits;
        } else if (n == "Editor")
            p.Editor = TEditorType(AsEnum(prop, EditorNames));
        else if (n == "GradientDirection")
            p.GradientDirection = TCellGradientDirection(AsEnum(prop, GradientNames));
        else if (n == "ReadOnly")
            p.ReadOnly = AsBool(prop);
        else if (n == "VAlignment")
            p.Init(p.BrushColor(), p.BrushColorTo(), TVAlignment(AsEnum(prop, VAlignmentNames)), p.WordWrap());
        else if (n == "WordWrap")
            p.Init(p.BrushColor(), p.BrushColorTo(), p.VAlignment(), AsBool(prop));
        else if (n == "NodeLevel")
            p.NodeLevel = std::clamp(AsInt(prop), 0, MaxBinRows);
        else if (n == "Control") {
            if (prop.Value.Kind != vaIdent)
                WrongValue(prop.Name);  // in-cell controls are not carried between grids
        } else
            UnknownProp(rec, prop);
    }
    return hasGraphic;
}

void WriteGraphic(TRecordWriter& w, const TCellGraphic& g)
{
    w.Begin("TGridGraphicIO");
    w.Ident("CellGraphic.CellType", CellTypeNames[g.CellType]);
    w.Ident("CellGraphic.CellVAlign", CellVAlignNames[g.CellVAlign]);
    w.Ident("CellGraphic.CellHAlign", CellHAlignNames[g.CellHAlign]);
    w.Int("CellGraphic.CellIndex", g.CellIndex);
    w.Bool("CellGraphic.CellTransparent", g.CellTransparent);
    w.Bool("CellGraphic.CellCreated", g.CellCreated);
    w.Bool("CellGraphic.CellBoolean", g.CellBoolean);
    w.Ident("CellGraphic.CellCheckBoxState", CheckStateNames[g.CellCheckBoxState]);
    w.Int("CellGraphic.CellAngle", g.CellAngle);
    w.Float("CellGraphic.CellValue", g.CellValue);
    w.Int("CellGraphic.CellErrFrom", g.CellErrFrom);
    w.Int("CellGraphic.CellErrLen", g.CellErrLen);
    w.Text("CellGraphic.CellText", g.CellText);
    w.End();
}

void ApplyGraphic(const TRecord& rec, TCellGraphic& g)
{
    if (rec.ClassName != "TGridGraphicIO")
        Refuse(QStringLiteral("a cell's graphic is missing"));
    static const QByteArray prefix("CellGraphic.");
    for (const TProp& prop : rec.Props) {
        if (CommonProp(prop))
            continue;
        if (!prop.Name.startsWith(prefix))
            UnknownProp(rec, prop);
        const QByteArray n = prop.Name.mid(prefix.size());
        if (n == "CellType")
            g.CellType = TCellType(AsEnum(prop, CellTypeNames));
        else if (n == "CellVAlign")
            g.CellVAlign = TCellVAlign(AsEnum(prop, CellVAlignNames));
        else if (n == "CellHAlign")
            g.CellHAlign = TCellHAlign(AsEnum(prop, CellHAlignNames));
        else if (n == "CellIndex")
            g.CellIndex = AsInt(prop);
        else if (n == "CellTransparent")
            g.CellTransparent = AsBool(prop);
        else if (n == "CellCreated")
            AsBool(prop);  // the reader makes its own payload objects
        else if (n == "CellBoolean")
            g.CellBoolean = AsBool(prop);
        else if (n == "CellCheckBoxState")
            g.CellCheckBoxState = TCheckBoxState(AsEnum(prop, CheckStateNames));
        else if (n == "CellAngle")
            g.CellAngle = AsInt(prop);
        else if (n == "CellValue") {
            const double v = AsFloat(prop);
            g.CellValue = std::isfinite(v) ? v : 0;
        } else if (n == "CellErrFrom")
            g.CellErrFrom = AsInt(prop);
        else if (n == "CellErrLen")
            g.CellErrLen = AsInt(prop);
        else if (n == "CellText")
            g.CellText = AsText(prop);
        else
            UnknownProp(rec, prop);
    }
}

// ---- Payloads ----

enum class TPayload { None, Bitmap, Icon, Picture, FilePicture, Strings };

TPayload PayloadOf(TCellType t)
{
    switch (t) {
    case ctBitmap:
    case ctBitButton: return TPayload::Bitmap;
    case ctIcon: return TPayload::Icon;
    case ctPicture: return TPayload::Picture;
    case ctFilePicture: return TPayload::FilePicture;
    case ctRadio:
    case ctImages: return TPayload::Strings;
    default: return TPayload::None;
    }
}

QByteArray ImageFile(const QImage& image, const char* format)
{
    QByteArray out;
    if (image.isNull())
        return out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return {};
    return out;
}

QByteArray Counted(const QByteArray& data)
{
    if (data.isEmpty())
        return data;
    QByteArray out(4, '\0');
    const uint32_t n = uint32_t(data.size());
    for (int i = 0; i < 4; ++i)
        out[i] = char((n >> (8 * i)) & 0xFF);
    return out + data;
}

// A picture from bytes of a graphic file; bounded by the reader's own limits on size.
QImage DecodeImage(std::span<const uint8_t> bytes)
{
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(64);  // megabytes
    QImage image = reader.read();
    if (image.isNull())
        Refuse(QStringLiteral("a picture cannot be read"));
    return image;
}

// The graphic's own stream after a 4-byte count, or the block itself.
std::span<const uint8_t> AfterCount(std::span<const uint8_t> block)
{
    platform::ByteReader r(block);
    const uint32_t n = r.U32LE();
    if (!r.Ok() || n != r.Remaining())
        Refuse(QStringLiteral("a picture's size does not match its block"));
    return block.subspan(4);
}

const TGridBitmap* BitmapOf(const TCellGraphic& g)
{
    return dynamic_cast<const TGridBitmap*>(g.CellType == ctIcon ? g.CellIcon : g.CellBitmap);
}

void WritePayload(TRecordWriter& w, const TCellGraphic& g)
{
    const TGridBitmap* bitmap = BitmapOf(g);
    const QImage image = bitmap ? bitmap->Image : QImage();
    switch (PayloadOf(g.CellType)) {
    case TPayload::None: return;
    case TPayload::Bitmap:
        w.Begin("TGridBMPIO");
        w.Binary("Bitmap.Data", Counted(ImageFile(image, "bmp")));
        break;
    case TPayload::Icon:
        w.Begin("TGridIconIO");
        w.Binary("Icon.Data", ImageFile(image, "ico"));
        break;
    case TPayload::Picture: {
        w.Begin("TGridPicIO");
        const QByteArray file = Counted(ImageFile(image, "bmp"));
        w.Binary("Picture.Data", file.isEmpty() ? file : QByteArray("\x07TBitmap", 8) + file);
        break;
    }
    case TPayload::FilePicture: {
        w.Begin("TGridFilePicIO");
        const auto* file = dynamic_cast<const TFilePicture*>(g.CellBitmap);
        w.Text("Picture.Filename", file ? file->Filename() : QString());
        break;
    }
    case TPayload::Strings: {
        w.Begin("TGridSLIO");
        QStringList items;
        if (g.CellType == ctRadio && g.RadioItems)
            items = *g.RadioItems;
        if (g.CellType == ctImages)
            if (TIntList* list = const_cast<TCellGraphic&>(g).Images())
                for (int v : list->Values())
                    items << QString::number(v);
        w.List("Strings.Strings", items);
        break;
    }
    }
    w.End();
}

struct TPayloadData {
    TPayload Kind = TPayload::None;
    QImage Image;
    QString FileName;
    QStringList Strings;
    std::vector<int> Indexes;
};

TPayloadData ReadPayload(const TRecord& rec, TCellType type)
{
    TPayloadData d;
    d.Kind = PayloadOf(type);
    static const char* const classes[] = {"", "TGridBMPIO", "TGridIconIO", "TGridPicIO", "TGridFilePicIO", "TGridSLIO"};
    if (rec.ClassName != classes[int(d.Kind)])
        Refuse(QStringLiteral("a cell graphic's payload is missing"));
    for (const TProp& p : rec.Props) {
        if (CommonProp(p))
            continue;
        const bool binary = p.Value.Kind == vaBinary;
        if (d.Kind == TPayload::Bitmap && p.Name == "Bitmap.Data" && binary)
            d.Image = DecodeImage(AfterCount(p.Value.Binary));
        else if (d.Kind == TPayload::Icon && p.Name == "Icon.Data" && binary)
            d.Image = DecodeImage(p.Value.Binary);
        else if (d.Kind == TPayload::Picture && p.Name == "Picture.Data" && binary) {
            platform::ByteReader r(p.Value.Binary);
            const QByteArray graphicClass = ReadShortName(r);
            const auto rest = r.Bytes(r.Remaining());
            const bool counted = graphicClass == "TBitmap" || graphicClass == "TJPEGImage";
            d.Image = DecodeImage(counted ? AfterCount(rest) : rest);
        } else if (d.Kind == TPayload::FilePicture && p.Name == "Picture.Filename")
            d.FileName = AsText(p);
        else if (d.Kind == TPayload::Strings && p.Name == "Strings.Strings" && p.Value.Kind == vaList) {
            d.Strings = p.Value.List;
            if (type == ctImages)
                for (const QString& s : d.Strings) {
                    bool ok = false;
                    const int v = s.toInt(&ok);
                    if (!ok)
                        Refuse(QStringLiteral("an image index is no number"));
                    d.Indexes.push_back(v);
                }
        } else
            UnknownProp(rec, p);
    }
    return d;
}

// ---- One cell as read ----

struct TStagedCell {
    int Col = 0, Row = 0;
    QString Text;
    bool HasGraphic = false;
    TPayloadData Payload;
};

struct TCellRecordValues {
    int Col = 0, Row = 0;
    QString Text;
    bool HasProp = false;
};

TCellRecordValues CellOf(const TRecord& rec)
{
    if (rec.ClassName != "TGridCellIO")
        Refuse(QStringLiteral("a cell record was expected"));
    TCellRecordValues v;
    for (const TProp& p : rec.Props) {
        if (p.Name == "Col")
            v.Col = AsInt(p);
        else if (p.Name == "Row")
            v.Row = AsInt(p);
        else if (p.Name == "Cell")
            v.Text = AsText(p);
        else if (p.Name == "HasProp")
            v.HasProp = AsBool(p);
        else if (!CommonProp(p))
            UnknownProp(rec, p);
    }
    if (v.Col < 0 || v.Col > 0xFFFF || v.Row < 0 || v.Row > 0xFFFF)
        Refuse(QStringLiteral("a cell index does not fit 16 bits"));
    return v;
}

void AttachPayload(TExtStringGrid& grid, TCellGraphic& g, int realCol, int row, const TPayloadData& d)
{
    switch (d.Kind) {
    case TPayload::None: break;
    case TPayload::Bitmap:
    case TPayload::Picture:
        if (!d.Image.isNull())
            g.CellBitmap = g.Own(std::make_unique<TGridBitmap>(d.Image));
        break;
    case TPayload::Icon:
        if (!d.Image.isNull())
            g.CellIcon = g.Own(std::make_unique<TGridBitmap>(d.Image));
        break;
    case TPayload::FilePicture: {
        auto file = std::make_unique<TFilePicture>();
        if (!d.FileName.isEmpty()) {
            try {
                file->SetFilename(d.FileName);
            } catch (const EExtGridError&) {
                // A picture file that is gone leaves the cell without its picture.
            }
        }
        g.CellBitmap = g.Own(std::move(file));
        break;
    }
    case TPayload::Strings:
        if (g.CellType == ctRadio) {
            QStringList* items = g.CreateStrings();
            *items = d.Strings;
            g.RadioItems = items;
            g.CellCreated = true;
        } else {
            const TCellType type = g.CellType;
            const TCellHAlign hal = g.CellHAlign;
            const TCellVAlign val = g.CellVAlign;
            const int dir = g.CellIndex;
            g.SetMultiImage(realCol, row, dir, hal, val,
                            [&grid](TIntList*, int col, int r) { grid.RepaintCell(grid.RealToDisplCol(col), r); });
            g.CellType = type;
            for (int v : d.Indexes)
                g.Images()->Insert(g.Images()->Count(), v);
        }
        break;
    }
}

}  // namespace

// ---- 80-bit extended ----

std::array<uint8_t, 10> DoubleToExtended(double value)
{
    std::array<uint8_t, 10> out{};
    uint16_t signExp = std::signbit(value) ? 0x8000 : 0;
    uint64_t mantissa = 0;
    const double a = std::fabs(value);
    if (std::isnan(value)) {
        signExp |= 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        signExp |= 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (a != 0) {
        int exp = 0;
        const double frac = std::frexp(a, &exp);  // a = frac * 2^exp, frac in [0.5, 1)
        // The significand's integer bit stands for 2^(exp - 1); a double's 53 bits fit in 64.
        mantissa = uint64_t(std::ldexp(frac, 64));
        signExp |= uint16_t(exp - 1 + 16383);
    }
    for (int i = 0; i < 8; ++i)
        out[size_t(i)] = uint8_t(mantissa >> (8 * i));
    out[8] = uint8_t(signExp & 0xFF);
    out[9] = uint8_t(signExp >> 8);
    return out;
}

double ExtendedToDouble(std::span<const uint8_t, 10> b)
{
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | b[size_t(i)];
    const int signExp = b[8] | (b[9] << 8);
    const bool negative = signExp & 0x8000;
    const int exp = signExp & 0x7FFF;
    double v;
    if (exp == 0x7FFF)
        v = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    else if (exp == 0 && mantissa == 0)
        v = 0;
    else  // ldexp rounds to the nearest double, flushing to 0 or infinity outside the range
        v = std::ldexp(double(mantissa), (exp == 0 ? 1 : exp) - 16383 - 63);
    return negative ? -v : v;
}

int GridStreamID(const TExtStringGrid& grid)
{
    // A number that tells grids of this process apart without showing where one lives.
    static const size_t seed = size_t(QRandomGenerator::system()->generate64());
    return int(qHash(quintptr(&grid), seed) & 0x7FFFFFFF);
}

// ---- Writing ----

std::vector<uint8_t> SaveRectToBinStream(TExtStringGrid& grid, const TGridRect& rect)
{
    const int left = std::max(0, std::min(rect.Left, rect.Right));
    const int top = std::max(0, std::min(rect.Top, rect.Bottom));
    const int right = std::min({grid.ColCount() - 1, std::max(rect.Left, rect.Right), left + MaxBinCols - 1, 0xFFFF});
    const int bottom = std::min({grid.RowCount() - 1, std::max(rect.Top, rect.Bottom), top + MaxBinRows - 1, 0xFFFF});
    platform::ByteWriter out;
    if (right < left || bottom < top)
        return {};
    TRecordWriter w(out);
    TBinHeader h;
    h.ColCount = right - left + 1;
    h.RowCount = bottom - top + 1;
    h.FullGrid = grid.SaveFixedCells
                     ? h.RowCount == grid.RowCount() && h.ColCount == grid.ColCount()
                     : h.RowCount == grid.RowCount() - grid.FixedRows() && h.ColCount == grid.ColCount() - grid.FixedCols();
    h.ID = GridStreamID(grid);
    QStringList widths, heights;
    for (int c = left; c <= right; ++c)
        widths << QString::number(grid.ColWidths(c));
    for (int r = top; r <= bottom; ++r)
        heights << QString::number(grid.RowHeights(r));
    h.ColWidths = widths.join(QLatin1Char(','));
    h.RowHeights = heights.join(QLatin1Char(','));
    WriteHeader(w, h);
    grid.ExportNotification(esExportStart, top);
    for (int r = top; r <= bottom; ++r) {
        grid.ExportNotification(esExportNextRow, r);
        for (int c = left; c <= right; ++c) {
            const int realCol = grid.DisplToRealCol(c);
            const TCellProperties* props = grid.CellProps(realCol, r);
            w.Begin("TGridCellIO");
            w.Int("Col", c);
            w.Int("Row", r);
            w.Text("Cell", grid.GetCellEx(realCol, r));
            w.Bool("HasProp", props != nullptr);
            w.End();
            if (!props)
                continue;
            const TCellGraphic* g = props->Graphic.get();
            bool hasGraphic = g != nullptr;
            if (g && g->CellType == ctEmpty)
                hasGraphic = false;
            else if (g && PayloadOf(g->CellType) != TPayload::None)
                hasGraphic = g->CellCreated;
            WriteCellProps(w, *props, hasGraphic);
            if (!hasGraphic)
                continue;
            WriteGraphic(w, *g);
            WritePayload(w, *g);
        }
    }
    grid.ExportNotification(esExportDone, -1);
    return out.Take();
}

std::vector<uint8_t> SaveToBinStream(TExtStringGrid& grid)
{
    return SaveRectToBinStream(grid, {grid.SaveStartCol(), grid.SaveStartRow(), grid.SaveEndCol(), grid.SaveEndRow()});
}

void SaveToBinFile(TExtStringGrid& grid, const QString& fileName)
{
    const std::vector<uint8_t> bytes = SaveToBinStream(grid);
    try {
        platform::WriteFileAtomic(fileName, QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    } catch (const platform::Exception& e) {
        throw EExtGridError(e.message());
    }
}

// ---- Reading ----

bool ReadBinHeader(std::span<const uint8_t> stream, TBinHeader& header)
{
    try {
        platform::ByteReader r(stream);
        header = HeaderOf(ReadRecord(r));
        return true;
    } catch (const EExtGridError&) {
        return false;
    }
}

TBinHeader LoadAtPointFromBinStream(TExtStringGrid& grid, int col, int row, std::span<const uint8_t> stream,
                                    const std::function<void(const TBinHeader&)>& beforePlacing,
                                    const TBinCellFilter& accept)
{
    platform::ByteReader r(stream);
    const TBinHeader h = HeaderOf(ReadRecord(r));
    std::vector<int> widths, heights;
    if (h.FullGrid) {
        widths = SizeList(h.ColWidths, h.ColCount, "column width");
        heights = SizeList(h.RowHeights, h.RowCount, "row height");
    }
    // Every record is read and checked before anything of the grid changes.
    std::vector<TRecord> records;
    std::vector<TStagedCell> cells;
    const size_t maxCells = size_t(h.ColCount) * size_t(h.RowCount);
    int baseCol = 0, baseRow = 0;
    std::vector<std::pair<size_t, size_t>> propIndexes;  // per cell: first record index, count
    while (r.Remaining() >= 2 && StartsRecord(r)) {
        if (cells.size() >= maxCells)
            Refuse(QStringLiteral("more cells than the header's rectangle holds"));
        const TCellRecordValues v = CellOf(ReadRecord(r));
        if (cells.empty() && !h.FullGrid) {
            baseCol = v.Col;
            baseRow = v.Row;
        }
        const int dc = v.Col - baseCol, dr = v.Row - baseRow;
        if (dc < 0 || dc >= h.ColCount || dr < 0 || dr >= h.RowCount)
            Refuse(QStringLiteral("cell (%1, %2) lies outside the stream's rectangle").arg(v.Col).arg(v.Row));
        TStagedCell cell;
        cell.Col = dc;
        cell.Row = dr;
        cell.Text = v.Text;
        const size_t first = records.size();
        if (v.HasProp) {
            records.push_back(ReadRecord(r));
            TCellProperties scratch(nullptr, 0, 0);
            cell.HasGraphic = ApplyCellProps(records.back(), scratch);
            if (cell.HasGraphic) {
                records.push_back(ReadRecord(r));
                TCellGraphic g;
                ApplyGraphic(records.back(), g);
                if (PayloadOf(g.CellType) != TPayload::None)
                    cell.Payload = ReadPayload(ReadRecord(r), g.CellType);
            }
        }
        propIndexes.emplace_back(first, records.size() - first);
        cells.push_back(std::move(cell));
    }

    // Placing: nothing below can refuse.
    editing::TUndoGroup group(grid);
    if (beforePlacing)
        beforePlacing(h);
    if (h.FullGrid) {
        grid.Clear();
        grid.SetRowCount(h.RowCount);
        grid.SetColCount(h.ColCount);
        for (int c = 0; c < h.ColCount; ++c)
            grid.SetColWidths(c, widths[size_t(c)]);
        for (int rr = 0; rr < h.RowCount; ++rr)
            grid.SetRowHeights(rr, heights[size_t(rr)]);
    }
    for (size_t i = 0; i < cells.size(); ++i) {
        const TStagedCell& cell = cells[i];
        const int tc = col + cell.Col, tr = row + cell.Row;
        if (tc < 0 || tr < 0 || tc >= grid.ColCount() || tr >= grid.RowCount())
            continue;
        QString text = cell.Text;
        if (accept && !accept(tc, tr, text))
            continue;
        const int realCol = grid.DisplToRealCol(tc);
        const QString old = grid.GetCellEx(realCol, tr);
        grid.SetCellEx(realCol, tr, text);
        editing::ReportCellChange(grid, realCol, tr, old);
        const auto [first, count] = propIndexes[i];
        if (count == 0)
            continue;
        TCellProperties* props = grid.GetCellProperties(realCol, tr);
        if (!props)
            continue;
        ApplyCellProps(records[first], *props);
        props->OwnerCol = realCol;
        props->OwnerRow = tr;
        if (cell.HasGraphic && count > 1) {
            if (TCellGraphic* g = grid.CreateCellGraphic(realCol, tr)) {
                ApplyGraphic(records[first + 1], *g);
                AttachPayload(grid, *g, realCol, tr, cell.Payload);
            }
        }
    }
    grid.Invalidate();
    return h;
}

void LoadFromBinStream(TExtStringGrid& grid, std::span<const uint8_t> stream)
{
    LoadAtPointFromBinStream(grid, 0, 0, stream);
}

void LoadFromBinFile(TExtStringGrid& grid, const QString& fileName)
{
    QByteArray bytes;
    try {
        bytes = platform::ReadWholeFile(fileName);
    } catch (const platform::Exception& e) {
        throw EExtGridError(e.message());
    }
    LoadFromBinStream(grid, std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
}

}  // namespace grid::dataops

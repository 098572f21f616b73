#include "controls/common/EsgHTMLE.h"

#include <QApplication>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QStyle>
#include <optional>
#include <vector>

#include "controls/common/ExtXPVS.h"
#include "controls/common/PictureContainer.h"
#include "platform/FrameControl.h"
#include "platform/TImageList.h"

namespace controls {

using platform::clNone;
using platform::TCanvas;
using platform::TFont;

namespace {

// ---- Entities ----

struct TEntity {
    char16_t Char;
    const char* Name;
};

// The named entities in their fixed order.
constexpr TEntity NamedEntities[] = {
    {u'\u00E9', "&eacute;"}, {u'\u00E8', "&egrave;"}, {u'\u00EB', "&euml;"},   {u'\u00EA', "&ecirc;"},
    {u'\u00F3', "&oacute;"}, {u'\u00F2', "&ograve;"}, {u'\u00F6', "&ouml;"},   {u'\u00F4', "&ocirc;"},
    {u'\u00ED', "&iacute;"}, {u'\u00EC', "&igrave;"}, {u'\u00EF', "&iuml;"},   {u'\u00EE', "&icirc;"},
    {u'\u00FA', "&uacute;"}, {u'\u00F9', "&ugrave;"}, {u'\u00FC', "&uuml;"},   {u'\u00FB', "&ucirc;"},
    {u'\u00E1', "&aacute;"}, {u'\u00E0', "&agrave;"}, {u'\u00E4', "&auml;"},   {u'\u00E2', "&acirc;"},
    {u'\u00C9', "&Eacute;"}, {u'\u00C8', "&Egrave;"}, {u'\u00CB', "&Euml;"},   {u'\u00CA', "&Ecirc;"},
    {u'\u00D3', "&Oacute;"}, {u'\u00D2', "&Ograve;"}, {u'\u00D6', "&Ouml;"},   {u'\u00D4', "&Ocirc;"},
    {u'\u00CD', "&Iacute;"}, {u'\u00CC', "&Igrave;"}, {u'\u00CF', "&Iuml;"},   {u'\u00CE', "&Icirc;"},
    {u'\u00DA', "&Uacute;"}, {u'\u00D9', "&Ugrave;"}, {u'\u00DC', "&Uuml;"},   {u'\u00DB', "&Ucirc;"},
    {u'\u00C1', "&Aacute;"}, {u'\u00C0', "&Agrave;"}, {u'\u00C4', "&Auml;"},   {u'\u00C2', "&Acirc;"},
    {u'\u00E7', "&ccedil;"}, {u'\u00C7', "&Ccedil;"}, {u'\u00F8', "&oslash;"}, {u'\u00D8', "&Oslash;"},
    {u'\u00E5', "&aring;"},  {u'\u00C5', "&Aring;"},  {u'\u00A9', "&copy;"},   {u'\u00AE', "&reg;"},
    {u'\u20AC', "&euro;"},   {u'\u00AB', "&laquo;"},  {u'\u00BB', "&raquo;"},  {u'\u00E3', "&atilde;"},
    {u'\u00C3', "&Atilde;"}, {u'\u00F5', "&otilde;"}, {u'\u00D5', "&Otilde;"},
};

// Replaces the first occurrence (letters compared without case) for as long as the searched
// text is present as written. Only used where the replacement is shorter, so it ends.
void ReplaceLoop(QString& s, const QString& from, const QString& to)
{
    while (s.contains(from, Qt::CaseSensitive)) {
        const qsizetype at = s.indexOf(from, 0, Qt::CaseInsensitive);
        s.replace(at, from.size(), to);
    }
}

// ---- Tags and attributes ----

struct TAttribute {
    QString Name;  // upper case
    QString Value;
    bool Quoted = false;
};

// The attributes of a tag (with its "<" and ">"), after the tag's name. Names are letters; a
// quoted value runs to the next double quote, an unquoted one to the next blank or ">". Reading
// them in order keeps a name inside another attribute's value from being taken for an attribute.
std::vector<TAttribute> ParseAttributes(const QString& tag)
{
    std::vector<TAttribute> attrs;
    qsizetype i = tag.startsWith(QLatin1String("</")) ? 2 : 1;
    while (i < tag.size() && tag[i].isLetter())
        ++i;
    const qsizetype end = tag.endsWith(QLatin1Char('>')) ? tag.size() - 1 : tag.size();
    while (i < end) {
        if (!tag[i].isLetter()) {
            if (tag[i] == QLatin1Char('"')) {
                const qsizetype close = tag.indexOf(QLatin1Char('"'), i + 1);
                i = close < 0 ? end : close + 1;
            } else {
                ++i;
            }
            continue;
        }
        const qsizetype start = i;
        while (i < end && (tag[i].isLetterOrNumber() || tag[i] == QLatin1Char('-') || tag[i] == QLatin1Char('_')))
            ++i;
        TAttribute a;
        a.Name = tag.mid(start, i - start).toUpper();
        qsizetype j = i;
        while (j < end && tag[j] == QLatin1Char(' '))
            ++j;
        if (j < end && tag[j] == QLatin1Char('=')) {
            ++j;
            while (j < end && tag[j] == QLatin1Char(' '))
                ++j;
            if (j < end && tag[j] == QLatin1Char('"')) {
                const qsizetype close = tag.indexOf(QLatin1Char('"'), j + 1);
                const qsizetype stop = close < 0 ? end : close;
                a.Value = tag.mid(j + 1, stop - j - 1);
                a.Quoted = close >= 0;
                j = close < 0 ? end : close + 1;
            } else {
                const qsizetype from = j;
                while (j < end && tag[j] != QLatin1Char(' '))
                    ++j;
                a.Value = tag.mid(from, j - from);
            }
            i = j;
        }
        attrs.push_back(a);
    }
    return attrs;
}

// The quoted value of the attribute; none when absent or unquoted.
std::optional<QString> Attr(const std::vector<TAttribute>& attrs, const char* name)
{
    for (const TAttribute& a : attrs)
        if (a.Name == QLatin1String(name))
            return a.Quoted ? std::optional<QString>(a.Value) : std::nullopt;
    return std::nullopt;
}

QString AttrText(const std::vector<TAttribute>& attrs, const char* name)
{
    return Attr(attrs, name).value_or(QString());
}

// The leading digits as a number (0 when none).
int LeadingNumber(const QString& s, bool* valid = nullptr)
{
    const QString t = s.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t[n].isDigit())
        ++n;
    if (valid)
        *valid = n > 0 && n == t.size();
    bool ok = false;
    const int v = t.left(std::min<qsizetype>(n, 9)).toInt(&ok);
    return ok ? v : 0;
}

// ---- Controls in the text ----

struct TControlTag {
    qsizetype Start = 0, End = 0;  // the tag's span, ">" included
    std::vector<TAttribute> Attrs;
    QString Type, ID;
};

std::vector<TControlTag> FindControls(const QString& html)
{
    std::vector<TControlTag> found;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = html.indexOf(QLatin1String("<CONTROL "), from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        const qsizetype gt = html.indexOf(QLatin1Char('>'), at);
        if (gt < 0)
            break;
        TControlTag c;
        c.Start = at;
        c.End = gt + 1;
        c.Attrs = ParseAttributes(html.mid(at, gt + 1 - at));
        c.Type = AttrText(c.Attrs, "TYPE").toUpper();
        c.ID = AttrText(c.Attrs, "ID");
        found.push_back(std::move(c));
        from = gt + 1;
    }
    return found;
}

const TControlTag* ControlWithID(const std::vector<TControlTag>& controls, const QString& id)
{
    for (const TControlTag& c : controls)
        if (c.ID == id)
            return &c;
    return nullptr;
}

// ---- Rendering ----

enum TAlign { alLeft, alRight, alCenter };

// What tags change; a line is laid out twice from the same saved state.
struct TState {
    TFont Font;
    TColor Back = clNone;
    bool UnderlineTag = false, AnchorUnderline = false;
    bool InAnchor = false;
    QString LinkTarget, LinkTitle;
    int LinkCount = 0;
    int ListLevel = 0;
    int ImageCount = 0;
    bool Sub = false, Sup = false, Shadow = false, ErrorMark = false, Hidden = false, Blink = false;
    std::vector<TColor> FontBacks;
    std::vector<std::pair<TColor, TColor>> Highlights;
    bool AnchorBackSet = false, AnchorColorSet = false;
    TColor AnchorSavedBack = clNone, AnchorSavedColor = clNone;
    TAlign Align = alLeft;
    int Indent = 0;
    TColor Band = clNone;
    // Angles of the rotation tags in force, the innermost last; text turns by the last one.
    std::vector<int> Rotations;
    int Rotation() const { return Rotations.empty() ? 0 : Rotations.back(); }
};

// One pass over one line.
struct TPass {
    bool Measure = true;
    bool Draw = false;
    int Left = 0, Right = 0, Top = 0, Bottom = 0;
    int Pen = 0;
    // Line metrics: grown by the measuring pass, read by the second.
    int LineHeight = 0, SubExtra = 0, SupExtra = 0, ImageOffset = 0;
    bool HasText = false, LastEndsSpace = false;
    int TrailSpace = 0;
    int ListItems = 0;
    int AnchorStart = 0;
    bool FocusOpen = false;
    int FocusStart = 0;
};

// True when the text starts with one of the mark-up's tags ("<" to the next ">"). Anything else
// that starts with "<" is text and is shown as it stands.
bool StartsWithTag(const QString& text)
{
    const qsizetype gt = text.indexOf(QLatin1Char('>'));
    if (!text.startsWith(QLatin1Char('<')) || gt < 0)
        return false;
    const QString U = text.left(gt + 1).toUpper();
    const bool closing = U.startsWith(QLatin1String("</"));
    const QString name = U.mid(closing ? 2 : 1);
    if (name.isEmpty() || !name[0].isLetter())
        return false;
    const char c0 = char(name[0].unicode());
    const QChar c1 = name.size() > 1 ? name[1] : QChar();
    if (closing)
        return QByteArrayView("ABEFHILPRSUZ").contains(c0);
    switch (c0) {
    case 'A': case 'E': case 'F': case 'L': case 'P': case 'R': case 'U': case 'Z': return true;
    case 'B': return name == QLatin1String("B>") || c1 == QLatin1Char('R') || c1 == QLatin1Char('L') || c1 == QLatin1Char('O');
    case 'C': return name.startsWith(QLatin1String("CONTROL ")) || name == QLatin1String("CONTROL>");
    case 'H': return c1 == QLatin1Char('I') || c1 == QLatin1Char('R');
    case 'I': return name == QLatin1String("I>") || c1 == QLatin1Char('N') || c1 == QLatin1Char('M');
    case 'S':
        return name == QLatin1String("S>") || c1 == QLatin1Char('H') || name == QLatin1String("SUB>") ||
               name == QLatin1String("SUP>");
    default: return false;
    }
}

class TRenderer {
public:
    TRenderer(TCanvas& canvas, const QRect& r, const THTMLRenderInput& in, THTMLRenderResult& out)
        : C(canvas), R(r), In(in), Out(out)
    {
    }

    bool Run(const QString& text);

private:
    enum TTagResult { trGoOn, trBreak, trFull, trEnd };

    QString LinePass(QString& rest, TState& st, TPass& p);
    TTagResult ApplyTag(const QString& tag, TState& st, TPass& p);
    void ApplyFont(const TState& st);
    int SegmentWidth(const QString& seg);
    int TextBottom(const TState& st, const TPass& p) const;
    void DrawSegment(const QString& seg, const TState& st, const TPass& p, int width);
    void DrawZigzag(int x, int width, int bottom);
    void DrawFocus(const TPass& p, const TState& st);
    TTagResult Image(const std::vector<TAttribute>& attrs, TState& st, TPass& p);
    TTagResult Control(const std::vector<TAttribute>& attrs, TState& st, TPass& p);
    THTMLPicture* FindPicture(const QString& source);
    int Ppi() const;
    int GhHeight() { return C.TextHeight(QStringLiteral("gh")); }

    TCanvas& C;
    const QRect R;
    const THTMLRenderInput& In;
    THTMLRenderResult& Out;
    TFont StartFont;
    TColor StartBack = clNone;
    bool Themed = true;
    unsigned Flags = 0;
    bool Result = false;
    int HitImage = -1;    // the image at the point, found while measuring
    int AnchorFound = 0;  // link number of the anchor at the point, while its rectangle is open
    int FoundTop = -0x7FFFFFFF;  // top of the line the anchor at the point was found on
};

int TRenderer::Ppi() const
{
    if (QPainter* p = C.Painter(); p && p->device())
        return p->device()->logicalDpiX();
    return 96;
}

void TRenderer::ApplyFont(const TState& st)
{
    TFont f = st.Font;
    f.setUnderline(st.UnderlineTag || st.AnchorUnderline || StartFont.underline());
    C.Font = f;
}

int TRenderer::SegmentWidth(const QString& seg)
{
    if (seg.isEmpty())
        return 0;
    QRect calc(0, 0, 0x7FFF, 0);
    C.DrawText(seg, calc, (Flags & ~platform::DT_END_ELLIPSIS) | platform::DT_CALCRECT);
    return calc.width();
}

int TRenderer::TextBottom(const TState& st, const TPass& p) const
{
    int bottom = p.Bottom - p.SubExtra - p.ImageOffset;
    if (st.Sup)
        bottom -= p.SupExtra;
    if (st.Sub)
        bottom += p.SubExtra;
    return bottom;
}

void TRenderer::DrawZigzag(int x, int width, int bottom)
{
    const platform::TPen saved = C.Pen;
    C.Pen = platform::TPen{platform::clRed, 1};
    int px = x - (x % 2 + 2) % 2;
    const int end = x + width;
    bool up = ((px % 4) + 4) % 4 == 0;
    C.MoveTo(px, up ? bottom - 1 : bottom + 1);
    while (px < end) {
        px += 2;
        up = !up;
        C.LineTo(px, up ? bottom - 1 : bottom + 1);
    }
    C.Pen = saved;
}

void TRenderer::DrawSegment(const QString& seg, const TState& st, const TPass& p, int width)
{
    if (seg.isEmpty() || (st.Blink && !In.BlinkState))
        return;
    const int bottom = TextBottom(st, p);
    const int th = C.TextHeight(seg);
    QRect box(p.Pen, std::min(p.Top, bottom - th), std::max(0, p.Right - p.Pen), 0);
    box.setBottom(bottom - 1);
    if (st.Shadow) {
        const TColor color = C.Font.Color;
        C.Font.Color = In.ShadowColor;
        C.Brush.Style = platform::TBrushStyle::bsClear;
        QRect shadow = box.translated(In.ShadowOffset, In.ShadowOffset);
        C.DrawText(seg, shadow, Flags);
        C.Font.Color = color;
    }
    if (st.Back != clNone) {
        C.Brush.Color = st.Back;
        C.Brush.Style = platform::TBrushStyle::bsSolid;
    } else {
        C.Brush.Style = platform::TBrushStyle::bsClear;
    }
    QRect drawn = box;
    QPainter* painter = C.Painter();
    if (st.Rotation() != 0 && painter) {
        // The text turns counter-clockwise about the top-left of its cell, as a font turned by the
        // angle writes it; the layout keeps the unturned width.
        const QPoint origin(p.Pen, bottom - th);
        painter->save();
        painter->translate(origin);
        painter->rotate(-st.Rotation());
        QRect turned(0, 0, std::max(0, p.Right - p.Pen), th);
        C.DrawText(seg, turned, (Flags & ~platform::DT_END_ELLIPSIS) | platform::DT_NOCLIP);
        painter->restore();
    } else {
        C.DrawText(seg, drawn, Flags);
    }
    C.Brush.Style = platform::TBrushStyle::bsClear;
    if (st.ErrorMark)
        DrawZigzag(p.Pen, std::min(width, p.Right - p.Pen), p.Bottom - p.SubExtra);
}

void TRenderer::DrawFocus(const TPass& p, const TState& st)
{
    if (!p.Draw)
        return;
    const int bottom = TextBottom(st, p);
    const int gh = GhHeight();
    C.DrawFocusRect(platform::Rect(p.FocusStart - 1, bottom - gh, p.Pen + 1, bottom));
}

THTMLPicture* TRenderer::FindPicture(const QString& source)
{
    if (source.contains(QLatin1String("://"))) {
        if (!In.Cache)
            return nullptr;
        THTMLPicture* pic = In.Cache->FindPicture(source);
        if (!pic) {
            pic = In.Cache->AddPicture();
            pic->Asynch = false;
            pic->LoadFromURL(source);
            pic->ID = source;
        }
        return pic;
    }
    if (!source.contains(QLatin1Char(':')) && In.Container)
        return In.Container->FindPicture(source);
    return nullptr;
}

TRenderer::TTagResult TRenderer::Image(const std::vector<TAttribute>& attrs, TState& st, TPass& p)
{
    const int imageNo = st.ImageCount + 1;
    // Addresses keep their letter case: the program's resource names are case-sensitive.
    QString raw = AttrText(attrs, "SRC");
    if (const auto alt = Attr(attrs, "ALT"); alt && HitImage == imageNo && st.InAnchor)
        raw = *alt;
    const QString src = raw.toUpper();
    bool wValid = false, hValid = false;
    const auto wAttr = Attr(attrs, "WIDTH"), hAttr = Attr(attrs, "HEIGHT");
    const int wGiven = wAttr ? LeadingNumber(*wAttr, &wValid) : 0;
    const int hGiven = hAttr ? LeadingNumber(*hAttr, &hValid) : 0;
    const int ppi = Ppi();
    const double print = In.Printing ? In.ResolutionFactor : 1.0;

    QImage listImage;
    THTMLPicture* picture = nullptr;
    QSize size;
    if (src.startsWith(QLatin1String("IDX:"))) {
        const int n = LeadingNumber(src.mid(4));
        if (In.Images && In.Images->Count() > n) {
            listImage = In.Images->Image(n);
            size = QSize(In.Images->Width() * ppi / 96, In.Images->Height() * ppi / 96);
            if (In.Printing)
                size = QSize(int(In.Images->Width() * print), int(In.Images->Height() * print));
        }
    } else if (src.startsWith(QLatin1String("SSYS:")) || src.startsWith(QLatin1String("LSYS:"))) {
        // The type's icon from the style: no file is looked at.
        const bool large = src.startsWith(QLatin1Char('L'));
        const int side = (large ? 32 : 16) * ppi / 96;
        const QString what = src.mid(5);
        const QStyle::StandardPixmap kind =
            what.endsWith(QLatin1Char('/')) || what.endsWith(QLatin1Char('\\')) ? QStyle::SP_DirIcon : QStyle::SP_FileIcon;
        listImage = QApplication::style()->standardIcon(kind).pixmap(side, side).toImage();
        size = In.Printing ? QSize(int(side * print), int(side * print)) : QSize(side, side);
    } else {
        picture = FindPicture(src.contains(QLatin1String("://")) ? raw : src);
        if (picture && !picture->Empty()) {
            const int pw = picture->MaxWidth(), ph = picture->MaxHeight();
            if (wAttr && hAttr)
                size = QSize(wGiven, hGiven);
            else if (wAttr)
                size = QSize(wGiven, pw > 0 ? int(double(wGiven) * ph / pw + 0.5) : 0);
            else if (hAttr)
                size = QSize(ph > 0 ? int(double(hGiven) * pw / ph + 0.5) : 0, hGiven);
            else
                size = QSize(pw * ppi / 96, ph * ppi / 96);
        } else {
            picture = nullptr;
        }
    }
    if (listImage.isNull() && !picture) {
        ++st.ImageCount;
        return trGoOn;  // nothing found takes no room
    }
    const int lineWidth = p.Right - p.Left;
    if (p.Measure && p.Pen + size.width() > p.Right && size.width() < lineWidth && p.Pen > p.Left)
        return trFull;
    ++st.ImageCount;

    if (p.Measure) {
        if (st.InAnchor && In.HitX > p.Pen && In.HitX < p.Pen + size.width() && In.HitY > p.Top &&
            In.HitY < p.Top + std::max(size.height(), p.LineHeight)) {
            HitImage = imageNo;
            Out.Anchor = st.LinkTarget;
            Out.AnchorTitle = st.LinkTitle;
            Out.LinkUnderPoint = st.LinkCount;
        }
        p.LineHeight = std::max(p.LineHeight, size.height());
        const QString align = AttrText(attrs, "ALIGN").toUpper();
        const int gh = GhHeight();
        if (align.contains(QLatin1String("TOP")))
            p.ImageOffset = p.LineHeight - gh;
        else if (align.contains(QLatin1String("MIDDLE")))
            p.ImageOffset = (p.LineHeight - gh) / 2;
    } else {
        const int bottom = p.Bottom - p.SubExtra;
        const QRect target(p.Pen, bottom - size.height(), size.width(), size.height());
        if (st.InAnchor && In.HitX > target.left() && In.HitX < target.left() + target.width() &&
            In.HitY > target.top() && In.HitY < target.top() + target.height()) {
            Result = true;
            Out.Anchor = st.LinkTarget;
            Out.AnchorTitle = st.LinkTitle;
        }
        if (p.Draw) {
            if (!listImage.isNull()) {
                if (QPainter* painter = C.Painter())
                    painter->drawImage(target, listImage);
            } else if (picture) {
                const bool stretched = wAttr || hAttr;
                if (!stretched && picture->FrameCount() > 1) {
                    if (StartBack != clNone) {
                        const platform::TBrush b = C.Brush;
                        C.Brush = platform::TBrush{StartBack, platform::TBrushStyle::bsSolid};
                        C.FillRect(target);
                        C.Brush = b;
                    }
                }
                if (QPainter* painter = C.Painter()) {
                    if (stretched || In.Printing)
                        painter->drawImage(target, picture->Image());
                    else
                        painter->drawImage(QRect(target.topLeft(),
                                                 QSize(picture->Image().width() * ppi / 96,
                                                       picture->Image().height() * ppi / 96)),
                                           picture->Image());
                }
            }
        }
    }
    p.Pen += size.width();
    return trGoOn;
}

TRenderer::TTagResult TRenderer::Control(const std::vector<TAttribute>& attrs, TState&, TPass& p)
{
    const QString type = AttrText(attrs, "TYPE").toUpper();
    const QString id = AttrText(attrs, "ID");
    const QString value = HTMLDecodeEntities(AttrText(attrs, "VALUE"), true);
    bool hValid = false, wValid = false;
    const auto hAttr = Attr(attrs, "HEIGHT");
    int height = hAttr ? LeadingNumber(*hAttr, &hValid) : 0;
    if (!hValid)
        height = 25;
    const auto wAttr = Attr(attrs, "WIDTH");
    const bool box16 = type == QLatin1String("CHECK") || type == QLatin1String("RADIO");
    int width = wAttr ? LeadingNumber(*wAttr, &wValid) : 0;
    int layoutWidth = wValid ? width : (box16 ? 16 : 0);
    if (box16 && width == 0)
        width = 16;
    if (p.Measure) {
        if (p.Pen + layoutWidth > p.Right && p.Pen > p.Left)
            return trFull;
        if (wAttr && wValid)
            p.LineHeight = height > 25 ? height - 2 : (box16 ? 16 : 23);
        p.Pen += layoutWidth;
        return trGoOn;
    }
    const int x = p.Pen;
    const int bottom = p.Bottom - p.SubExtra;
    const int lh = p.LineHeight;
    const TColor frame = Themed ? TColor(0xB99D7F) : platform::clGray;
    const bool inX = In.HitX > x - 2 && In.HitX < x + width - 2;
    if (p.Draw) {
        const platform::TPen pen = C.Pen;
        const platform::TBrush brush = C.Brush;
        const TFont font = C.Font;
        if (type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK") ||
            type == QLatin1String("COMBO")) {
            const bool combo = type == QLatin1String("COMBO");
            C.Pen = platform::TPen{frame};
            C.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
            C.Rectangle(x, bottom - lh + 4, x + width, bottom + 2);
            QString shown = value;
            if (type == QLatin1String("PASSWORD"))
                shown = QString(value.size(), QLatin1Char('*'));
            QRect tr = combo ? platform::Rect(x + 4, bottom - lh + 4, x + width - 18, bottom + 2)
                             : platform::Rect(x + 2, bottom - lh + 4, x + width - 2, bottom + 2);
            C.Brush.Style = platform::TBrushStyle::bsClear;
            C.DrawText(shown, tr, platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_NOPREFIX);
            if (combo) {
                QRect button = platform::Rect(x + width - 18, bottom - lh + 5, x + width - 1, bottom + 1);
                const int layoutH = GhHeight() + 10;
                const bool hot = inX && In.HitY > bottom - layoutH - 2 && In.HitY < bottom - 2;
                HTHEME theme = OpenThemeData(In.Window, QStringLiteral("combobox"));
                if (!(Themed && DrawThemeBackground(theme, C, CP_DROPDOWNBUTTON, hot ? CBXS_HOT : CBXS_NORMAL, button)))
                    platform::DrawFrameControl(C, button, platform::DFC_SCROLL, platform::DFCS_SCROLLCOMBOBOX);
                CloseThemeData(theme);
            }
        } else if (box16) {
            const bool ticked = value.toUpper() == QLatin1String("TRUE");
            const bool check = type == QLatin1String("CHECK");
            QRect box = check ? platform::Rect(x + 2, bottom - 15, x + 15, bottom)
                              : platform::Rect(x + 2, bottom - 14, x + 14, bottom);
            HTHEME theme = OpenThemeData(In.Window, QStringLiteral("button"));
            const int state = check ? (ticked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL)
                                    : (ticked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL);
            if (!(Themed && DrawThemeBackground(theme, C, check ? BP_CHECKBOX : BP_RADIOBUTTON, state, box)))
                platform::DrawFrameControl(C, box, platform::DFC_BUTTON,
                                           (check ? platform::DFCS_BUTTONCHECK : platform::DFCS_BUTTONRADIO) |
                                               platform::DFCS_FLAT | (ticked ? platform::DFCS_CHECKED : 0u));
            CloseThemeData(theme);
        } else if (type == QLatin1String("BUTTON")) {
            QRect box = platform::Rect(x + 2, bottom - height, x + width - 2, bottom);
            const bool hot = inX && In.HitY > bottom - 26 && In.HitY < bottom - 2;
            HTHEME theme = OpenThemeData(In.Window, QStringLiteral("button"));
            const int state = In.MouseDown && hot ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL;
            if (!(Themed && DrawThemeBackground(theme, C, BP_PUSHBUTTON, state, box)))
                platform::DrawFrameControl(C, box, platform::DFC_BUTTON,
                                           platform::DFCS_BUTTONPUSH |
                                               (hot && In.MouseDown ? platform::DFCS_PUSHED : 0u));
            CloseThemeData(theme);
            QRect tr = box.adjusted(2, 2, -2, -2);
            C.Brush.Style = platform::TBrushStyle::bsClear;
            C.DrawText(value, tr,
                       platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_CENTER | platform::DT_NOPREFIX);
        }
        C.Pen = pen;
        C.Brush = brush;
        C.Font = font;
    }
    const int hitH = box16 ? 16 : 25;
    const int hitW = box16 ? 16 : width;
    const bool hit = (In.HitX > x && In.HitX < x + hitW && In.HitY > bottom - hitH && In.HitY < bottom) ||
                     (In.HitOnly && !In.ControlID.isEmpty() && id == In.ControlID);
    if (hit) {
        Result = true;
        Out.Anchor = QStringLiteral("ctrl");
        Out.ControlRect = QRect(x, bottom - hitH, hitW, hitH);
        Out.ControlValue = value;
        Out.ControlID = id;
        Out.ControlType = type;
    }
    p.Pen += layoutWidth;
    return trGoOn;
}

TRenderer::TTagResult TRenderer::ApplyTag(const QString& tag, TState& st, TPass& p)
{
    const QString U = tag.toUpper();
    const bool closing = U.startsWith(QLatin1String("</"));
    const QString name = U.mid(closing ? 2 : 1);
    if (name.isEmpty())
        return trGoOn;
    const QChar c0 = name[0];
    const QChar c1 = name.size() > 1 ? name[1] : QChar();
    const bool drawing = p.Draw;

    if (closing) {
        switch (c0.unicode()) {
        case 'A': {
            if (p.Measure && AnchorFound == st.LinkCount && AnchorFound > 0 && FoundTop == p.Top)
                Out.HoverRect.setRight(p.Pen - 1);
            AnchorFound = 0;
            if (st.AnchorBackSet)
                st.Back = st.AnchorSavedBack;
            if (st.AnchorColorSet)
                st.Font.Color = st.AnchorSavedColor;
            st.AnchorBackSet = st.AnchorColorSet = false;
            if (!In.Selected)
                st.Font.Color = StartFont.Color;
            st.AnchorUnderline = false;
            st.InAnchor = false;
            if (p.FocusOpen) {
                DrawFocus(p, st);
                p.FocusOpen = false;
            }
            return trGoOn;
        }
        case 'B':
            if (U == QLatin1String("</B>")) {
                st.Font.setBold(StartFont.bold());
            } else {
                st.Blink = false;
                st.Font.Color = StartFont.Color;
            }
            return trGoOn;
        case 'E': st.ErrorMark = false; return trGoOn;
        case 'F':
            st.Font.setFamily(StartFont.family());
            if (StartFont.pixelSize() > 0)
                st.Font.setPixelSize(StartFont.pixelSize());
            else
                st.Font.setPointSizeF(StartFont.pointSizeF());
            if (!In.Selected)
                st.Font.Color = StartFont.Color;
            if (!st.FontBacks.empty()) {
                st.Back = st.FontBacks.back();
                st.FontBacks.pop_back();
            }
            return trGoOn;
        case 'H':
            if (!st.Highlights.empty()) {
                st.Back = st.Highlights.back().first;
                st.Font.Color = st.Highlights.back().second;
                st.Highlights.pop_back();
            }
            return trGoOn;
        case 'I': st.Font.setItalic(StartFont.italic()); return trGoOn;
        case 'L': return trBreak;
        case 'P': st.Band = clNone; return trBreak;
        case 'R':
            if (!st.Rotations.empty())
                st.Rotations.pop_back();
            return trGoOn;
        case 'S':
            if (c1 == QLatin1Char('U')) {
                st.Sub = st.Sup = false;
            } else if (c1 == QLatin1Char('H')) {
                st.Shadow = false;
            } else {
                st.Font.setStrikeOut(false);
            }
            return trGoOn;
        case 'U':
            if (U == QLatin1String("</U>") || st.ListLevel == 0)
                st.UnderlineTag = false;
            else
                --st.ListLevel;
            return trGoOn;
        case 'Z': st.Hidden = false; return trGoOn;
        default: return trGoOn;
        }
    }

    const auto attrs = ParseAttributes(tag);
    switch (c0.unicode()) {
    case 'A': {
        ++st.LinkCount;
        st.InAnchor = true;
        st.LinkTarget = AttrText(attrs, "HREF");
        st.LinkTitle = AttrText(attrs, "TITLE");
        const bool hovered = In.HoverLink == st.LinkCount;
        if (!In.Selected && !(In.HoverStyle && hovered && In.HoverFontColor != clNone))
            st.Font.Color = In.URLColor;
        if (drawing && (!In.HoverStyle || hovered)) {
            st.AnchorUnderline = true;
            if (hovered && In.HoverColor != clNone) {
                st.AnchorSavedBack = st.Back;
                st.AnchorBackSet = true;
                st.Back = In.HoverColor;
            }
            if (hovered && In.HoverFontColor != clNone) {
                st.AnchorSavedColor = st.Font.Color;
                st.AnchorColorSet = true;
                st.Font.Color = In.HoverFontColor;
            }
        }
        if (st.LinkCount == In.FocusLink + 1) {
            p.FocusOpen = true;
            p.FocusStart = p.Pen;
            if (drawing)
                Out.FocusAnchor = st.LinkTarget;
        }
        p.AnchorStart = p.Pen;
        return trGoOn;
    }
    case 'B':
        if (U == QLatin1String("<B>")) {
            st.Font.setBold(true);
        } else if (c1 == QLatin1Char('R')) {
            return trBreak;
        } else if (c1 == QLatin1Char('L')) {
            st.Blink = true;
        } else if (c1 == QLatin1Char('O') && drawing) {
            if (const auto bg = Attr(attrs, "BGCOLOR"); bg && !bg->isEmpty()) {
                const platform::TBrush b = C.Brush;
                C.Brush = platform::TBrush{HTMLColor(*bg), platform::TBrushStyle::bsSolid};
                C.FillRect(R);
                C.Brush = b;
            }
            if (const auto background = Attr(attrs, "BACKGROUND"); background && !background->isEmpty()) {
                THTMLPicture* pic =
                    FindPicture(background->contains(QLatin1String("://")) ? *background : background->toUpper());
                if (pic && !pic->Empty() && C.Painter()) {
                    QPainter* painter = C.Painter();
                    painter->save();
                    painter->setClipRect(R, Qt::IntersectClip);
                    painter->drawTiledPixmap(R, QPixmap::fromImage(pic->Image()));
                    painter->restore();
                }
            }
        }
        return trGoOn;
    case 'C': return Control(attrs, st, p);
    case 'E': st.ErrorMark = true; return trGoOn;
    case 'F': {
        st.FontBacks.push_back(st.Back);
        if (const auto face = Attr(attrs, "FACE"); face && !face->isEmpty())
            st.Font.setFamily(*face);
        if (const auto color = Attr(attrs, "COLOR"); color && !In.Selected)
            st.Font.Color = HTMLColor(*color);
        if (const auto bg = Attr(attrs, "BGCOLOR"); bg && !In.Selected)
            st.Back = bg->isEmpty() ? clNone : HTMLColor(*bg);
        for (const TAttribute& a : attrs) {
            if (a.Name != QLatin1String("SIZE"))
                continue;
            const int n = LeadingNumber(a.Value);
            static const int sizes[] = {8, 10, 12, 14, 16};
            const int points = n >= 1 && n <= 5 ? sizes[n - 1] : n;
            if (points > 0)
                st.Font.setPointSize(points);
            break;
        }
        return trGoOn;
    }
    case 'H':
        if (c1 == QLatin1Char('I')) {
            st.Highlights.emplace_back(st.Back, st.Font.Color);
            st.Back = In.HighlightColor;
            st.Font.Color = In.HighlightTextColor;
        } else if (c1 == QLatin1Char('R')) {
            if (drawing) {
                const platform::TPen pen = C.Pen;
                C.Pen = platform::TPen{platform::clBlack, 1};
                C.MoveTo(R.left(), p.Bottom);
                C.LineTo(R.left() + R.width(), p.Bottom);
                C.Pen = pen;
            }
            return trBreak;
        }
        return trGoOn;
    case 'I':
        if (U == QLatin1String("<I>")) {
            st.Font.setItalic(true);
        } else if (c1 == QLatin1Char('N')) {
            const int x = LeadingNumber(AttrText(attrs, "X"));
            p.Pen = std::max(p.Pen, (p.Measure ? p.Left - 1 : p.Left) + x);
        } else if (c1 == QLatin1Char('M')) {
            return Image(attrs, st, p);
        }
        return trGoOn;
    case 'L': {
        if (p.ListItems > 0)
            return trFull;
        ++p.ListItems;
        const int indent = 12 * st.ListLevel;
        p.Pen += indent;
        if (drawing && !(st.Blink && !In.BlinkState)) {
            const QString bullet = st.ListLevel % 2 == 1 ? QString(QChar(0x2022)) : QStringLiteral("o");
            ApplyFont(st);
            C.Brush.Style = platform::TBrushStyle::bsClear;
            QRect box = platform::Rect(p.Pen - 12, p.Top, p.Pen, TextBottom(st, p));
            C.DrawText(bullet, box, platform::DT_SINGLELINE | platform::DT_BOTTOM | platform::DT_NOPREFIX);
        }
        return trGoOn;
    }
    case 'P': {
        const QString align = AttrText(attrs, "ALIGN").toUpper();
        if (align.contains(QLatin1String("RIGHT")))
            st.Align = alRight;
        if (align.contains(QLatin1String("LEFT")))
            st.Align = alLeft;
        if (align.contains(QLatin1String("CENTER")))
            st.Align = alCenter;
        if (const auto indent = Attr(attrs, "INDENT"))
            st.Indent = LeadingNumber(*indent);
        if (const auto bg = Attr(attrs, "BGCOLOR")) {
            st.Band = bg->isEmpty() ? clNone : HTMLColor(*bg);
            if (drawing && st.Band != clNone) {
                const platform::TBrush b = C.Brush;
                C.Brush = platform::TBrush{st.Band, platform::TBrushStyle::bsSolid};
                C.FillRect(platform::Rect(R.left(), p.Top, R.left() + R.width(), p.Bottom));
                C.Brush = b;
            }
        }
        return trGoOn;
    }
    case 'S':
        if (U == QLatin1String("<S>"))
            st.Font.setStrikeOut(true);
        else if (c1 == QLatin1Char('H'))
            st.Shadow = true;
        else if (U == QLatin1String("<SUB>"))
            st.Sub = true;
        else if (U == QLatin1String("<SUP>"))
            st.Sup = true;
        return trGoOn;
    case 'U':
        if (U == QLatin1String("<U>")) {
            st.UnderlineTag = true;
            return trGoOn;
        }
        ++st.ListLevel;
        return trBreak;
    case 'R': {
        // The angle: the first quoted number after the tag's first letter a.
        int angle = 0;
        const qsizetype a = U.indexOf(QLatin1Char('A'));
        if (a >= 0) {
            const qsizetype q = U.indexOf(QLatin1Char('"'), a);
            if (q >= 0) {
                const QString value = U.mid(q + 1, U.indexOf(QLatin1Char('"'), q + 1) - q - 1).trimmed();
                angle = value.startsWith(QLatin1Char('-')) ? -LeadingNumber(value.mid(1)) : LeadingNumber(value);
            }
        }
        st.Rotations.push_back(angle);
        return trGoOn;
    }
    case 'Z': st.Hidden = true; return trGoOn;
    default: return trGoOn;
    }
}

QString TRenderer::LinePass(QString& rest, TState& st, TPass& p)
{
    QString part;
    const int lineWidth = p.Right - p.Left;
    while (!rest.isEmpty()) {
        if (!StartsWithTag(rest)) {
            const qsizetype lt = rest.indexOf(QLatin1Char('<'), 1);
            qsizetype len = lt < 0 ? rest.size() : lt;
            if (In.WordWrap) {
                const qsizetype sp = rest.indexOf(QLatin1Char(' '));
                if (sp >= 0 && (lt < 0 || sp < lt))
                    len = sp + 1;
            }
            const QString raw = rest.left(len);
            QString seg = raw;
            seg.replace(QLatin1String("&nbsp;"), QLatin1String(" "), Qt::CaseInsensitive);
            seg.replace(QLatin1String("&lt;"), QLatin1String("<"), Qt::CaseInsensitive);
            seg.replace(QLatin1String("&gt;"), QLatin1String(">"), Qt::CaseInsensitive);
            ApplyFont(st);
            if (!seg.isEmpty() && p.Measure) {
                const int th = C.TextHeight(seg);
                p.LineHeight = std::max(p.LineHeight, th);
                if (st.Sub)
                    p.SubExtra = std::max(p.SubExtra, th / 4);
                if (st.Sup)
                    p.SupExtra = std::max(p.SupExtra, th / 4);
            }
            if (st.Hidden) {
                part += raw;
                rest.remove(0, len);
                continue;
            }
            const int w = SegmentWidth(seg);
            if (p.Measure) {
                // A word wider than the line fits only at the line's start, so it stands on a line of its own.
                const bool fits = (p.Pen - p.Left) + w < lineWidth || (w >= lineWidth && !p.HasText) ||
                                  (p.HasText && !p.LastEndsSpace);
                if (!fits && In.WordWrap)
                    break;
                const bool endText = !fits && p.HasText;
                if (st.InAnchor && In.HitX >= p.Pen && In.HitX < p.Pen + w && In.HitY > p.Top) {
                    Out.Anchor = st.LinkTarget;
                    Out.AnchorTitle = st.LinkTitle;
                    Out.LinkUnderPoint = st.LinkCount;
                    if (AnchorFound != st.LinkCount)
                        Out.HoverRect = QRect(QPoint(p.AnchorStart, p.Top), QPoint(p.Pen + w - 1, p.Top));
                    AnchorFound = st.LinkCount;
                    FoundTop = p.Top;
                }
                if (AnchorFound == st.LinkCount && AnchorFound > 0 && st.InAnchor && FoundTop == p.Top)
                    Out.HoverRect.setRight(p.Pen + w - 1);
                p.Pen += w;
                p.HasText = true;
                p.LastEndsSpace = seg.endsWith(QLatin1Char(' '));
                p.TrailSpace = p.LastEndsSpace ? SegmentWidth(QStringLiteral(" ")) : 0;
                part += raw;
                rest.remove(0, len);
                if (endText) {
                    rest.clear();
                    break;
                }
            } else {
                if (p.Draw)
                    DrawSegment(seg, st, p, w);
                if (In.HitOnly && st.InAnchor && In.HitX >= p.Pen && In.HitX < p.Pen + w) {
                    const int gh = GhHeight();
                    const int bottom = p.Bottom - p.ImageOffset;
                    if (In.HitY > bottom - gh && In.HitY < bottom) {
                        Result = true;
                        Out.Anchor = st.LinkTarget;
                        Out.AnchorTitle = st.LinkTitle;
                    }
                }
                p.Pen += w;
                part += raw;
                rest.remove(0, len);
            }
            continue;
        }
        const qsizetype gt = rest.indexOf(QLatin1Char('>'));
        const QString tag = rest.left(gt + 1);
        const TTagResult result = ApplyTag(tag, st, p);
        if (result == trFull)
            break;
        part += tag;
        rest.remove(0, gt + 1);
        if (result == trBreak)
            break;
    }
    if (p.FocusOpen) {
        DrawFocus(p, st);
        p.FocusStart = p.Left;
    }
    return part;
}

bool TRenderer::Run(const QString& text)
{
    const platform::TPen savedPen = C.Pen;
    const platform::TBrush savedBrush = C.Brush;
    const TFont savedFont = C.Font;
    StartFont = C.Font;
    StartBack = C.Brush.Style == platform::TBrushStyle::bsClear ? clNone : C.Brush.Color;
    C.Brush.Style = platform::TBrushStyle::bsClear;
    Themed = IsThemeActive();

    Out = THTMLRenderResult{};
    if (In.HitOnly)
        Out.ControlID = In.ControlID;
    Flags = platform::DT_BOTTOM | platform::DT_SINGLELINE | platform::DT_EXPANDTABS;
    if (!In.WordWrap)
        Flags |= platform::DT_END_ELLIPSIS;

    QString s = text;
    if (s.contains(QLatin1Char('&'))) {
        // Entities of the text between tags; a tag's attributes keep theirs for its own reader, so
        // a quote or ampersand inside a value never cuts the tag short.
        auto decode = [](QString t) {
            static const std::pair<const char*, QChar> entities[] = {
                {"&amp;", QChar()},          {"&quot;", QChar('"')},      {"&sect;", QChar(0x00A7)},
                {"&permil;", QChar(0x2030)}, {"&reg;", QChar(0x00AE)},    {"&copy;", QChar(0x00A9)},
                {"&para;", QChar(0x00B6)},   {"&trade;", QChar(0x2122)},  {"&euro;", QChar(0x20AC)},
            };
            bool replaced = true;
            while (replaced && t.contains(QLatin1Char('&'))) {
                replaced = false;
                for (const auto& [name, ch] : entities) {
                    const QString from = QLatin1String(name);
                    if (!t.contains(from))
                        continue;
                    ReplaceLoop(t, from, ch.isNull() ? QStringLiteral("&&") : QString(ch));
                    replaced = true;
                }
            }
            return t;
        };
        QString out;
        qsizetype textStart = 0, i = 0;
        while (i < s.size()) {
            if (s[i] == QLatin1Char('<') && StartsWithTag(s.mid(i))) {
                const qsizetype gt = s.indexOf(QLatin1Char('>'), i);
                out += decode(s.mid(textStart, i - textStart)) + s.mid(i, gt + 1 - i);
                i = textStart = gt + 1;
                continue;
            }
            ++i;
        }
        s = out + decode(s.mid(textStart));
    }
    for (qsizetype at = s.indexOf(QLatin1String("<#")); at >= 0; at = s.indexOf(QLatin1String("<#"), at)) {
        s.remove(at, 1);
        const qsizetype gt = s.indexOf(QLatin1Char('>'), at);
        if (gt >= 0)
            s.remove(gt, 1);
    }
    s.remove(QLatin1Char('\n'));
    s.replace(QLatin1Char('\r'), QLatin1String("<BR>"));

    TState st;
    st.Font = StartFont;
    const int gh = C.TextHeight(QStringLiteral("gh"));
    int top = R.top();
    int total = 0;
    while (!s.isEmpty()) {
        C.Font = st.Font;
        TPass m;
        m.Measure = true;
        m.Left = R.left() + 1;
        m.Right = R.left() + R.width();
        m.Top = top;
        m.Pen = m.Left;
        m.AnchorStart = m.Left;
        m.LineHeight = C.TextHeight(QStringLiteral("gh"));
        const TState lineStart = st;
        QString rest = s;
        QString part = LinePass(rest, st, m);
        if (part.isEmpty() && rest == s && !rest.isEmpty()) {
            // Nothing fitted and nothing was taken: take one step so the layout moves on.
            const qsizetype gt = rest.indexOf(QLatin1Char('>'));
            part = rest.left(rest[0] == QLatin1Char('<') && gt >= 0 ? gt + 1 : 1);
            rest.remove(0, part.size());
        }
        if (FoundTop == top && In.HitY >= top + m.LineHeight + m.SubExtra + m.SupExtra) {
            // The point is below this line: the anchor found here is not under it.
            Out.Anchor.clear();
            Out.AnchorTitle.clear();
            Out.LinkUnderPoint = -1;
            Out.HoverRect = QRect();
            FoundTop = -0x7FFFFFFF;
        }
        const int lineWidth = m.Pen - m.Left - m.TrailSpace;
        Out.Width = std::max(Out.Width, lineWidth);
        const int height = m.LineHeight + m.SubExtra + m.SupExtra;
        if (FoundTop == top)
            Out.HoverRect.setBottom(top + height - 1);

        int x = R.left();
        const int right = R.left() + R.width();
        if (st.Align == alRight && right - lineWidth > x)
            x = right - lineWidth;
        else if (st.Align == alCenter && right - R.left() - lineWidth > 0)
            x += (right - R.left() - lineWidth) / 2;
        x += st.Indent;

        if (!In.MeasureOnly) {
            TState drawState = lineStart;
            TPass d;
            d.Measure = false;
            d.Draw = !In.HitOnly;
            d.Left = x;
            d.Right = right;
            d.Top = top;
            d.Bottom = top + height;
            d.Pen = x;
            d.AnchorStart = x;
            d.LineHeight = m.LineHeight;
            d.SubExtra = m.SubExtra;
            d.SupExtra = m.SupExtra;
            d.ImageOffset = m.ImageOffset;
            if (d.Draw && drawState.Band != clNone) {
                const platform::TBrush b = C.Brush;
                C.Brush = platform::TBrush{drawState.Band, platform::TBrushStyle::bsSolid};
                C.FillRect(platform::Rect(R.left(), d.Top, right, d.Bottom));
                C.Brush = b;
            }
            QString again = part;
            LinePass(again, drawState, d);
            st = drawState;
            // Alignment and indent set on this line hold from the measuring pass on.
            st.Align = drawState.Align;
        }
        top += height;
        total += height;
        s = rest;
        if (!In.MeasureOnly && R.top() + R.height() < top + gh)
            break;
    }
    Out.Height = total > 0 ? total : gh;
    Out.LinkCount = st.LinkCount;
    if (In.MeasureOnly)
        Result = false;
    C.Pen = savedPen;
    C.Brush = savedBrush;
    C.Font = savedFont;
    return Result;
}

}  // namespace

bool RenderHTMLText(TCanvas& canvas, const QString& text, const QRect& r, const THTMLRenderInput& in,
                    THTMLRenderResult& out)
{
    TRenderer renderer(canvas, r, in, out);
    return renderer.Run(text);
}

QSize MeasureHTMLText(TCanvas& canvas, const QString& text, const QRect& r, bool wordWrap,
                      const platform::TImageList* images)
{
    THTMLRenderInput in;
    in.MeasureOnly = true;
    in.WordWrap = wordWrap;
    in.Images = images;
    THTMLRenderResult out;
    RenderHTMLText(canvas, text, r, in, out);
    return QSize(out.Width, out.Height);
}

// ---- Text routines ----

QString HTMLToPlainText(const QString& text)
{
    QString s = text;
    s.replace(QLatin1String("<BR>"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    s.replace(QLatin1String("<HR>"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    QString out;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype lt = s.indexOf(QLatin1Char('<'), i);
        if (lt < 0) {
            out += s.mid(i);
            break;
        }
        out += s.mid(i, lt - i);
        const qsizetype gt = s.indexOf(QLatin1Char('>'), lt);
        if (gt < 0) {
            out += s.mid(lt);
            break;
        }
        i = gt + 1;
    }
    return out;
}

QString HTMLEncodeEntities(const QString& text, bool named)
{
    QString s = text;
    s.replace(QLatin1String("&"), QLatin1String("&amp;"));
    s.replace(QLatin1String("\""), QLatin1String("&quot;"));
    s.replace(QLatin1String("<"), QLatin1String("&lt;"));
    s.replace(QLatin1String(">"), QLatin1String("&gt;"));
    if (named)
        for (const TEntity& e : NamedEntities)
            s.replace(QChar(e.Char), QLatin1String(e.Name));
    return s;
}

QString HTMLDecodeEntities(const QString& text, bool named)
{
    QString s = text;
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    // With case: "&Eacute;" and "&eacute;" are different characters.
    if (named)
        for (const TEntity& e : NamedEntities)
            s.replace(QLatin1String(e.Name), QString(QChar(e.Char)));
    return s;
}

QString HTMLEncodeSpaces(const QString& text)
{
    QString s = text;
    return s.replace(QLatin1String(" "), QLatin1String("&nbsp;"));
}

QString HTMLMarkText(const QString& html, const QString& search, const QString& tag, bool caseSensitive)
{
    if (search.isEmpty())
        return html;
    // The visible text and, for each of its characters, where it stands in the mark-up.
    auto visibleOf = [](const QString& h, std::vector<qsizetype>& at) {
        QString vis;
        at.clear();
        qsizetype i = 0;
        while (i < h.size()) {
            if (h[i] == QLatin1Char('<')) {
                const qsizetype gt = h.indexOf(QLatin1Char('>'), i);
                if (gt >= 0) {
                    i = gt + 1;
                    continue;
                }
            }
            vis += h[i];
            at.push_back(i);
            ++i;
        }
        return vis;
    };
    QString h = html;
    QString s = search;
    std::vector<qsizetype> at;
    QString vis = visibleOf(h, at);
    if (h.contains(s) && (vis.contains(QLatin1Char('<')) || vis.contains(QLatin1Char('>')))) {
        auto escape = [](QString t) {
            return t.replace(QLatin1String("<"), QLatin1String("&lt;")).replace(QLatin1String(">"), QLatin1String("&gt;"));
        };
        h = escape(vis);
        s = escape(s);
        vis = visibleOf(h, at);
    }
    const QLocale locale;
    const QString hay = caseSensitive ? vis : locale.toUpper(vis);
    const QString needle = caseSensitive ? s : locale.toUpper(s);
    if (hay.size() != vis.size())
        return html;  // the upper-cased text no longer lines up with the visible text
    // A visible position maps to the mark-up position just after the visible character before it.
    auto mapped = [&](qsizetype v) { return v == 0 ? qsizetype(0) : at[size_t(v - 1)] + 1; };
    std::vector<std::pair<qsizetype, qsizetype>> finds;
    for (qsizetype f = hay.indexOf(needle); f >= 0; f = hay.indexOf(needle, f + needle.size()))
        finds.emplace_back(f, f + needle.size());
    const QString open = QLatin1Char('<') + tag + QLatin1Char('>');
    const QString close = QLatin1String("</") + tag + QLatin1Char('>');
    for (auto it = finds.rbegin(); it != finds.rend(); ++it) {
        h.insert(mapped(it->second), close);
        h.insert(mapped(it->first), open);
    }
    return h;
}

QString HTMLUnmarkText(const QString& html, const QString& tag)
{
    QString s = html;
    s.replace(QLatin1Char('<') + tag + QLatin1Char('>'), QString(), Qt::CaseInsensitive);
    s.replace(QLatin1String("</") + tag + QLatin1Char('>'), QString(), Qt::CaseInsensitive);
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    return s;
}

bool HTMLHasControls(const QString& text) { return text.contains(QLatin1String("<CONTROL"), Qt::CaseInsensitive); }

QString HTMLNextControlID(const QString& html, const QString& id)
{
    const auto controls = FindControls(html);
    bool after = id.isEmpty();
    for (const TControlTag& c : controls) {
        if (!after) {
            after = c.ID == id;
            continue;
        }
        if (c.Type != QLatin1String("BUTTON") && c.Type != QLatin1String("CHECK") && c.Type != QLatin1String("RADIO"))
            return c.ID;
    }
    return QString();
}

int HTMLGetControlValue(const QString& html, const QString& id, QString& value)
{
    const auto controls = FindControls(html);
    const TControlTag* c = ControlWithID(controls, id);
    if (!c)
        return 0;
    value = HTMLDecodeEntities(AttrText(c->Attrs, "VALUE"), true);
    return 1;
}

QString HTMLGetControlProp(const QString& html, const QString& id)
{
    const auto controls = FindControls(html);
    const TControlTag* c = ControlWithID(controls, id);
    return c ? HTMLDecodeEntities(AttrText(c->Attrs, "PROP"), true) : QString();
}

int HTMLGetControlMaxLen(const QString& html, const QString& id)
{
    const auto controls = FindControls(html);
    const TControlTag* c = ControlWithID(controls, id);
    return c ? LeadingNumber(AttrText(c->Attrs, "MAXLEN")) : 0;
}

int HTMLSetControlValue(QString& html, const QString& id, const QString& value)
{
    const auto controls = FindControls(html);
    const TControlTag* c = ControlWithID(controls, id);
    if (!c)
        return 0;
    auto quoted = [](const QString& v) { return QLatin1Char('"') + v + QLatin1Char('"'); };
    QString tag = QStringLiteral("<CONTROL ID=") + quoted(c->ID) +
                  QStringLiteral(" VALUE=") + quoted(HTMLEncodeEntities(value, true)) +
                  QStringLiteral(" WIDTH=") + quoted(AttrText(c->Attrs, "WIDTH")) +
                  QStringLiteral(" TYPE=") + quoted(AttrText(c->Attrs, "TYPE"));
    const QString prop = HTMLDecodeEntities(AttrText(c->Attrs, "PROP"), true);
    if (!prop.isEmpty())
        tag += QStringLiteral(" PROP=") + quoted(HTMLEncodeEntities(prop, true));
    const QString maxLen = AttrText(c->Attrs, "MAXLEN");
    if (!maxLen.isEmpty())
        tag += QStringLiteral(" MAXLEN=") + quoted(maxLen);
    tag += QLatin1Char('>');
    html.replace(c->Start, c->End - c->Start, tag);
    return 1;
}

QString HTMLClearRadios(const QString& html)
{
    QString s = html;
    QStringList ids;
    for (const TControlTag& c : FindControls(html))
        if (c.Type == QLatin1String("RADIO"))
            ids << c.ID;
    for (const QString& id : ids)
        HTMLSetControlValue(s, id, QStringLiteral("FALSE"));
    return s;
}

TColor HTMLColor(const QString& value)
{
    const QString v = value.trimmed().toLower();
    if (v.contains(QLatin1Char('#'))) {
        const QString hex = v.mid(v.indexOf(QLatin1Char('#')) + 1).toUpper();
        auto digit = [&](int i) -> int {
            if (i >= hex.size())
                return 0;
            const int c = hex[i].unicode();
            const int d = c < 'A' ? c - 48 : c - 55;
            return std::clamp(d, 0, 15);
        };
        const int red = digit(0) * 16 + digit(1), green = digit(2) * 16 + digit(3), blue = digit(4) * 16 + digit(5);
        return TColor(red + green * 256 + blue * 65536);
    }
    static const std::pair<const char*, TColor> names[] = {
        {"clred", 0x0000FF},          {"clblack", 0x000000},           {"clblue", 0xFF0000},
        {"clgreen", 0x008000},        {"claqua", 0xFFFF00},            {"clyellow", 0x00FFFF},
        {"clfuchsia", 0xFF00FF},      {"clwhite", 0xFFFFFF},           {"cllime", 0x00FF00},
        {"clsilver", 0xC0C0C0},       {"clgray", 0x808080},            {"clolive", 0x008080},
        {"clnavy", 0x800000},         {"clpurple", 0x800080},          {"clteal", 0x808000},
        {"clmaroon", 0x000080},       {"clbackground", 0xFF000001},    {"clactivecaption", 0xFF000002},
        {"clinactivecaption", 0xFF000003}, {"clmenu", 0xFF000004},     {"clwindow", 0xFF000005},
        {"clwindowframe", 0xFF000006}, {"clmenutext", 0xFF000007},     {"clwindowtext", 0xFF000008},
        {"clcaptiontext", 0xFF000009}, {"clactiveborder", 0xFF00000A}, {"clinactiveborder", 0xFF00000B},
        {"clappworkspace", 0xFF00000C}, {"clhighlight", 0xFF00000D},   {"clhighlighttext", 0xFF00000E},
        {"clbtnface", 0xFF00000F},    {"clbtnshadow", 0xFF000010},     {"clgraytext", 0xFF000011},
        {"clbtntext", 0xFF000012},    {"clinactivecaptiontext", 0xFF000013}, {"clbtnhighlight", 0xFF000014},
        {"cl3ddkshadow", 0xFF000015}, {"cl3dlight", 0xFF000016},       {"clinfotext", 0xFF000017},
        {"clinfobk", 0xFF000018},
    };
    for (const auto& [name, color] : names)
        if (v == QLatin1String(name))
            return color;
    return platform::clBlack;
}

}  // namespace controls

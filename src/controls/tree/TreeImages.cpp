#include "controls/tree/TreeImages.h"

#include "controls/tree/ClipboardFormats.h"
#include "controls/tree/NodeTreeTypes.h"
#include "platform/PanGlyph.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>

namespace tree {

namespace {

using platform::TImageList;

constexpr int ImageSize = 16;
// The four colours a mapped bitmap is drawn in, and the mask colour around them.
constexpr QRgb White = 0xFFFFFFFF, Silver = 0xFFC0C0C0, Gray = 0xFF808080, Black = 0xFF000000,
               Mask = 0xFFFF00FF;

// How one look of check images is drawn.
struct TCheckLook {
    QRgb Frame;
    QRgb Mark;
    bool Sunken;  // a two-tone 3-D frame instead of a single line
    int MarkWidth;
    bool Tick;    // a slim tick instead of a check mark
};

enum class TButtonState { Normal, Hot, Pressed, Disabled };

void DrawMark(QPainter& p, const TCheckLook& look, QRgb colour)
{
    p.setPen(QPen(QColor::fromRgb(colour), look.MarkWidth));
    if (look.Tick)
        p.drawPolyline(QPolygon({QPoint(5, 8), QPoint(7, 10), QPoint(11, 5)}));
    else
        p.drawPolyline(QPolygon({QPoint(4, 7), QPoint(6, 10), QPoint(11, 4)}));
}

// kind: 0 radio button, 1 check box, 2 three-state box (mixed when checked).
QImage CheckCell(const TCheckLook& look, int kind, bool checked, TButtonState state)
{
    QImage img(ImageSize, ImageSize, QImage::Format_RGB32);
    img.fill(Mask);
    QPainter p(&img);
    const bool disabled = state == TButtonState::Disabled;
    const QColor fill = QColor::fromRgb(state == TButtonState::Pressed || disabled ? Silver : White);
    const QColor frame = QColor::fromRgb(disabled ? Gray : look.Frame);
    const QRgb mark = disabled ? Gray : look.Mark;
    if (kind == 0) {
        p.setPen(frame);
        p.setBrush(fill);
        p.drawEllipse(2, 2, 11, 11);
        if (state == TButtonState::Hot) {
            p.setPen(QColor::fromRgb(Gray));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(3, 3, 9, 9);
        }
        if (checked) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(mark));
            p.drawRect(6, 6, 4, 4);
        }
        return img;
    }
    p.fillRect(2, 2, 12, 12, fill);
    if (look.Sunken) {
        p.setPen(QColor::fromRgb(Gray));
        p.drawLine(1, 1, 14, 1);
        p.drawLine(1, 1, 1, 14);
        p.setPen(QColor::fromRgb(White));
        p.drawLine(1, 14, 14, 14);
        p.drawLine(14, 1, 14, 14);
        p.setPen(frame);
        p.drawLine(2, 2, 13, 2);
        p.drawLine(2, 2, 2, 13);
    } else {
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        p.drawRect(1, 1, 13, 13);
    }
    if (state == TButtonState::Hot) {
        p.setPen(QColor::fromRgb(Gray));
        p.setBrush(Qt::NoBrush);
        p.drawRect(3, 3, 10, 10);
    }
    if (checked && kind == 2)
        p.fillRect(5, 5, 6, 6, QColor::fromRgb(Gray));
    else if (checked)
        DrawMark(p, look, mark);
    return img;
}

QImage PushButtonCell(TButtonState state)
{
    QImage img(ImageSize, ImageSize, QImage::Format_RGB32);
    img.fill(Mask);
    QPainter p(&img);
    p.fillRect(1, 1, 14, 14, QColor::fromRgb(Silver));
    const bool pressed = state == TButtonState::Pressed;
    const QRgb light = state == TButtonState::Disabled ? Silver : White;
    const QRgb dark = state == TButtonState::Disabled ? Gray : Black;
    p.setPen(QColor::fromRgb(pressed ? dark : light));
    p.drawLine(1, 1, 14, 1);
    p.drawLine(1, 1, 1, 14);
    p.setPen(QColor::fromRgb(pressed ? light : dark));
    p.drawLine(1, 14, 14, 14);
    p.drawLine(14, 1, 14, 14);
    if (state == TButtonState::Hot) {
        p.setPen(QColor::fromRgb(Gray));
        p.drawLine(2, 13, 13, 13);
        p.drawLine(13, 2, 13, 13);
    }
    return img;
}

QImage CheckStrip(const TCheckLook& look)
{
    QImage strip(ImageSize * CheckImageIndex::Count, ImageSize, QImage::Format_RGB32);
    strip.fill(Mask);
    QPainter p(&strip);
    int x = ImageSize;  // cell 0 stays empty
    const auto put = [&](const QImage& cell) {
        p.drawImage(x, 0, cell);
        x += ImageSize;
    };
    const TButtonState states[] = {TButtonState::Normal, TButtonState::Hot, TButtonState::Pressed, TButtonState::Disabled};
    for (bool checked : {false, true})
        for (TButtonState s : states)
            put(CheckCell(look, 0, checked, s));
    for (int box = 0; box < 3; ++box)
        for (TButtonState s : states)
            put(CheckCell(look, box == 2 ? 2 : 1, box > 0, s));
    for (TButtonState s : states)
        put(PushButtonCell(s));
    return strip;
}

QImage Triangle(bool horizontal, bool forward, QRgb colour, bool outline)
{
    QImage img(ImageSize, ImageSize, QImage::Format_RGB32);
    img.fill(Mask);
    QPainter p(&img);
    QPolygon tri;
    if (horizontal)
        tri = forward ? QPolygon({QPoint(0, 3), QPoint(6, 8), QPoint(0, 13)})
                      : QPolygon({QPoint(15, 3), QPoint(9, 8), QPoint(15, 13)});
    else
        tri = forward ? QPolygon({QPoint(4, 6), QPoint(12, 6), QPoint(8, 10)})   // pointing down
                      : QPolygon({QPoint(4, 10), QPoint(12, 10), QPoint(8, 6)});  // pointing up
    p.setPen(QColor::fromRgb(colour));
    p.setBrush(outline ? QBrush(Qt::NoBrush) : QBrush(QColor::fromRgb(colour)));
    p.drawPolygon(tri);
    return img;
}

QImage UtilityStrip()
{
    const QImage cells[UtilityImageIndex::Count] = {
        Triangle(true, true, Black, false), Triangle(true, false, Black, false),
        Triangle(false, true, Gray, false), Triangle(false, false, Gray, false),
        Triangle(false, true, Gray, true),  Triangle(false, false, Gray, true),
    };
    QImage strip(ImageSize * UtilityImageIndex::Count, ImageSize, QImage::Format_RGB32);
    QPainter p(&strip);
    for (int i = 0; i < UtilityImageIndex::Count; ++i)
        p.drawImage(i * ImageSize, 0, cells[i]);
    return strip;
}

// A double arrow across a double bar; the vertical form is the horizontal one turned.
TCursorData SplitCursor(bool vertical)
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QPolygon shape({QPoint(3, 16), QPoint(8, 11), QPoint(8, 14), QPoint(14, 14), QPoint(14, 8),
                              QPoint(17, 8), QPoint(17, 14), QPoint(23, 14), QPoint(23, 11), QPoint(28, 16),
                              QPoint(23, 21), QPoint(23, 18), QPoint(17, 18), QPoint(17, 24), QPoint(14, 24),
                              QPoint(14, 18), QPoint(8, 18), QPoint(8, 21)});
        p.setPen(Qt::white);
        p.setBrush(Qt::black);
        p.drawPolygon(shape);
    }
    if (vertical)
        img = img.transformed(QTransform().rotate(90));
    return {img, QPoint(16, 16)};
}

constexpr QRgb PanningMask = 0xFFFF00FF;
const QPoint North(0, -1), South(0, 1), West(-1, 0), East(1, 0);

struct TPanningShape {
    const char* Name;
    std::initializer_list<QPoint> Arrows;
};
const TPanningShape PanningShapes[] = {
    {"TV_MOVEALL", {North, South, West, East}},
    {"TV_MOVEEW", {West, East}},
    {"TV_MOVENS", {North, South}},
    {"TV_MOVEN", {North}},
    {"TV_MOVES", {South}},
    {"TV_MOVEW", {West}},
    {"TV_MOVEE", {East}},
    {"TV_MOVENW", {North + West}},
    {"TV_MOVENE", {North + East}},
    {"TV_MOVESW", {South + West}},
    {"TV_MOVESE", {South + East}},
};

QImage PanningBitmap(const char* name)
{
    for (const TPanningShape& s : PanningShapes)
        if (qstrcmp(s.Name, name) == 0)
            return platform::PanningGlyph(s.Arrows, QColor::fromRgb(PanningMask)).convertToFormat(QImage::Format_RGB32);
    return QImage();
}

struct TResource {
    const char* Name;
    QImage (*Make)();
};

const TResource Resources[] = {
    {"TV_CHECK_LIGHT", [] { return CheckStrip({Black, Black, true, 2, false}); }},
    {"TV_CHECK_DARK", [] { return CheckStrip({Black, Black, false, 2, false}); }},
    {"TV_TICK_LIGHT", [] { return CheckStrip({Black, Black, true, 1, true}); }},
    {"TV_TICK_DARK", [] { return CheckStrip({Black, Black, false, 1, true}); }},
    {"TV_FLAT", [] { return CheckStrip({Gray, Black, false, 1, false}); }},
    // The XP look keeps its own colours: it is never colour-mapped.
    {"TV_XP", [] { return CheckStrip({0xFF1C5180, 0xFF21A121, false, 2, false}); }},
    {"TV_UTILITIES", &UtilityStrip},
    // The wheel panning window's pictures; clFuchsia is outside the window.
    {"TV_MOVEALL", [] { return PanningBitmap("TV_MOVEALL"); }},
    {"TV_MOVEEW", [] { return PanningBitmap("TV_MOVEEW"); }},
    {"TV_MOVENS", [] { return PanningBitmap("TV_MOVENS"); }},
};

// Lists by check image kind (ckCustom has none) and the utility images.
struct TTreeModule {
    std::mutex Lock;  // serialises image loading
    int Users = 0;
    int Starts = 0;
    std::array<std::unique_ptr<TImageList>, ckSystemDefault + 1> Checks;
    std::unique_ptr<TImageList> Utilities;
    TCursorData HeaderSplit, VertSplit;
};

TTreeModule& Module()
{
    static TTreeModule module;
    return module;
}

struct TMappedList {
    TCheckImageKind Kind;
    const char* Name;
};
constexpr TMappedList MappedLists[] = {
    {ckLightCheck, "TV_CHECK_LIGHT"}, {ckDarkCheck, "TV_CHECK_DARK"}, {ckLightTick, "TV_TICK_LIGHT"},
    {ckDarkTick, "TV_TICK_DARK"}, {ckFlat, "TV_FLAT"},
};

void LoadMapped(TTreeModule& m)
{
    for (const TMappedList& l : MappedLists)
        LoadInternalImage(*m.Checks[l.Kind], QString::fromLatin1(l.Name), true);
    LoadInternalImage(*m.Utilities, QStringLiteral("TV_UTILITIES"), true);
}

}  // namespace

QImage InternalBitmap(const QString& name)
{
    for (const TResource& r : Resources)
        if (name == QLatin1String(r.Name))
            return r.Make();
    return QImage();
}

TCursorData InternalCursor(const QString& name)
{
    for (const TPanningShape& s : PanningShapes)
        if (name == QLatin1String(s.Name))
            return {platform::PanningGlyph(s.Arrows, Qt::transparent), QPoint(16, 16)};
    return {};
}

void LoadInternalImage(platform::TImageList& list, const QString& name, bool colourMapping)
{
    std::lock_guard lock(Module().Lock);
    QImage bitmap = InternalBitmap(name).convertToFormat(QImage::Format_RGB32);
    if (bitmap.height() < 1)
        RaiseAssertion(QStringLiteral("Internal image \"%1\" is missing or corrupt.").arg(name));
    if (colourMapping) {
        const QRgb to[4] = {platform::ToQColor(platform::clWindow).rgb(), platform::ToQColor(platform::clBtnFace).rgb(),
                            platform::ToQColor(platform::clBtnShadow).rgb(), platform::ToQColor(platform::clBtnText).rgb()};
        for (int y = 0; y < bitmap.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
            for (int x = 0; x < bitmap.width(); ++x)
                switch (line[x]) {
                case White: line[x] = to[0]; break;
                case Silver: line[x] = to[1]; break;
                case Gray: line[x] = to[2]; break;
                case Black: line[x] = to[3]; break;
                default: break;
                }
        }
    }
    list.Clear();
    list.SetSize(bitmap.height(), bitmap.height());
    const QRgb mask = bitmap.pixel(0, 0);
    list.AddMasked(bitmap.copy(0, 0, bitmap.width() / bitmap.height() * bitmap.height(), bitmap.height()),
                   platform::FromQColor(QColor::fromRgb(mask)));
}

void BuildSystemCheckImages(platform::TImageList& list, bool flat)
{
    QStyle* style = qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::style() : nullptr;
    const int w = style ? style->pixelMetric(QStyle::PM_IndicatorWidth) : ImageSize;
    const int h = style ? style->pixelMetric(QStyle::PM_IndicatorHeight) : ImageSize;
    list.Clear();
    list.SetSize(w, h);
    const auto blank = [&] {
        QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        return img;
    };
    list.Add(blank());
    for (int i = 0; i < 20; ++i) {
        QImage img = blank();
        if (style) {
            QStyleOptionButton opt;
            opt.rect = QRect(0, 0, w, h);
            const int s = i % 4;
            opt.state = s == 3 ? QStyle::State_None : QStyle::State_Enabled;
            if (s == 1)
                opt.state |= QStyle::State_MouseOver;
            if (s == 2)
                opt.state |= QStyle::State_Sunken;
            const bool checked = (i >= 4 && i <= 7) || (i >= 12 && i <= 19);
            opt.state |= !checked ? QStyle::State_Off : i >= 16 ? QStyle::State_NoChange : QStyle::State_On;
            if (flat)
                opt.features |= QStyleOptionButton::Flat;
            QPainter p(&img);
            style->drawPrimitive(i < 8 ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &opt, &p);
        }
        list.Add(img);
    }
    TImageList* source = InternalCheckImages(flat ? ckFlat : ckDarkCheck);
    for (int i = CheckImageIndex::PushButton; i < CheckImageIndex::Count; ++i) {
        QImage img = blank();
        if (source) {
            QPainter p(&img);
            source->Draw(p, (w - source->Width()) / 2, (h - source->Height()) / 2, i);
        }
        list.Add(img);
    }
}

void StartTreeModule()
{
    TTreeModule& m = Module();
    if (++m.Users != 1)
        return;
    ++m.Starts;
    RegisterStandardTreeFormats();
    for (int k = 0; k <= ckSystemDefault; ++k)
        if (k != ckCustom)
            m.Checks[size_t(k)] = std::make_unique<TImageList>(ImageSize, ImageSize);
    m.Utilities = std::make_unique<TImageList>(ImageSize, ImageSize);
    LoadMapped(m);
    LoadInternalImage(*m.Checks[ckXP], QStringLiteral("TV_XP"), false);
    BuildSystemCheckImages(*m.Checks[ckSystemDefault], false);
    BuildSystemCheckImages(*m.Checks[ckSystemFlat], true);
    m.HeaderSplit = SplitCursor(false);
    m.VertSplit = SplitCursor(true);
}

void StopTreeModule()
{
    TTreeModule& m = Module();
    if (m.Users == 0)
        return;
    m.Users = 0;
    for (auto& list : m.Checks)
        list.reset();
    m.Utilities.reset();
    m.HeaderSplit = {};
    m.VertSplit = {};
}

int TreeModuleStartCount() { return Module().Starts; }

void ReloadMappedImages()
{
    TTreeModule& m = Module();
    if (m.Users)
        LoadMapped(m);
}

platform::TImageList* InternalCheckImages(TCheckImageKind kind)
{
    return kind >= 0 && kind <= ckSystemDefault ? Module().Checks[size_t(kind)].get() : nullptr;
}

platform::TImageList* UtilityImages() { return Module().Utilities.get(); }

const TCursorData* ScreenCursor(int slot)
{
    TTreeModule& m = Module();
    if (!m.Users)
        return nullptr;
    return slot == CursorHeaderSplit ? &m.HeaderSplit : slot == CursorVertSplit ? &m.VertSplit : nullptr;
}

}  // namespace tree

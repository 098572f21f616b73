#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"

namespace grid {

using platform::clInfoText;
using platform::DT_CALCRECT;
using platform::DT_CENTER;
using platform::DT_NOPREFIX;
using platform::DT_SINGLELINE;
using platform::DT_VCENTER;
using platform::DT_WORDBREAK;

namespace {

constexpr int MaxBalloonText = 2048;
constexpr int MaxBalloonTitle = 100;

// Mark-up to the text it shows: line-break and rule tags become line breaks, other tags go.
QString HtmlToPlain(QString text)
{
    static const QRegularExpression breaks(QStringLiteral("<(BR|HR)>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    text.replace(breaks, QStringLiteral("\r\n"));
    text.remove(tags);
    return text;
}

QString Shortened(const QString& text, int limit)
{
    return text.size() > limit ? text.left(limit - 3) + QStringLiteral("...") : text;
}

}  // namespace

// The balloon window: a title line with its icon over the word-wrapped text, in the grid's balloon
// colours.
class TBalloonWindow : public platform::THintWindow {
public:
    using THintWindow::THintWindow;

    static constexpr int MaxTipWidth = 300;
    static constexpr int Margin = 6;
    static constexpr int IconSize = 16;

    void Show(const QPoint& globalPos, const TBalloonText& balloon, const TBalloonSettings& settings)
    {
        FTitle = balloon.Title;
        FIcon = balloon.Icon;
        FColor = settings.BackgroundColor == clNone ? clInfoBk : settings.BackgroundColor;
        FTextColor = settings.TextColor == clNone ? clInfoText : settings.TextColor;
        setWindowOpacity(settings.Transparency > 0 ? (255 - std::min(settings.Transparency, 255)) / 255.0 : 1.0);
        const QSize size = Measure(balloon.Text);
        // Below the pointer, as far down as a cursor is high, so the pointer leaves the cell visible.
        ActivateHint(QRect(globalPos + QPoint(0, 20), size), balloon.Text);
    }
    const QString& Title() const { return FTitle; }
    TBalloonIcon Icon() const { return FIcon; }

protected:
    void Paint(platform::TCanvas& canvas) override
    {
        const QRect r = rect();
        canvas.Brush = platform::TBrush{FColor, platform::TBrushStyle::bsSolid};
        canvas.Pen = platform::TPen{clGray};
        canvas.Rectangle(r);
        int x = Margin;
        if (FIcon != biNone) {
            PaintIcon(canvas, QRect(x, Margin, IconSize, IconSize));
            x += IconSize + 4;
        }
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        canvas.Font = TitleFont();
        QRect title(x, Margin, r.width() - Margin, Margin + std::max(IconSize, canvas.TextHeight(FTitle)));
        canvas.DrawText(FTitle, title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        canvas.Font = BodyFont();
        QRect body(Margin, title.bottom() + 4, r.width() - Margin, r.height() - Margin);
        canvas.DrawText(Caption(), body, DT_WORDBREAK | DT_NOPREFIX);
    }

private:
    platform::TFont TitleFont() const
    {
        platform::TFont f = BodyFont();
        f.setBold(true);
        return f;
    }
    platform::TFont BodyFont() const
    {
        platform::TFont f = HintFont();
        f.Color = FTextColor;
        return f;
    }
    QSize Measure(const QString& text) const
    {
        platform::TCanvas canvas;
        canvas.Font = TitleFont();
        const int iconWidth = FIcon != biNone ? IconSize + 4 : 0;
        const int titleHeight = std::max(IconSize, canvas.TextHeight(FTitle));
        int width = iconWidth + canvas.TextWidth(FTitle);
        canvas.Font = BodyFont();
        QRect body(0, 0, MaxTipWidth, 0);
        if (!text.isEmpty())
            canvas.DrawText(text, body, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        else
            body.setHeight(0);
        width = std::min(std::max(width, body.width()), MaxTipWidth);
        return QSize(width + 2 * Margin, titleHeight + 4 + body.height() + 2 * Margin);
    }
    void PaintIcon(platform::TCanvas& canvas, const QRect& r) const
    {
        static const TColor colors[] = {clNone, TColor(0xCC6600), TColor(0x00C8F0), TColor(0x2020D0)};
        static const char* marks[] = {"", "i", "!", "x"};
        canvas.Brush = platform::TBrush{colors[FIcon], platform::TBrushStyle::bsSolid};
        canvas.Pen = platform::TPen{colors[FIcon]};
        if (FIcon == biWarning)
            canvas.Polygon(QPolygon({QPoint(r.center().x(), r.top()), QPoint(r.right(), r.bottom()),
                                     QPoint(r.left(), r.bottom())}));
        else
            canvas.Ellipse(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        platform::TFont f = TitleFont();
        f.Color = FIcon == biWarning ? clBlack : clWhite;
        canvas.Font = f;
        QRect mark = r.adjusted(0, FIcon == biWarning ? 2 : 0, 0, 0);
        canvas.DrawText(QString::fromLatin1(marks[FIcon]), mark, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }

    QString FTitle;
    TBalloonIcon FIcon = biInfo;
    TColor FColor = clInfoBk;
    TColor FTextColor = clInfoText;
};

// Shows the balloon when the mouse rests on a cell: after the initial delay, after the shorter
// reshow delay when it moves on from a shown balloon, and hides it after the auto-hide delay, when
// the mouse leaves, presses, turns the wheel or a key is pressed. The platform's usual delays
// stand in for those left at -1.
class TBalloonTip : public QObject {
public:
    static constexpr int SystemInitialDelay = 500;
    static constexpr int SystemReshowDelay = 100;
    static constexpr int SystemAutoHideDelay = 5000;

    explicit TBalloonTip(TExtStringGrid* grid) : QObject(grid), FGrid(grid), FClient(grid->viewport())
    {
        // The mouse goes to the client area, the keys and the focus to the grid itself.
        grid->installEventFilter(this);
        FClient->installEventFilter(this);
    }

    TBalloonWindow* Window() const { return FWindow.data(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Compared as plain objects: the grid also reports events while it is being destroyed.
        if (watched != static_cast<QObject*>(FGrid) && watched != FClient)
            return false;
        switch (event->type()) {
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->buttons() != Qt::NoButton)
                Hide();
            else
                Moved(e->position().toPoint());
            break;
        }
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::Hide:
        case QEvent::FocusOut:
            Hide();
            break;
        default:
            break;
        }
        return false;
    }

private:
    static int Delay(int value, int system) { return value >= 0 ? value : system; }

    TGridCoord CellAt(const QPoint& p)
    {
        const QPoint at = FGrid->ClientToGrid(p);
        TGridCoord cell = FGrid->MouseToCell(at.x(), at.y());
        if (cell.X >= 0 && cell.Y >= 0) {
            const TPoint base = FGrid->BaseCell(cell.X, cell.Y);
            cell = {base.X, base.Y};
        }
        return cell;
    }

    void Moved(const QPoint& p)
    {
        FPos = p;
        if (!FGrid->Balloon.Enable) {
            Hide();
            return;
        }
        const TGridCoord cell = CellAt(p);
        const bool shown = FWindow && FWindow->isVisible();
        if (shown && cell == FCell)
            return;
        if (!shown && FTimer.IsActive() && cell == FCell)
            return;
        FCell = cell;
        const int delay = shown ? Delay(FGrid->Balloon.ReshowDelay, SystemReshowDelay)
                                : Delay(FGrid->Balloon.InitialDelay, SystemInitialDelay);
        if (shown)
            FWindow->ReleaseHint();
        FTimer.Start(delay, this, [this] { Show(); });
    }

    void Show()
    {
        TBalloonText balloon;
        const QPoint at = FGrid->ClientToGrid(FPos);
        if (!FGrid->isVisible() || !FGrid->BalloonTextAt(at.x(), at.y(), balloon))
            return;
        if (balloon.Text.isEmpty())
            return;  // a tip with nothing to say stays away
        if (!FWindow)
            FWindow = new TBalloonWindow(FGrid);
        FWindow->SetHideTimeout(Delay(FGrid->Balloon.AutoHideDelay, SystemAutoHideDelay));
        FWindow->Show(FClient->mapToGlobal(FPos), balloon, FGrid->Balloon);
    }

    void Hide()
    {
        FTimer.Stop();
        FCell = {-1, -1};
        if (FWindow)
            FWindow->ReleaseHint();
    }

    TExtStringGrid* FGrid;
    QWidget* FClient;
    QPointer<TBalloonWindow> FWindow;  // a child of the grid
    platform::ClockTimer FTimer;
    TGridCoord FCell{-1, -1};
    QPoint FPos;
};

TExtStringGrid::TBalloonHook::TBalloonHook(TExtStringGrid* grid) : Tip(new TBalloonTip(grid)) {}

platform::THintWindow* TExtStringGrid::BalloonWindow() const { return FBalloonHook.Tip->Window(); }

bool TExtStringGrid::BalloonTextAt(int x, int y, TBalloonText& balloon)
{
    if (!Balloon.Enable)
        return false;
    balloon = TBalloonText{};
    TGridCoord cell = MouseToCell(x, y);
    const bool hit = cell.X >= 0 && cell.Y >= 0;
    QString text;
    if (hit) {
        const TPoint base = BaseCell(cell.X, cell.Y);
        cell = {base.X, base.Y};
        const int rc = RealColIndex(cell.X);
        text = GetCellsEx(rc, cell.Y);
        switch (DetectTextKind(text, EnableHTML)) {
        case tkHTML:
            text = HtmlToPlain(text);
            break;
        case tkRTF:
            text = RichTextToPlain(text);
            break;
        case tkWide:
            text = DecodeWideText(text);
            break;
        default:
            break;
        }
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        int start = 0;
        while (start < text.size() && (text[start] == '\r' || text[start] == '\n'))
            ++start;
        text = Shortened(text.mid(start), MaxBalloonText);

        QString title, body;
        TBalloonIcon icon = biInfo;
        if (IsBalloon(rc, cell.Y, title, body, icon)) {
            balloon.Title = title;
            text = body;
            balloon.Icon = icon;
        }
    }
    if (balloon.Title.isEmpty())
        balloon.Title = QStringLiteral(" ");
    if (OnCellBalloon)
        OnCellBalloon(this, cell.X, cell.Y, balloon.Title, text, balloon.Icon);
    FLastBalloonCell = cell;
    balloon.Text = text;
    balloon.Title = Shortened(balloon.Title, MaxBalloonTitle);
    return true;
}

// Row and cell hooks.

void TExtStringGrid::FixedEdit(int c, int r, TGridFixedCellEditor& editor, QStringList& values)
{
    if (OnFixedEdit)
        OnFixedEdit(this, c, r, editor, values);
}

void TExtStringGrid::SelectionChanged(int left, int top, int right, int bottom)
{
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007)
        Invalidate();
    FSelectionChanged = true;
    if (OnSelectionChanged)
        OnSelectionChanged(this, left, top, right, bottom);
}

void TExtStringGrid::InsertRowAuto(int r)
{
    if (NumNodes() == 0)
        InsertRows(r, 1);
    else if (GetParentRow(r) < 0)
        InsertNormalRow(DisplToRealRow(r));
    else
        InsertChildRow(DisplToRealRow(r), 0);
}

void TExtStringGrid::DeleteRowAuto(int r)
{
    if (NumNodes() > 0) {
        if (GetParentRow(r) < 0)
            RemoveNormalRow(DisplToRealRow(r));
        else
            RemoveChildRow(DisplToRealRow(r));
    } else if (RowCount() - FixedRows() - FixedFooters == 1 && !FixedRowAlways) {
        ClearRows(r, 1);
    } else {
        RemoveRowsRaw(r, 1);
    }
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, r);
}

void TExtStringGrid::FilterDone()
{
    if (OnFilterDone)
        OnFilterDone(this);
}

void TExtStringGrid::GetFilterCellText(int c, int r, QString& value) { value = Cells(c, r); }

}  // namespace grid

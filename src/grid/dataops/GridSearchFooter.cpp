#include "grid/dataops/GridSearchFooter.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridPaint.h"
#include "grid/dataops/GridSelectionOps.h"
#include "platform/TCanvas.h"

namespace grid::dataops {

namespace {

constexpr TColor NotFoundColor = 0x0000FF;  // red
constexpr TColor WindowColor = 0xFF000005;   // the system window colour

enum TGlyphKind { gkDown, gkUp, gkClose, gkHighlight };

// The buttons' pictures: arrows, a cross and a marker, in the enabled and the disabled colour.
QIcon Glyph(TGlyphKind kind)
{
    QIcon icon;
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        QPixmap pixmap(12, 12);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor color = mode == QIcon::Normal ? QColor(0x20, 0x40, 0x90) : QColor(0xA0, 0xA0, 0xA0);
        p.setPen(QPen(color, 2));
        p.setBrush(color);
        switch (kind) {
        case gkDown:
            p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(10, 4), QPointF(6, 9)}));
            break;
        case gkUp:
            p.drawPolygon(QPolygonF({QPointF(2, 8), QPointF(10, 8), QPointF(6, 3)}));
            break;
        case gkClose:
            p.drawLine(3, 3, 9, 9);
            p.drawLine(9, 3, 3, 9);
            break;
        case gkHighlight:
            p.setBrush(mode == QIcon::Normal ? QColor(0xFF, 0xE0, 0x40) : QColor(0xD8, 0xD8, 0xD8));
            p.drawRect(2, 3, 8, 6);
            break;
        }
        p.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

QToolButton* MakeButton(QWidget* parent, TGlyphKind kind, const QRect& bounds)
{
    auto* b = new QToolButton(parent);
    b->setIcon(Glyph(kind));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setGeometry(bounds);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

void TRetEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        const auto& handler = e->modifiers() & Qt::ControlModifier ? OnCtrlReturn : OnReturn;
        if (handler)
            handler();
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

TSearchPanelWindow::TSearchPanelWindow(TExtStringGrid& grid)
    : QWidget(grid.Client()), Grid(grid), FEditColor(WindowColor)
{
    hide();
    setAutoFillBackground(false);
    EditControl = new TRetEdit(this);
    EditControl->setGeometry(25, 6, 110, EditControl->sizeHint().height());
    ForwardButton = MakeButton(this, gkDown, {140, 5, 90, 23});
    BackwardButton = MakeButton(this, gkUp, {235, 5, 90, 23});
    ExitButton = MakeButton(this, gkClose, {5, 7, 14, 14});
    HiliteButton = MakeButton(this, gkHighlight, {330, 5, 90, 23});
    HiliteButton->setCheckable(true);
    MatchCase = new QCheckBox(this);
    MatchCase->move(425, 8);
    MatchCase->setFocusPolicy(Qt::NoFocus);
    for (QToolButton* b : {ForwardButton, BackwardButton, HiliteButton})
        b->setEnabled(false);

    connect(EditControl, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    EditControl->OnReturn = [this] {
        if (OnForwardClick)
            OnForwardClick();
    };
    EditControl->OnCtrlReturn = [this] {
        if (OnBackwardClick)
            OnBackwardClick();
    };
    auto relay = [](std::function<void()>& handler) {
        return [&handler] {
            if (handler)
                handler();
        };
    };
    connect(ForwardButton, &QToolButton::clicked, this, relay(OnForwardClick));
    connect(BackwardButton, &QToolButton::clicked, this, relay(OnBackwardClick));
    connect(ExitButton, &QToolButton::clicked, this, relay(OnExitClick));
    connect(HiliteButton, &QToolButton::clicked, this, relay(OnHighlightClick));
}

void TSearchPanelWindow::EditChanged()
{
    const bool any = !EditControl->text().isEmpty();
    for (QToolButton* b : {ForwardButton, BackwardButton, HiliteButton})
        b->setEnabled(any);
    // The grid's accelerators for the buttons follow them.
    TSearchPanel& p = *Grid.SearchPanel;
    if (p.ForwardButton.Enabled != any) {
        p.ForwardButton.Enabled = p.BackwardButton.Enabled = p.HighlightButton.Enabled = any;
        Grid.UpdateSearchPanel();
    }
    if (OnEditChange)
        OnEditChange();
}

void TSearchPanelWindow::UpdateFromSettings()
{
    const TSearchFooter& s = Grid.SearchFooter;
    auto setup = [](QAbstractButton* b, const QString& caption, const QString& hint, bool shown) {
        b->setText(caption);
        b->setToolTip(hint.toHtmlEscaped());
        b->setVisible(shown);
    };
    setup(ForwardButton, s.FindNextCaption, s.HintFindNext, s.ShowFindNext);
    setup(BackwardButton, s.FindPrevCaption, s.HintFindPrev, s.ShowFindPrev);
    setup(HiliteButton, s.HighLightCaption, s.HintHighlight, s.ShowHighLight);
    // The grid answers these accelerators; a button's own would make the key ambiguous, so that
    // the first press only focused the button.
    for (QToolButton* b : {ForwardButton, BackwardButton, HiliteButton})
        b->setShortcut(QKeySequence());
    setup(ExitButton, QString(), s.HintClose, s.ShowClose);
    setup(MatchCase, s.MatchCaseCaption, QString(), s.ShowMatchCase);
    // The grid's control style decides whether the buttons are flat; following the system
    // theme makes them flat too.
    const bool theme = Grid.AutoThemeAdapt();
    bool flat = ForwardButton->autoRaise();
    switch (Grid.ControlLook.ControlStyle) {
    case csClassic: flat = false; break;
    case csFlat: flat = true; break;
    case csWinXP:
    case csTheme: flat = !theme; break;
    default: break;
    }
    if (theme)
        flat = true;
    for (QToolButton* b : {ForwardButton, BackwardButton, HiliteButton})
        b->setAutoRaise(flat);
    // Hidden parts take no height.
    for (QToolButton* b : {ForwardButton, BackwardButton, HiliteButton})
        b->resize(b->width(), b->isVisibleTo(this) ? 23 : 0);
    MatchCase->adjustSize();
    MatchCase->setGeometry(s.ShowHighLight ? 425 : 330, 8, MatchCase->width(), s.ShowMatchCase ? 18 : 0);
    // The footer's font for every part (the buttons take their parent's), its colour for texts.
    const platform::TFont font = CanvasFont(s.Font);
    setFont(font);
    QPalette pal = palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        pal.setColor(role, platform::ToQColor(font.Color));
    setPalette(pal);
    SetEditColor(FEditColor);
    ColorTo = s.ColorTo;
    const TSearchPanel& p = *Grid.SearchPanel;
    if (p.Visible) {
        setGeometry(0, Grid.ClientHeight() - TSearchPanel::ShownHeight, Grid.ClientWidth(), TSearchPanel::ShownHeight);
        show();
        raise();
    } else {
        hide();
    }
    update();
}

void TSearchPanelWindow::SetEditColor(TColor color)
{
    FEditColor = color;
    QPalette pal = EditControl->palette();
    pal.setColor(QPalette::Base, color == WindowColor ? palette().color(QPalette::Base) : platform::ToQColor(color));
    EditControl->setPalette(pal);
    EditControl->update();
}

void TSearchPanelWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor from = platform::ToQColor(Grid.SearchFooter.Color);
    if (ColorTo == clNone) {
        p.fillRect(rect(), from);
    } else {
        // 32 bands from Color at the top to ColorTo at the bottom.
        const QColor to = platform::ToQColor(ColorTo);
        for (int i = 0; i < 32; ++i) {
            const double t = i / 31.0;
            const QColor band = QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                                                 from.greenF() + (to.greenF() - from.greenF()) * t,
                                                 from.blueF() + (to.blueF() - from.blueF()) * t);
            const int y0 = height() * i / 32, y1 = height() * (i + 1) / 32;
            p.fillRect(0, y0, width(), y1 - y0, band);
        }
    }
    p.setPen(platform::ToQColor(Grid.GridLineColor));
    p.drawLine(0, 0, width(), 0);
}

// The footer's handlers

TSearchPanelWindow* TGridSearchFooter::Panel()
{
    if (!FPanel) {
        FPanel = new TSearchPanelWindow(Grid);
        FPanel->OnEditChange = [this] { SearchPanelEditChange(); };
        FPanel->OnForwardClick = [this] { SearchPanelForwardClick(); };
        FPanel->OnBackwardClick = [this] { SearchPanelBackwardClick(); };
        FPanel->OnExitClick = [this] { SearchPanelExitClick(); };
        FPanel->OnHighlightClick = [this] { SearchPanelHighlightClick(); };
        TSearchPanel& p = *Grid.SearchPanel;
        p.ForwardButton.Enabled = p.BackwardButton.Enabled = p.HighlightButton.Enabled = false;
        FPanel->UpdateFromSettings();
    }
    return FPanel;
}

void TGridSearchFooter::Update()
{
    const TSearchFooter& s = Grid.SearchFooter;
    // Hiding the footer with its highlight down, or always highlighting, takes the marks away.
    const bool hiding = FPanel && FPanel->isVisible() && !s.Visible;
    if ((HighlightDown() && hiding) || s.AlwaysHighLight)
        UnHighlight();
    if (hiding && HighlightDown())
        FPanel->HiliteButton->setChecked(false);
    if (FPanel || Grid.SearchPanel->Visible)
        Panel()->UpdateFromSettings();
}

void TGridSearchFooter::FocusEdit()
{
    if (Grid.SearchFooter.Visible)
        Panel()->EditControl->setFocus(Qt::ShortcutFocusReason);
}

bool TGridSearchFooter::HighlightDown() const { return FPanel && FPanel->HiliteButton->isChecked(); }

// The flags the panel's settings ask for, shared by typing and both buttons.
TFindParams TGridSearchFooter::BaseFlags() const
{
    const TSearchFooter& s = Grid.SearchFooter;
    TFindParams f = FindFlag(fnAutoGoto);
    if (HighlightDown())
        f |= FindFlag(fnIgnoreHTMLTags);
    if (FPanel && FPanel->MatchCase->isChecked())
        f |= FindFlag(fnMatchCase);
    if (s.SearchActiveColumnOnly)
        f |= FindFlag(fnFindInCurrentCol);
    if (s.SearchMatchStart)
        f |= FindFlag(fnMatchStart);
    if (s.SearchColumn >= 0 && s.SearchColumn < Grid.ColCount()) {
        Find.FindCol = s.SearchColumn;
        f |= FindFlag(fnFindInPresetCol);
    }
    return f;
}

void TGridSearchFooter::UnHighlight()
{
    const int col = Grid.SearchFooter.SearchColumn;
    if (col >= 0)
        UnHilightInCol(Grid, false, col);
    else
        UnHilightInGrid(Grid, false);
}

void TGridSearchFooter::Highlight(const QString& text)
{
    const bool matchCase = FPanel && FPanel->MatchCase->isChecked();
    const int col = Grid.SearchFooter.SearchColumn;
    if (col >= 0)
        HilightInCol(Grid, false, matchCase, col, text);
    else
        HilightInGrid(Grid, false, matchCase, text);
}

void TGridSearchFooter::SearchPanelEditChange()
{
    TSearchPanelWindow* panel = Panel();
    const QString text = panel->EditControl->text();
    bool defaultSearch = true;
    if (OnSearchEditChange)
        OnSearchEditChange(&Grid, text, defaultSearch);
    const TSearchFooter& s = Grid.SearchFooter;
    if (!defaultSearch || !s.AutoSearch)
        return;
    TFindParams f = BaseFlags();
    if (s.SearchFixedCells)
        f |= FindFlag(fnIncludeFixed);
    if (s.SearchHiddenRows)
        f |= FindFlag(fnIncludeHiddenRows);
    if (s.SearchDirection == sdLeftRight)
        f |= FindFlag(fnDirectionLeftRight);
    const bool highlight = HighlightDown() || s.AlwaysHighLight;
    if (highlight)
        UnHighlight();
    if (text.isEmpty()) {
        panel->SetEditColor(WindowColor);
        if (HighlightDown())
            UnHighlight();
        return;
    }
    const TPoint found = Find.Find(TGridFind::NoCell, text, f);
    Find.SearchCell = found;
    if (OnSearchFooterAction)
        OnSearchFooterAction(&Grid, text, found.X, found.Y, saFindFirst);
    if (found == TGridFind::NoCell) {
        panel->SetEditColor(NotFoundColor);
        return;
    }
    panel->SetEditColor(WindowColor);
    Grid.ScrollInView(found.X, found.Y);
    if (highlight)
        Highlight(text);
}

// Moves the top row on when the current row came to stand in the last rows above the footer.
void TGridSearchFooter::ScrollAfterStep(int footerRows, int step)
{
    TExtStringGrid& g = Grid;
    if (g.TopRow() + g.VisibleRowCount() - 2 - footerRows < g.Row() &&
        g.VisibleRowCount() + g.GetFixedRows() + footerRows < g.RowCount())
        g.SetTopRow(g.TopRow() + step);
}

QString TGridSearchFooter::StepText()
{
    const QString text = Panel()->EditControl->text();
    TSearchFooter& s = Grid.SearchFooter;
    // Without auto-search a changed text starts over from the first cell.
    if (!s.AutoSearch) {
        if (text != s.LastSearch)
            Find.SearchCell = TGridFind::NoCell;
        s.LastSearch = text;
    }
    return text;
}

void TGridSearchFooter::SearchPanelForwardClick()
{
    TSearchPanelWindow* panel = Panel();
    const QString text = StepText();
    TFindParams f = BaseFlags();
    if (Grid.SearchFooter.SearchDirection == sdLeftRight)
        f |= FindFlag(fnDirectionLeftRight);
    const TPoint found = Find.Find(Find.SearchCell, text, f);
    Find.SearchCell = found;
    if (found != TGridFind::NoCell)
        Grid.ScrollInView(found.X, found.Y);
    ScrollAfterStep(Grid.FloatingFooter.Visible() ? 1 : 0, 2);
    if (OnSearchFooterAction)
        OnSearchFooterAction(&Grid, text, found.X, found.Y, saFindNext);
    panel->update();
}

void TGridSearchFooter::SearchPanelBackwardClick()
{
    TSearchPanelWindow* panel = Panel();
    const QString text = StepText();
    const TFindParams f = BaseFlags() | FindFlag(fnBackward);
    const TPoint found = Find.Find(Find.SearchCell, text, f);
    Find.SearchCell = found;
    ScrollAfterStep(Grid.FloatingFooter.Visible() ? 1 : 0, 2);
    if (found != TGridFind::NoCell)
        Grid.ScrollInView(found.X, found.Y);
    if (OnSearchFooterAction)
        OnSearchFooterAction(&Grid, text, found.X, found.Y, saFindPrevious);
    panel->update();
}

void TGridSearchFooter::SearchPanelHighlightClick()
{
    if (HighlightDown())
        Highlight(Panel()->EditControl->text());
    else
        UnHighlight();
}

void TGridSearchFooter::HighlightAccelerator()
{
    Panel()->HiliteButton->toggle();
    SearchPanelHighlightClick();
}

void TGridSearchFooter::SearchPanelExitClick()
{
    if (OnSearchFooterClose)
        OnSearchFooterClose(&Grid);
    Grid.SearchFooter.Visible = false;
    if (Grid.SearchFooter.OnChange)
        Grid.SearchFooter.OnChange();
}

}  // namespace grid::dataops

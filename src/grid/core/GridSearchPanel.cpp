#include "grid/core/GridSearchPanel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include "grid/core/ExtStringGrid.h"

namespace grid {

namespace {

QColor Rgb(TColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// The buttons' pictures: a down arrow, an up arrow, a close cross and a highlighter, each drawn
// grey in its disabled form.
enum TGlyphKind { gkDown, gkUp, gkClose, gkHighlight };

QIcon Glyph(TGlyphKind kind)
{
    QIcon icon;
    for (bool enabled : {true, false}) {
        QPixmap pix(12, 12);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor ink = enabled ? QColor(0, 0, 0) : QColor(160, 160, 160);
        p.setPen(QPen(ink, 1.5));
        p.setBrush(ink);
        switch (kind) {
        case gkDown:
            p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(10, 4), QPointF(6, 9)}));
            break;
        case gkUp:
            p.drawPolygon(QPolygonF({QPointF(2, 8), QPointF(10, 8), QPointF(6, 3)}));
            break;
        case gkClose:
            p.drawLine(QPointF(3, 3), QPointF(9, 9));
            p.drawLine(QPointF(9, 3), QPointF(3, 9));
            break;
        case gkHighlight:
            p.setBrush(enabled ? QColor(255, 255, 0) : QColor(220, 220, 220));
            p.drawRect(QRectF(2, 2, 8, 8));
            break;
        }
        p.end();
        icon.addPixmap(pix, enabled ? QIcon::Normal : QIcon::Disabled);
    }
    return icon;
}

QToolButton* MakeButton(QWidget* parent, TGlyphKind kind)
{
    auto* b = new QToolButton(parent);
    b->setIcon(Glyph(kind));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(kind == gkClose ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    return b;
}

// The caption without its accelerator mark: the grid answers the accelerators itself, so the
// buttons must not take them too ("&&" stays one "&").
QString ShownCaption(const QString& caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] != '&')
            continue;
        out += caption[i];
        if (caption[i] == '&')
            out += '&', ++i;
    }
    return out;
}

void SetHint(QWidget* w, const QString& hint) { w->setToolTip(hint.isEmpty() ? QString() : hint.toHtmlEscaped()); }

}  // namespace

void TRetEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const TNotifyEvent& handler = (event->modifiers() & Qt::ControlModifier) ? OnCtrlReturn : OnReturn;
        if (handler)
            handler();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

TSearchPanelWindow::TSearchPanelWindow(TExtStringGrid* grid, TSearchPanel& panel)
    : QWidget(grid), FGrid(grid), FPanel(panel)
{
    setObjectName(QStringLiteral("SearchPanel"));
    EditControl = new TRetEdit(this);
    ForwardButton = MakeButton(this, gkDown);
    BackwardButton = MakeButton(this, gkUp);
    ExitButton = MakeButton(this, gkClose);
    HiliteButton = MakeButton(this, gkHighlight);
    HiliteButton->setCheckable(true);
    MatchCase = new QCheckBox(this);
    for (QToolButton* b : {ForwardButton, BackwardButton, HiliteButton})
        b->setEnabled(false);
    QObject::connect(EditControl, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    EditControl->OnReturn = [this] { ForwardButton->click(); };
    EditControl->OnCtrlReturn = [this] { BackwardButton->click(); };
    auto fire = [](const TNotifyEvent& e) {
        if (e)
            e();
    };
    QObject::connect(ForwardButton, &QToolButton::clicked, this, [this, fire] { fire(FPanel.OnForwardClick); });
    QObject::connect(BackwardButton, &QToolButton::clicked, this, [this, fire] { fire(FPanel.OnBackwardClick); });
    QObject::connect(ExitButton, &QToolButton::clicked, this, [this, fire] { fire(FPanel.OnExitClick); });
    QObject::connect(HiliteButton, &QToolButton::clicked, this, [this, fire] { fire(FPanel.OnHighlightClick); });
}

void TSearchPanelWindow::EditChanged()
{
    const bool any = !EditControl->text().isEmpty();
    for (QToolButton* b : {ForwardButton, BackwardButton, HiliteButton})
        b->setEnabled(any);
    FPanel.ForwardButton.Enabled = FPanel.BackwardButton.Enabled = FPanel.HighlightButton.Enabled = any;
    FGrid->UpdateSearchPanel();
    if (FPanel.OnEditChange)
        FPanel.OnEditChange();
}

void TSearchPanelWindow::Sync()
{
    const TRect& b = FPanel.Bounds;
    setGeometry(b.Left, b.Top, b.Width(), b.Height());
    setFont(FGrid->font());
    const bool mirrored = layoutDirection() == Qt::RightToLeft;
    auto place = [&](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(mirrored ? this->width() - width - left : left, top, width, height);
    };
    place(EditControl, 25, 6, 110, EditControl->sizeHint().height());
    place(ForwardButton, 140, 5, 90, 23);
    place(BackwardButton, 235, 5, 90, 23);
    place(ExitButton, 5, 7, 14, 14);
    place(HiliteButton, 330, 5, 90, 23);
    const int matchLeft = FPanel.HighlightButton.Visible ? 425 : 330;
    place(MatchCase, matchLeft, 8, std::max(MatchCase->sizeHint().width(), 20), 18);
    ForwardButton->setText(ShownCaption(FPanel.ForwardButton.Caption));
    BackwardButton->setText(ShownCaption(FPanel.BackwardButton.Caption));
    HiliteButton->setText(ShownCaption(FPanel.HighlightButton.Caption));
    MatchCase->setText(ShownCaption(FPanel.MatchCaseCaption));
    SetHint(ForwardButton, FPanel.HintFindNext);
    SetHint(BackwardButton, FPanel.HintFindPrev);
    SetHint(ExitButton, FPanel.HintClose);
    SetHint(HiliteButton, FPanel.HintHighlight);
    ForwardButton->setVisible(FPanel.ForwardButton.Visible);
    BackwardButton->setVisible(FPanel.BackwardButton.Visible);
    HiliteButton->setVisible(FPanel.HighlightButton.Visible);
    ExitButton->setVisible(FPanel.ShowExit);
    MatchCase->setVisible(FPanel.ShowMatchCase);
    setVisible(FPanel.Visible);
    update();
}

void TSearchPanelWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    if (FPanel.ColorTo == clNone) {
        p.fillRect(r, Rgb(FPanel.Color));
    } else {
        // 32 bands from Color at the top to ColorTo at the bottom.
        const QColor from = Rgb(FPanel.Color), to = Rgb(FPanel.ColorTo);
        const int steps = 32;
        for (int i = 0; i < steps; ++i) {
            const int y0 = r.top() + r.height() * i / steps, y1 = r.top() + r.height() * (i + 1) / steps;
            const QColor c(from.red() + (to.red() - from.red()) * i / steps,
                           from.green() + (to.green() - from.green()) * i / steps,
                           from.blue() + (to.blue() - from.blue()) * i / steps);
            p.fillRect(QRect(r.left(), y0, r.width(), y1 - y0 + 1), c);
        }
    }
    p.setPen(Rgb(FGrid->GridLineColor));
    p.drawLine(0, 0, width(), 0);
}

TSearchPanel::TSearchPanel(TExtStringGrid* grid) : TGridChild(grid)
{
    OnForwardClick = [grid] { grid->SearchPanelForwardClick(); };
    OnBackwardClick = [grid] { grid->SearchPanelBackwardClick(); };
    OnHighlightClick = [grid] { grid->SearchPanelHighlightClick(); };
}

TSearchPanel::~TSearchPanel() = default;

void TSearchPanel::Sync()
{
    if (!FWindow && Visible && Grid && !Grid->Destroying) {
        FWindow = std::make_unique<TSearchPanelWindow>(Grid, *this);
        // The find buttons wait for a search text.
        ForwardButton.Enabled = BackwardButton.Enabled = HighlightButton.Enabled = false;
    }
    if (FWindow)
        FWindow->Sync();
}

QString TSearchPanel::Text() const { return FWindow ? FWindow->EditControl->text() : QString(); }

void TSearchPanel::SetText(const QString& value)
{
    if (!FWindow && Grid && !Grid->Destroying) {
        FWindow = std::make_unique<TSearchPanelWindow>(Grid, *this);
        ForwardButton.Enabled = BackwardButton.Enabled = HighlightButton.Enabled = false;
    }
    if (FWindow) {
        FWindow->EditControl->setText(value);
        FWindow->Sync();
    }
}

bool TSearchPanel::MatchCase() const { return FWindow && FWindow->MatchCase->isChecked(); }

bool TSearchPanel::HighlightDown() const { return FWindow && FWindow->HiliteButton->isChecked(); }

void TSearchPanel::SetHighlightDown(bool value)
{
    if (FWindow)
        FWindow->HiliteButton->setChecked(value);
}

}  // namespace grid

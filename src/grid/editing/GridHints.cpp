#include "grid/editing/GridHints.h"

#include <QFontMetrics>
#include <QPalette>
#include <QTextDocument>
#include <QToolTip>

#include "controls/common/HTMLHintWindow.h"
#include "grid/core/GridTextUtils.h"
#include "platform/TCanvas.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPointer>

namespace grid::editing {

QString WrapHint(const QString& text, const QFont& font, int maxWidth)
{
    if (maxWidth <= 0)
        return text;
    const QFontMetrics fm(font);
    QStringList out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QString current;
        for (const QString& word : line.split(QLatin1Char(' '))) {
            const QString tried = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
            if (!current.isEmpty() && fm.horizontalAdvance(tried) > maxWidth) {
                out << current;
                current = word;
            } else {
                current = tried;
            }
        }
        out << current;
    }
    return out.join(QLatin1Char('\n'));
}

QString HintDisplayText(const QString& text) { return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap); }

namespace {

// Hides the grid's mark-up hint when the mouse leaves the cell it was made for, presses, turns
// the wheel or a key is pressed, as the platform's tool tip does.
class THTMLHintCloser : public QObject {
public:
    THTMLHintCloser(QWidget* client, controls::THTMLHintWindow* window) : QObject(window), FWindow(window)
    {
        client->installEventFilter(this);
    }
    QRect Area;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove:
            if (!Area.contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
                FWindow->ReleaseHint();
            break;
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::Hide:
            FWindow->ReleaseHint();
            break;
        default:
            break;
        }
        return false;
    }

private:
    controls::THTMLHintWindow* FWindow;
};

constexpr int HTMLHintHideMs = 5000;

}  // namespace

controls::THTMLHintWindow* CellHintWindow(TExtStringGrid& grid)
{
    auto* window = grid.findChild<controls::THTMLHintWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new controls::THTMLHintWindow(&grid);
        new THTMLHintCloser(grid.Client(), window);
        window->SetHideTimeout(HTMLHintHideMs);
    }
    return window;
}

void ShowCellHint(TExtStringGrid& grid, const TCellHint& hint)
{
    if (hint.Text.isEmpty())
        return;
    QWidget* client = grid.Client();
    const int kind = DetectTextKind(hint.Text, true);
    if (grid.UseInternalHintClass && (hint.Html || kind == tkWide)) {
        // Mark-up is drawn by the grid's own hint window; the platform's tool tip stays away.
        QToolTip::hideText();
        controls::THTMLHintWindow* window = CellHintWindow(grid);
        window->SetSources(grid.HTMLRenderInput());
        window->Color = hint.Color;
        window->WideFontName = grid.FontName;
        if (auto* closer = window->findChild<THTMLHintCloser*>())
            closer->Area = hint.Area;
        const QRect at(client->mapToGlobal(hint.Pos), QSize(1, 1));
        if (kind == tkWide)
            window->ActivateWideHint(at, DecodeWideText(hint.Text));
        else
            window->ActivateHint(at, hint.Text);
        return;
    }
    if (auto* window = grid.findChild<controls::THTMLHintWindow*>(QString(), Qt::FindDirectChildrenOnly))
        window->ReleaseHint();
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, platform::ToQColor(hint.Color));
    palette.setColor(QPalette::Window, platform::ToQColor(hint.Color));
    QToolTip::setPalette(palette);
    // The tool tip window sits a little below and right of the point it is given.
    QToolTip::showText(client->mapToGlobal(hint.Pos), HintDisplayText(hint.Text), client, hint.Area);
}

}  // namespace grid::editing

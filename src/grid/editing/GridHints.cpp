#include "grid/editing/GridHints.h"

#include <QFontMetrics>
#include <QPalette>
#include <QTextDocument>
#include <QToolTip>

#include "platform/TCanvas.h"

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

void ShowCellHint(TExtStringGrid& grid, const TCellHint& hint)
{
    if (hint.Text.isEmpty())
        return;
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, platform::ToQColor(hint.Color));
    palette.setColor(QPalette::Window, platform::ToQColor(hint.Color));
    QToolTip::setPalette(palette);
    QWidget* client = grid.Client();
    // The tool tip window sits a little below and right of the point it is given.
    QToolTip::showText(client->mapToGlobal(hint.Pos), HintDisplayText(hint.Text), client, hint.Area);
}

}  // namespace grid::editing

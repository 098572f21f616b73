#include "platform/LabelSize.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QTextDocument>

namespace platform {

namespace {

bool IsPlainSingleMeasure(const QLabel& label)
{
    const QString& text = label.text();
    const bool plain = label.textFormat() == Qt::PlainText ||
                       (label.textFormat() == Qt::AutoText && !Qt::mightBeRichText(text));
    return plain && !text.isEmpty() && !label.wordWrap() && label.frameWidth() == 0 && label.margin() == 0 &&
           label.indent() <= 0 && label.contentsMargins().isNull() && !label.buddy() && label.pixmap().isNull() &&
           label.minimumSize().isNull() && label.maximumSize() == QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) &&
           !label.layout();
}

}  // namespace

void FitLabelToText(QLabel* label)
{
    label->ensurePolished();
    if (!IsPlainSingleMeasure(*label)) {
        label->adjustSize();
        return;
    }
    // QLabel's own measure of such a text: its alignment without centring (the size is all that
    // counts), tabs expanded, within 2000 by 2000 pixels.
    const Qt::LayoutDirection direction = label->text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const int flags = int(QStyle::visualAlignment(direction, label->alignment())) & ~(Qt::AlignVCenter | Qt::AlignHCenter);
    const QRect bounds = label->fontMetrics().boundingRect(0, 0, 2000, 2000, flags | Qt::TextExpandTabs, label->text());
    label->resize(bounds.size());
}

}  // namespace platform

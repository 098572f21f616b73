#include "PicButton.h"

#include "TForm.h"

#include <QMouseEvent>
#include <QPainter>

namespace controls {

TPicButton::TPicButton(QWidget* parent) : QWidget(parent) {}

void TPicButton::SetCaption(const QString& caption)
{
    FCaption = caption;
    update();
}

void TPicButton::SetGlyph(const QPixmap& glyph, int numGlyphs)
{
    FGlyph = glyph;
    FNumGlyphs = numGlyphs;
    update();
}

void TPicButton::Click()
{
    if (OnClick)
        OnClick();
    if (FModalResult != 0)
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* form = qobject_cast<platform::TForm*>(w)) {
                form->SetModalResult(FModalResult);
                break;
            }
}

void TPicButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(240, 240, 240));
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!FGlyph.isNull())
        p.drawPixmap(4, (height() - FGlyph.height()) / 2, FGlyph);
    p.setPen(Qt::black);
    p.drawText(rect(), Qt::AlignCenter, FCaption);
}

void TPicButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FDown = true;
}

void TPicButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasDown = FDown;
    FDown = false;
    if (wasDown && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
}

}  // namespace controls

#include "shell/UWindowLook.h"

#include <QMouseEvent>

namespace shell {

void Style_Window(QWidget* window)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(11);
    window->setFont(font);
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Window_Background);
    window->setPalette(pal);
}

void Make_Title_Panel(QWidget* owner, int width, QLabel*& code, QLabel*& desc)
{
    auto* panel = new QWidget(owner);
    panel->setGeometry(0, 0, width, 50);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Grey_Text);
    panel->setPalette(pal);
    code = new QLabel(panel);
    code->setGeometry(8, 4, width - 16, 22);
    QFont big = code->font();
    big.setPixelSize(18);
    big.setBold(true);
    code->setFont(big);
    desc = new QLabel(panel);
    desc->setGeometry(8, 28, width - 16, 16);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        OnClick();
}

}  // namespace shell

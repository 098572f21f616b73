#include "shell/UWindowLook.h"

#include "controls/buttons_pages/PicButton.h"
#include "controls/buttons_pages/PicGlyphs.h"
#include "grid/core/ExtStringGrid.h"
#include "platform/Dialogs.h"
#include "platform/TForm.h"

#include <QMouseEvent>
#include <QTextDocument>

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

QWidget* Make_Step_Title(QWidget* owner, int width, QLabel*& code, QLabel*& desc)
{
    auto* panel = new QWidget(owner);
    panel->setObjectName(QStringLiteral("P_Title"));
    panel->setFixedHeight(69);
    panel->setMinimumWidth(width);
    code = new QLabel(panel);
    code->setObjectName(QStringLiteral("L_SW_Code"));
    QFont codeFont(QStringLiteral("Verdana"));
    codeFont.setPixelSize(32);
    code->setFont(codeFont);
    code->setStyleSheet(QStringLiteral("color: grey"));
    code->setGeometry(14, 4, 420, 38);
    desc = new QLabel(panel);
    desc->setObjectName(QStringLiteral("L_SW_Desc"));
    QFont descFont(owner->font());
    descFont.setBold(true);
    desc->setFont(descFont);
    desc->setStyleSheet(QStringLiteral("color: grey"));
    desc->setGeometry(14, 46, width - 28, 16);
    return panel;
}

void Apply_Button_Look(controls::TPicButton* button)
{
    button->SetColor(0x00EDF7F8);
    button->SetLightColor(platform::clGray);
    button->SetStyle(controls::bsEncarta);
    button->SetColorWhenDown(0x000080FF);
    button->SetHotTrackColor(platform::clYellow);
    button->SetAlignment(platform::taCenter);
}

namespace {
QPixmap firstFrame(controls::TPicButtonKind kind)
{
    return QPixmap::fromImage(controls::KindGlyph(kind).copy(0, 0, 18, 18));
}
}  // namespace

QWidget* Make_Button_Panel(QWidget* owner)
{
    auto* panel = new QWidget(owner);
    panel->setObjectName(QStringLiteral("P_Button"));
    panel->setFixedHeight(Button_Panel_Height);
    return panel;
}

controls::TPicButton* Make_Panel_Button(QWidget* panel, const char* name, int index)
{
    constexpr int width = 110, height = 28, left = 16, step = 118;
    auto* button = new controls::TPicButton(panel);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left + index * step, (Button_Panel_Height - height) / 2, width, height);
    return button;
}

void Set_OK_Glyph(controls::TPicButton* button) { button->SetGlyph(firstFrame(controls::bkOK), 1); }

void Set_Cancel_Glyph(controls::TPicButton* button) { button->SetGlyph(firstFrame(controls::bkCancel), 1); }

void Plain_Label(QLabel* label)
{
    if (label->textFormat() == Qt::AutoText)
        label->setTextFormat(Qt::PlainText);
}

void Apply_Window_Look(QWidget* window)
{
    bool hasCancel = false;
    for (controls::TPicButton* b : window->findChildren<controls::TPicButton*>()) {
        Apply_Button_Look(b);
        if (b->ModalResult() == platform::mrCancel) {
            hasCancel = true;
            if (b->Glyph().isNull())
                Set_Cancel_Glyph(b);
        } else if (b->ModalResult() == platform::mrOk && b->Glyph().isNull()) {
            Set_OK_Glyph(b);
        }
    }
    if (auto* form = qobject_cast<platform::TForm*>(window))
        form->SetEscapeCloses(hasCancel);
    for (QLabel* l : window->findChildren<QLabel*>())
        Plain_Label(l);
    // A table's cells hold names and values from files and from the user: never mark-up.
    for (QWidget* w : window->findChildren<QWidget*>())
        if (auto* table = dynamic_cast<grid::TExtStringGrid*>(w))
            table->EnableHTML = false;
}

TNameLabel::TNameLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void TNameLabel::SetName(const QString& name)
{
    FName = name;
    Fit();
}

void TNameLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Fit();
}

void TNameLabel::Fit()
{
    const int width = std::max(0, contentsRect().width());
    if (width == FFitWidth && FName == FFitName && font() == FFitFont)
        return;
    FFitName = FName;
    FFitWidth = width;
    FFitFont = font();
    const QString shown = fontMetrics().elidedText(FName, Qt::ElideRight, width);
    setText(shown);
    // The hint is rich text by guess; the name is escaped so that it shows as written.
    setToolTip(shown == FName ? QString() : Qt::convertFromPlainText(FName, Qt::WhiteSpaceNoWrap));
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        OnClick();
}

}  // namespace shell

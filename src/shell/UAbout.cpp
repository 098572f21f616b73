#include "shell/UAbout.h"

#include "platform/Dialogs.h"
#include "platform/Process.h"
#include "shell/UComon.h"
#include "shell/UVersionCheck.h"
#include "controls/buttons_pages/PicGlyphs.h"
#include "shell/UWindowLook.h"
#include "shell/UWindowList.h"

#include <QMouseEvent>
#include <QPainter>

TFAbout* FAbout() { return shell::Window<TFAbout>(); }

namespace {

QPixmap makeLogo()
{
    QPixmap logo(81, 81);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 70, 120));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 77, 77), 14, 14);
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(44);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("K"));
    return logo;
}

QLabel* label(QWidget* owner, int left, int top, const QString& text, bool bold = false)
{
    auto* l = new QLabel(text, owner);
    l->move(left, top);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    l->adjustSize();
    return l;
}

}  // namespace

TFAbout::TFAbout(QWidget* parent) : platform::TForm(parent), Link_Opener(platform::OpenLink)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(11);
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, shell::Window_Background);
    setPalette(pal);
    SetCaption(QStringLiteral("About..."));

    auto* logo = new shell::TClickLabel(this);
    logo->setGeometry(12, 12, 81, 81);
    logo->setScaledContents(true);
    logo->setPixmap(makeLogo());
    logo->setCursor(Qt::PointingHandCursor);
    logo->OnClick = [this] { Label4Click(); };
    Image2 = logo;

    Label1 = label(this, 108, 12, QStringLiteral("Software Bricolator "), true);
    Label2 = label(this, 108, 30, QString());
    Label3 = label(this, 108, 52, QStringLiteral("Version :"));
    Label10 = label(this, 228, 52, QString(), true);
    Label6 = label(this, 108, 68, QStringLiteral("Software Code : "));
    Label9 = label(this, 228, 68, QString(), true);
    Label8 = label(this, 108, 84, QStringLiteral("Document Code :"));
    Label12 = label(this, 228, 84, QString(), true);

    auto* address = new shell::TClickLabel(this);
    address->setText(shell::Maker_Web_Name);
    address->move(12, 118);
    address->adjustSize();
    QPalette link = address->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 160));
    address->setPalette(link);
    QFont underlined = address->font();
    underlined.setUnderline(true);
    address->setFont(underlined);
    address->adjustSize();
    address->setCursor(Qt::PointingHandCursor);
    address->OnClick = [this] { Label4Click(); };
    Label4 = address;

    PicButton1 = new controls::TPicButton(this);
    PicButton1->SetBounds(313, 102, 100, 36);
    PicButton1->SetCaption(QStringLiteral("OK"));
    PicButton1->SetModalResult(platform::mrOk);
    // The information window's OK carries both frames: normal and disabled.
    PicButton1->SetGlyph(QPixmap::fromImage(controls::KindGlyph(controls::bkOK)), 2);

    SetClientSize(425, 148);
    shell::Apply_Window_Look(this);
}

void TFAbout::FormShow()
{
    auto set = [](QLabel* l, const QString& text) {
        l->setText(text);
        l->adjustSize();
    };
    set(Label2, shell::SW_Desc_Value);
    set(Label9, shell::SW_Code_Value);
    set(Label10, shell::SW_Version);
    set(Label12, shell::Manual_Document_Code);
    SetClientSize(425, 148);
}

void TFAbout::Label4Click()
{
    if (Link_Opener)
        Link_Opener(shell::Maker_Home_Page);
}

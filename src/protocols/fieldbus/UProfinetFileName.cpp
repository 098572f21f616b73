#include "protocols/fieldbus/UProfinetFileName.h"

#include "controls/buttons_pages/PicButton.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "protocols/fieldbus/UProfinetXML.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QLabel>
#include <QLineEdit>

using shell::Lang;

TFProfinetFileName* FProfinetFileName() { return shell::Window<TFProfinetFileName>(); }

namespace {

constexpr int kNameWidth = 540;
constexpr int kNameHeight = 205;

QLabel* Make_Label(QWidget* owner, const char* name, int x, int y, int width)
{
    auto* label = new QLabel(owner);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(x, y, width, 18);
    return label;
}

}  // namespace

TFProfinetFileName::TFProfinetFileName(QWidget* parent) : platform::TForm(parent)
{
    setObjectName(QStringLiteral("FProfinetFileName"));
    shell::Style_Window(this);
    P_Title = shell::Make_Step_Title(this, kNameWidth, L_SW_Code, L_SW_Desc);
    P_Title->setGeometry(0, 0, kNameWidth, 69);

    // The three columns: fixed part, user part, fixed part.
    Label1 = Make_Label(this, "Label1", 10, 76, 520);
    Label2 = Make_Label(this, "Label2", 4, 104, 176);
    Label4 = Make_Label(this, "Label4", 182, 104, 267);
    Label5 = Make_Label(this, "Label5", 452, 104, 88);
    L_XML_Fix1 = Make_Label(this, "L_XML_Fix1", 4, 128, 176);
    L_XML_Fix1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    L_XML_Fix1->setFixedHeight(22);
    E_XML_User = new QLineEdit(this);
    E_XML_User->setObjectName(QStringLiteral("E_XML_User"));
    E_XML_User->setGeometry(182, 128, 267, 22);
    L_XML_Fix2 = Make_Label(this, "L_XML_Fix2", 452, 128, 88);
    L_XML_Fix2->setFixedHeight(22);

    P_Button = shell::Make_Button_Panel(this);
    P_Button->setGeometry(0, kNameHeight - 40, kNameWidth, 40);
    Btn_OK = shell::Make_Panel_Button(P_Button, "Btn_OK", 0);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { Btn_OKClick(); }); };
    Btn_Cancel = shell::Make_Panel_Button(P_Button, "Btn_Cancel", 1);
    Btn_Cancel->SetModalResult(platform::mrCancel);

    L_SW_Code->setText(shell::App_State.SW_Code);
    SetClientSize(kNameWidth, kNameHeight);
    L_XML_Fix1->setText(QStringLiteral("GSDML-V2.31-Kelvor-") + fieldbus::gsdml::GSDML_Model_Code);
    Set_Date(QDate::currentDate());
    Set_Lang();
    shell::Apply_Window_Look(this);
    shell::Set_OK_Glyph(Btn_OK);
}

void TFProfinetFileName::Set_Date(const QDate& date)
{
    L_XML_Fix2->setText(QLatin1Char('-') + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".xml"));
}

void TFProfinetFileName::Set_Lang()
{
    SetCaption(Lang(3400));
    L_SW_Desc->setText(Lang(3401));
    Btn_OK->SetCaption(Lang(3402));
    Btn_Cancel->SetCaption(Lang(3403));
    Label1->setText(Lang(3404));
    Label2->setText(Lang(3405));
    Label4->setText(Lang(3406));
    Label5->setText(Lang(3407));
    E_XML_User->setToolTip(Lang(3408));
    Btn_OK->SetHint(Lang(3409));
    Btn_Cancel->SetHint(Lang(3410));
}

std::optional<QChar> TFProfinetFileName::Forbidden_Character(const QString& user)
{
    static const QString reserved = QStringLiteral("/\\:*?\"<>|");
    for (const QChar ch : user)
        if (reserved.contains(ch) || ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return ch;
    return std::nullopt;
}

QString TFProfinetFileName::Compose(const QString& user) const
{
    if (user.trimmed().isEmpty())
        return L_XML_Fix1->text() + L_XML_Fix2->text();
    const QString joint = user.startsWith(QLatin1Char('_')) ? QString() : QStringLiteral("_");
    return L_XML_Fix1->text() + joint + user + L_XML_Fix2->text();
}

void TFProfinetFileName::Btn_OKClick()
{
    const QString user = E_XML_User->text();
    if (const auto ch = Forbidden_Character(user)) {
        const QString shown = ch->unicode() < 0x20 || ch->unicode() == 0x7F
                                  ? QStringLiteral("a control character")
                                  : QStringLiteral("\"%1\"").arg(*ch);
        platform::MessageDlg(QStringLiteral("The user part of the file name may not hold %1: folder separators and "
                                            "the characters / \\ : * ? \" < > | are not allowed in a file name.")
                                 .arg(shown),
                             platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        E_XML_User->setFocus();
        return;
    }
    Name_File_XML = Compose(user);
    SetModalResult(platform::mrOk);
}

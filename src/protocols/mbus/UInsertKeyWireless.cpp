#include "protocols/mbus/UInsertKeyWireless.h"

#include "controls/buttons_pages/PicButton.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/IntText.h"
#include "shell/ULanguage.h"
#include "shell/UWindowLook.h"
#include "shell/UWindowList.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QValidator>

namespace {

// Turns whatever is typed or pasted into upper case.
class TUpperCase : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

bool Check_Data(const QString& key)
{
    return std::all_of(key.begin(), key.end(), [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); });
}

}  // namespace

TFInsertKeyWireless* FInsertKeyWireless() { return shell::Window<TFInsertKeyWireless>(); }

TFInsertKeyWireless::TFInsertKeyWireless(QWidget* parent) : platform::TForm(parent)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    shell::Style_Window(this);
    SetClientSize(481, 47);
    L_InsKey = new QLabel(this);
    L_InsKey->setObjectName(QStringLiteral("L_InsKey"));
    L_InsKey->setGeometry(4, 15, 96, 16);
    E_Key = new QLineEdit(this);
    E_Key->setObjectName(QStringLiteral("E_Key"));
    E_Key->setGeometry(100, 12, 244, 22);
    E_Key->setMaxLength(32);
    E_Key->setValidator(new TUpperCase(E_Key));
    Btn_OK = new controls::TPicButton(this);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->SetBounds(348, 10, 60, 27);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { Btn_OKClick(); }); };
    Btn_Cancel = new controls::TPicButton(this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->SetBounds(412, 10, 65, 27);
    Btn_Cancel->SetModalResult(platform::mrCancel);
    Set_Lang();
    shell::Apply_Window_Look(this);
}

void TFInsertKeyWireless::Set_Lang()
{
    L_InsKey->setText(shell::Lang(3000));
    Btn_OK->SetCaption(shell::Lang(3001));
    Btn_Cancel->SetCaption(shell::Lang(3002));
}

void TFInsertKeyWireless::Btn_OKClick()
{
    const QString key = E_Key->text();
    if (key.size() != 32) {
        platform::MessageDlg(shell::Lang(3004), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    if (!Check_Data(key)) {
        platform::MessageDlg(shell::Lang(3003), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    SetModalResult(platform::mrOk);
}

void TFInsertKeyWireless::FormShow()
{
    if (Place_At)
        move(*Place_At);
    E_Key->setFocus();
}

void TFInsertKeyWireless::paintEvent(QPaintEvent* event)
{
    platform::TForm::paintEvent(event);
    // The thin outline of a window without a frame.
    QPainter p(this);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

std::array<uint8_t, 16> Key_Bytes(const QString& key)
{
    std::array<uint8_t, 16> bytes{};
    for (int i = 0; i < 16; ++i) {
        const auto value = platform::Parse_Int32(QString(QStringLiteral("0x") + key.mid(2 * i, 2)));
        bytes[size_t(i)] = value ? uint8_t(*value) : 0;
    }
    return bytes;
}

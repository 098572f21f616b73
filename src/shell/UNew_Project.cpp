#include "shell/UNew_Project.h"

#include "platform/Dialogs.h"
#include "platform/FileUtil.h"
#include "platform/PlainText.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/USettings.h"
#include "shell/UWindowLook.h"
#include "shell/UWindowList.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

TFNew_Project* FNew_Project() { return shell::Window<TFNew_Project>(); }

namespace {

// A folder under PROJECTS whose name differs from this one only in letter case; such a name would
// clash on a file system that ignores case and is ambiguous in the open window's pre-selection.
bool folderExistsIgnoringCase(const QString& name)
{
    const QStringList present = QDir(shell::App_State.Projects_Folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    return std::any_of(present.begin(), present.end(),
                       [&](const QString& p) { return p.compare(name, Qt::CaseInsensitive) == 0; });
}

void refuse(int text)
{
    platform::MessageDlg(shell::Lang(text), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
}

}  // namespace

TFNew_Project::TFNew_Project(QWidget* parent) : platform::TForm(parent)
{
    shell::Style_Window(this);
    shell::Make_Title_Panel(this, 331, L_SW_Code, L_SW_Desc);
    L_SW_Code->setText(shell::App_State.SW_Code);

    Label1 = new QLabel(this);
    Label1->setGeometry(16, 62, 299, 16);
    E_New_Proj = new QLineEdit(this);
    E_New_Proj->setGeometry(16, 80, 299, 22);
    connect(E_New_Proj, &QLineEdit::returnPressed, this, [this] { Btn_OKClick(); });

    Btn_OK = new controls::TPicButton(this);
    Btn_OK->SetBounds(56, 116, 100, 36);
    Btn_OK->OnClick = [this] { Btn_OKClick(); };
    Btn_Cancel = new controls::TPicButton(this);
    Btn_Cancel->SetBounds(175, 116, 100, 36);
    Btn_Cancel->SetModalResult(platform::mrCancel);

    SetClientSize(331, 162);
    Set_Lang();
    shell::Apply_Window_Look(this);
    shell::Set_OK_Glyph(Btn_OK);
}

void TFNew_Project::Set_Lang()
{
    using shell::Lang;
    SetCaption(Lang(100));
    L_SW_Desc->setText(Lang(101));
    Label1->setText(Lang(102));
    Btn_OK->SetCaption(Lang(103));
    Btn_Cancel->SetCaption(Lang(104));
    E_New_Proj->setToolTip(platform::PlainHint(Lang(108)));
    Btn_OK->SetHint(Lang(109));
    Btn_Cancel->SetHint(Lang(110));
}

void TFNew_Project::FormShow()
{
    E_New_Proj->clear();
    E_New_Proj->setFocus();
}

void TFNew_Project::Btn_OKClick()
{
    using namespace shell;
    const QString name = E_New_Proj->text();
    if (name.isEmpty())
        return refuse(107);
    // Only a plain name makes a folder directly under PROJECTS; anything else could reach outside it.
    if (!Is_Plain_Conf_Name(name))
        return refuse(105);
    const QString folder = Configuration_Folder(name);
    if (QFileInfo::exists(folder) || folderExistsIgnoringCase(name))
        return refuse(106);
    if (!platform::CreateDir(folder))
        return refuse(105);
    QDir().mkpath(folder + QStringLiteral("/bin"));
    App_State.Active_Conf_Name = name;
    App_State.Project_Folder = folder;
    Set_Files();
    SetModalResult(platform::mrOk);
}

bool Create_New_Project()
{
    return FNew_Project()->ShowModal() == platform::mrOk;
}

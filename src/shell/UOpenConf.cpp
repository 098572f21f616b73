#include "shell/UOpenConf.h"

#include "platform/Dialogs.h"
#include "platform/FileUtil.h"
#include "platform/PlainText.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/USettings.h"
#include "shell/UWindowLook.h"
#include "shell/UWindowList.h"

#include <QDir>

TFOpenConf* FOpenConf() { return shell::Window<TFOpenConf>(); }

namespace {

// The name of the open configuration: Project_Folder after PROJECTS and its separator.
QString openConfigurationName()
{
    const QString prefix = shell::App_State.Projects_Folder + QLatin1Char('/');
    if (shell::App_State.Project_Folder.isEmpty() || !shell::App_State.Project_Folder.startsWith(prefix))
        return {};
    return shell::App_State.Project_Folder.mid(prefix.size());
}

}  // namespace

TFOpenConf::TFOpenConf(QWidget* parent) : platform::TForm(parent)
{
    shell::Style_Window(this);
    shell::Make_Title_Panel(this, 377, L_SW_Code, L_SW_Desc);
    L_SW_Code->setText(shell::App_State.SW_Code);

    Label1 = new QLabel(this);
    Label1->setGeometry(16, 58, 345, 16);
    ListBox1 = new QListWidget(this);
    ListBox1->setGeometry(16, 76, 345, 215);
    // Keys move the selection as well as clicks, and the chosen name always follows it.
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ListBox1Click();
    });

    Btn_OK = new controls::TPicButton(this);
    Btn_OK->SetBounds(76, 303, 100, 36);
    Btn_OK->SetModalResult(platform::mrOk);
    Btn_Cancel = new controls::TPicButton(this);
    Btn_Cancel->SetBounds(201, 303, 100, 36);
    Btn_Cancel->SetModalResult(platform::mrCancel);

    SetClientSize(377, 351);
    Set_Lang();
    shell::Apply_Window_Look(this);
}

void TFOpenConf::Set_Lang()
{
    using shell::Lang;
    SetCaption(Lang(200));
    L_SW_Desc->setText(Lang(201));
    Label1->setText(Lang(202));
    Btn_OK->SetCaption(Lang(203));
    Btn_Cancel->SetCaption(Lang(204));
    ListBox1->setToolTip(platform::PlainHint(Lang(205)));
    Btn_OK->SetHint(Lang(206));
    Btn_Cancel->SetHint(Lang(207));
}

void TFOpenConf::FormShow()
{
    // A name chosen at an earlier showing must not survive into this one.
    Name_Conf.clear();
    SL.clear();
    // Every folder that can be a configuration is listed, also one whose name starts with a dot:
    // the new-configuration window accepts such names, so they must be open-able again.
    const QStringList found = QDir(shell::App_State.Projects_Folder)
                                  .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : found)
        if (shell::Is_Plain_Conf_Name(name))
            SL.append(name);

    ListBox1->clear();
    ListBox1->addItems(SL);
    if (SL.isEmpty())
        return;
    const QString open = openConfigurationName().toUpper();
    int row = 0;
    for (int i = 0; i < SL.size(); ++i)
        if (SL.at(i).toUpper() == open) {
            row = i;
            break;
        }
    ListBox1->setCurrentRow(row);
    Name_Conf = SL.at(row);
}

void TFOpenConf::ListBox1Click()
{
    if (QListWidgetItem* item = ListBox1->currentItem())
        Name_Conf = item->text();
}

bool Open_Project()
{
    using namespace shell;
    TFOpenConf* window = FOpenConf();
    if (window->ShowModal() != platform::mrOk)
        return false;
    // OK leaves either a configuration whose folder is there or none at all: an empty list, or a
    // folder removed while the window was open, must not leave a stale one open.
    const QString name = window->Name_Conf;
    if (!name.isEmpty() && Is_Plain_Conf_Name(name) && platform::DirectoryExists(Configuration_Folder(name))) {
        App_State.Active_Conf_Name = name;
        App_State.Project_Folder = Configuration_Folder(name);
    } else {
        App_State.Active_Conf_Name.clear();
        App_State.Project_Folder.clear();
    }
    Set_Files();
    return true;
}

#include "shell/USoftOptions.h"

#include "platform/Dialogs.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UVersionCheck.h"
#include "shell/UWindowLook.h"
#include "shell/UWindowList.h"

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPixmap>

#include <algorithm>

TFSoftOptions* FSoftOptions() { return shell::Window<TFSoftOptions>(); }

namespace {

QPixmap loadPicture(const QString& path)
{
    if (!platform::FileExists(path))
        return {};
    return QPixmap(path);
}

// A language file the user may pick: a plain file (not a link), writable by its owner, so that a
// read-only file is not offered.
bool offeredLanguageFile(const QFileInfo& info)
{
    return info.isFile() && !info.isSymLink() && (info.permissions() & QFileDevice::WriteOwner);
}

}  // namespace

TFSoftOptions::TFSoftOptions(QWidget* parent) : platform::TForm(parent), Link_Opener(platform::OpenLink)
{
    shell::Style_Window(this);
    shell::Make_Title_Panel(this, 509, L_SW_Code, L_SW_Desc);
    L_SW_Code->setText(shell::App_State.SW_Code);

    PC_Options = new QTabWidget(this);
    PC_Options->setGeometry(8, 58, 493, 259);
    TS_Language = new QWidget;
    TS_Con_Options = new QWidget;
    TS_Soft_Settings = new QWidget;
    PC_Options->addTab(TS_Language, QString());
    PC_Options->addTab(TS_Con_Options, QString());
    PC_Options->addTab(TS_Soft_Settings, QString());

    // Language page: the language in use, the page number and six slots in two rows of three.
    L_Sel_Lang = new QLabel(TS_Language);
    L_Sel_Lang->setGeometry(12, 8, 330, 18);
    QFont bold = L_Sel_Lang->font();
    bold.setBold(true);
    L_Sel_Lang->setFont(bold);
    L_Page_Lang = new QLabel(TS_Language);
    L_Page_Lang->setGeometry(350, 8, 125, 18);
    L_Page_Lang->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int k = 0; k < Languages_Per_Page; ++k) {
        const int left = 24 + (k % 3) * 155;
        const int top = 34 + (k / 3) * 82;
        auto* flag = new shell::TClickLabel(TS_Language);
        flag->setGeometry(left + 28, top, 64, 42);
        flag->setScaledContents(true);
        flag->setCursor(Qt::PointingHandCursor);
        flag->OnClick = [this, k] { Language_Click(k + 1); };
        I_L[k] = flag;
        auto* name = new shell::TClickLabel(TS_Language);
        name->setGeometry(left, top + 46, 120, 18);
        name->setAlignment(Qt::AlignCenter);
        name->setCursor(Qt::PointingHandCursor);
        name->OnClick = [this, k] { Language_Click(k + 1); };
        L_L[k] = name;
    }
    Btn_Prev = new controls::TPicButton(TS_Language);
    Btn_Prev->SetBounds(12, 198, 100, 28);
    Btn_Prev->OnClick = [this] { Btn_PrevClick(); };
    Btn_Next = new controls::TPicButton(TS_Language);
    Btn_Next->SetBounds(373, 198, 100, 28);
    Btn_Next->OnClick = [this] { Btn_NextClick(); };

    // Connection page.
    CB_En_Con = new QCheckBox(TS_Con_Options);
    CB_En_Con->setGeometry(16, 16, 455, 20);
    CB_Update = new QCheckBox(TS_Con_Options);
    CB_Update->setGeometry(16, 44, 455, 20);
    connect(CB_En_Con, &QCheckBox::toggled, this, [this] { Set_Enabled_States(); });
    connect(CB_Update, &QCheckBox::toggled, this, [this] { Set_Enabled_States(); });
    Btn_Check_Update = new controls::TPicButton(TS_Con_Options);
    Btn_Check_Update->SetBounds(16, 80, 200, 36);
    Btn_Check_Update->OnClick = [this] { Btn_Check_UpdateClick(); };
    LL_Check_Update = new QLabel(TS_Con_Options);
    LL_Check_Update->setGeometry(16, 128, 455, 18);
    LL_Check_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(LL_Check_Update, &QLabel::linkActivated, this,
            [this](const QString& link) { LL_Check_UpdateLinkClick(link); });
    LL_Check_Update->hide();

    // Software settings page.
    CB_Soft_Set_Jump_Table = new QCheckBox(TS_Soft_Settings);
    CB_Soft_Set_Jump_Table->setGeometry(16, 16, 455, 20);
    CB_DoubleClick_Auto_Size = new QCheckBox(TS_Soft_Settings);
    CB_DoubleClick_Auto_Size->setGeometry(16, 44, 455, 20);

    Btn_OK = new controls::TPicButton(this);
    Btn_OK->SetBounds(140, 327, 100, 36);
    Btn_OK->OnClick = [this] { Btn_OKClick(); };
    Btn_Cancel = new controls::TPicButton(this);
    Btn_Cancel->SetBounds(269, 327, 100, 36);
    Btn_Cancel->SetModalResult(platform::mrCancel);

    SetClientSize(509, 373);
    Set_Lang();
    shell::Apply_Window_Look(this);
    shell::Set_OK_Glyph(Btn_OK);
    Btn_Next->SetLayout(controls::blGlyphRight);
}

void TFSoftOptions::Set_Lang()
{
    using shell::Lang;
    SetCaption(Lang(300));
    L_SW_Desc->setText(Lang(301));
    PC_Options->setTabText(PC_Options->indexOf(TS_Language), Lang(302));
    PC_Options->setTabText(PC_Options->indexOf(TS_Con_Options), Lang(303));
    PC_Options->setTabText(PC_Options->indexOf(TS_Soft_Settings), Lang(319));
    L_Sel_Lang->setText(Lang(304));
    L_Page_Lang->setText(Lang(305) + QStringLiteral("1") + Lang(306) + QStringLiteral("1"));
    Btn_Prev->SetCaption(Lang(307));
    Btn_Next->SetCaption(Lang(308));
    CB_En_Con->setText(Lang(309));
    CB_Update->setText(Lang(310));
    Btn_Check_Update->SetCaption(Lang(311));
    Btn_OK->SetCaption(Lang(312));
    Btn_Cancel->SetCaption(Lang(313));
    CB_Soft_Set_Jump_Table->setText(Lang(320));
    CB_DoubleClick_Auto_Size->setText(Lang(321));
}

void TFSoftOptions::FormShow()
{
    Language_In_Use = shell::App_State.Language_Name;
    Build_Language_List();
    Show_Page = 1;
    Draw_Language_Page(Show_Page);
    Set_Enabled_States();
    LL_Check_Update->hide();
    PC_Options->setCurrentWidget(TS_Language);
    CB_En_Con->setChecked(shell::App_State.Opt_Enable_Internet);
    CB_Update->setChecked(shell::App_State.Opt_Enable_Update);
    CB_Soft_Set_Jump_Table->setChecked(shell::App_State.Opt_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->setChecked(shell::App_State.Opt_Double_Click_Auto_Size);
    Set_Enabled_States();
}

void TFSoftOptions::Build_Language_List()
{
    SL_Languages.clear();
    const QDir folder(shell::App_State.Language_Folder);
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.lng")},
                                                     QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : files)
        if (offeredLanguageFile(info) && info.fileName().size() > 4)
            SL_Languages.append(info.fileName());
    std::sort(SL_Languages.begin(), SL_Languages.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

QString TFSoftOptions::Language_Of_Slot(int k) const
{
    const qsizetype i = qsizetype(Languages_Per_Page) * (Show_Page - 1) + (k - 1);
    if (k < 1 || k > Languages_Per_Page || i < 0 || i >= SL_Languages.size())
        return {};
    const QString file = SL_Languages.at(i);
    return file.left(file.size() - 4);
}

void TFSoftOptions::Draw_Language_Page(int p)
{
    using shell::Lang;
    const int pages = Page_Count();
    L_Sel_Lang->setText(Lang(304) + Language_In_Use);
    L_Page_Lang->setText(Lang(305) + QString::number(p) + Lang(306) + QString::number(pages));
    Btn_Prev->setVisible(p > 1);
    // With no language at all there is no next page either.
    Btn_Next->setVisible(p < pages);

    const int first = Languages_Per_Page * (p - 1);
    const int shown = std::clamp(int(SL_Languages.size()) - first, 0, Languages_Per_Page);
    for (int k = 0; k < Languages_Per_Page; ++k) {
        if (k >= shown) {
            I_L[k]->hide();
            L_L[k]->hide();
            continue;
        }
        const QString file = SL_Languages.at(first + k);
        const QString name = file.left(file.size() - 4);
        L_L[k]->setText(name);
        L_L[k]->show();
        QPixmap flag = loadPicture(shell::App_State.Language_Folder + QLatin1Char('/') + name + QStringLiteral(".bmp"));
        if (flag.isNull())
            flag = loadPicture(shell::App_State.Language_Folder + QStringLiteral("/DefaultFlag.bmp"));
        I_L[k]->setPixmap(flag);
        I_L[k]->setVisible(!flag.isNull());
    }
}

void TFSoftOptions::Btn_NextClick()
{
    if (Page_Count() >= Show_Page + 1)
        ++Show_Page;
    Draw_Language_Page(Show_Page);
}

void TFSoftOptions::Btn_PrevClick()
{
    if (Show_Page - 1 >= 1)
        --Show_Page;
    Draw_Language_Page(Show_Page);
}

void TFSoftOptions::Language_Click(int k)
{
    using shell::Lang;
    const QString name = Language_Of_Slot(k);
    if (name.isEmpty())
        return;
    const QString question = Lang(316) + Language_In_Use + Lang(317) + name + Lang(318);
    if (platform::MessageDlg(question, platform::TMsgDlgType::mtConfirmation, platform::TMsgDlgButtons::mbYesNo) !=
        platform::mrYes)
        return;
    Language_In_Use = name;
    // The program's language changes only with OK; the texts change at once.
    const QString kept = shell::App_State.Language_Name;
    shell::App_State.Language_Name = name;
    shell::Load_Language();
    shell::App_State.Language_Name = kept;
    if (On_Language_Changed)
        On_Language_Changed();
    else
        Set_Lang();
    // Set_Lang resets the page labels; show the page the user is on.
    Draw_Language_Page(Show_Page);
}

void TFSoftOptions::Set_Enabled_States()
{
    CB_Update->setEnabled(CB_En_Con->isChecked());
    Btn_Check_Update->setEnabled(CB_Update->isEnabled() && CB_Update->isChecked());
}

bool TFSoftOptions::Check_Version() { return shell::Check_Version(shell::Version_Check_Server); }

int TFSoftOptions::Conv_Version(const QString& text) { return shell::Conv_Version(text); }

void TFSoftOptions::Btn_Check_UpdateClick()
{
    if (Check_Version()) {
        LL_Check_Update->setTextFormat(Qt::RichText);
        LL_Check_Update->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                     .arg(shell::Version_Page_Link().toHtmlEscaped(), shell::Lang(314).toHtmlEscaped()));
    } else {
        LL_Check_Update->setTextFormat(Qt::PlainText);
        LL_Check_Update->setText(shell::Lang(315));
    }
    LL_Check_Update->show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString& link)
{
    if (Link_Opener && !link.isEmpty())
        Link_Opener(link);
}

void TFSoftOptions::Btn_OKClick()
{
    using namespace shell;
    App_State.Language_Name = Language_In_Use;
    App_State.Opt_Enable_Internet = CB_En_Con->isChecked();
    App_State.Opt_Enable_Update = CB_Update->isChecked();
    App_State.Opt_Jump_Field_Tables = CB_Soft_Set_Jump_Table->isChecked();
    App_State.Opt_Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->isChecked();
    SetModalResult(platform::mrOk);
}

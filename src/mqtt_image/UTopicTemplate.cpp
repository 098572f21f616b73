#include "mqtt_image/UTopicTemplate.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtStringGrid.h"
#include "platform/Dialogs.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QVBoxLayout>
#include <utility>
#include <vector>

TFTopicTemplate* FTopicTemplate() { return shell::Window<TFTopicTemplate>(); }

void Edit_Cell_In_Topic_Editor(TFTopicTemplate* editor, grid::TExtStringGrid& grid, int col, int row)
{
    // An open in-place editor hands its text to the cell now, so the editor starts from it and
    // nothing writes an older text over the editor's result.
    grid.CellsMoving();
    editor->RE_TopicTemplate->clear();
    editor->RE_TopicTemplate->setPlainText(grid.Cells(col, row));
    if (editor->ShowModal() == platform::mrOk) {
        grid.SetCells(col, row, editor->RE_TopicTemplate->toPlainText());
        grid.Invalidate();
    }
}

namespace {

constexpr int kClientWidth = 635;
constexpr int kClientHeight = 396;
constexpr int kLegendHeight = 108;
constexpr int kButtonsHeight = 40;

struct TKeyword {
    const char* Text;
    int Description;  // text-table index
};

// The keywords the gateway substitutes in one context, in the order the list shows them.
std::vector<TKeyword> Keywords_For(int workingMode, int topicTemplate, int pubSub)
{
    if (workingMode == 1) {
        if (topicTemplate != 1)
            return {};
        if (pubSub == 0)
            return {{"$VALUE$", 1719}, {"$DESC$", 1721}, {"$TIME$", 1722}};
        return {{"$VALUE$", 1719}};
    }
    if (pubSub != 0)
        return {};
    if (topicTemplate == 1)
        return {{"$SOURCE$", 1716}, {"$TRAN_ID$", 1717}, {"$FC$", 1718}, {"$VALUE$", 1719},
                {"$DATA$", 1720},   {"$DESC$", 1721},    {"$TIME$", 1722}};
    return {{"$SOURCE$", 1716}, {"$FC$", 1718}};
}

}  // namespace

TFTopicTemplate::TFTopicTemplate(const grid::TGridLayers& gridLayers, QWidget* parent) : platform::TForm(parent)
{
    setObjectName(QStringLiteral("FTopicTemplate"));
    shell::Style_Window(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    P_Title = shell::Make_Step_Title(this, kClientWidth, L_SW_Code, L_SW_Desc);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    RE_TopicTemplate = new QPlainTextEdit(Splitter1);
    RE_TopicTemplate->setObjectName(QStringLiteral("RE_TopicTemplate"));
    // What the user types is the text: no rich text is pasted in and long lines are not folded.
    RE_TopicTemplate->setLineWrapMode(QPlainTextEdit::NoWrap);
    RE_TopicTemplate->setTabChangesFocus(true);

    P_Legend = new QWidget(Splitter1);
    P_Legend->setObjectName(QStringLiteral("P_Legend"));
    L_List_Keywords = new QLabel(P_Legend);
    L_List_Keywords->setObjectName(QStringLiteral("L_List_Keywords"));
    ESG_Keywords = new grid::TExtStringGrid;
    ESG_Keywords->SetLayers(gridLayers);
    ESG_Keywords->setParent(P_Legend);
    ESG_Keywords->setObjectName(QStringLiteral("ESG_Keywords"));
    ESG_Keywords->EnableHTML = false;
    ESG_Keywords->SetColCount(2);
    ESG_Keywords->SetFixedCols(0);
    // Without a fixed column the first column is a scrolling one and must be in view.
    ESG_Keywords->SetLeftCol(0);
    ESG_Keywords->SetRowCount(2);
    ESG_Keywords->SetFixedRows(1);
    ESG_Keywords->SetColWidths(0, 200);
    ESG_Keywords->SetColWidths(1, 380);
    ESG_Keywords->SetRowHeights(0, 22);
    ESG_Keywords->Options |= grid::goEditing;
    auto* legend = new QVBoxLayout(P_Legend);
    legend->setContentsMargins(4, 2, 4, 2);
    legend->setSpacing(2);
    legend->addWidget(L_List_Keywords);
    legend->addWidget(ESG_Keywords, 1);
    Splitter1->addWidget(RE_TopicTemplate);
    Splitter1->addWidget(P_Legend);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);

    P_Buttons = new QWidget(this);
    P_Buttons->setObjectName(QStringLiteral("P_Buttons"));
    P_Buttons->setFixedHeight(kButtonsHeight);
    Btn_OK = new controls::TPicButton(P_Buttons);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->setGeometry(kClientWidth - 2 * 118, 6, 110, 28);
    Btn_OK->SetModalResult(platform::mrOk);
    Btn_Cancel = new controls::TPicButton(P_Buttons);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->setGeometry(kClientWidth - 118, 6, 110, 28);
    Btn_Cancel->SetModalResult(platform::mrCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(P_Buttons);

    L_SW_Code->setText(shell::App_State.SW_Code);
    SetClientSize(kClientWidth, kClientHeight);
    Splitter1->setSizes({kClientHeight - 69 - kButtonsHeight - kLegendHeight, kLegendHeight});
    Set_Lang();
    shell::Apply_Window_Look(this);
    shell::Set_OK_Glyph(Btn_OK);
}

TFTopicTemplate::~TFTopicTemplate() = default;

void TFTopicTemplate::Set_Lang()
{
    using shell::Lang;
    SetCaption(Lang(1700));
    L_SW_Desc->setText(Lang(1702));
    L_List_Keywords->setText(Lang(1704));
    ESG_Keywords->SetCells(0, 0, Lang(1705));
    ESG_Keywords->SetCells(1, 0, Lang(1706));
    Btn_OK->SetCaption(Lang(1707));
    Btn_Cancel->SetCaption(Lang(1708));
}

void TFTopicTemplate::Laod_Keywords()
{
    const std::vector<TKeyword> keywords = Keywords_For(Working_Mode, TopicTemplate, Pub_Sub);
    const int rows = keywords.empty() ? 1 : int(keywords.size());
    ESG_Keywords->SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        const bool has = size_t(r - 1) < keywords.size();
        ESG_Keywords->SetCells(0, r, has ? QLatin1String(keywords[size_t(r - 1)].Text) : QString());
        ESG_Keywords->SetCells(1, r, has ? shell::Lang(keywords[size_t(r - 1)].Description) : QString());
        ESG_Keywords->SetReadOnly(0, r, false);
        ESG_Keywords->SetReadOnly(1, r, true);
    }
}

void TFTopicTemplate::FormShow()
{
    const bool isTemplate = TopicTemplate == 1;
    SetCaption(shell::Lang(isTemplate ? 1701 : 1700));
    L_SW_Desc->setText(shell::Lang(isTemplate ? 1703 : 1702));
    Laod_Keywords();
    if (RE_TopicTemplate->isEnabled())
        RE_TopicTemplate->setFocus();
}

#pragma once
#include "grid/core/GridLayers.h"
#include "platform/TForm.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QString>

namespace controls {
class TPicButton;
}
namespace grid {
class TExtStringGrid;
}

// The topic and template editor: one topic or payload template, typed in a box above the list of
// the keywords the gateway substitutes in that context. It checks nothing; the caller does.
class TFTopicTemplate : public platform::TForm {
    Q_OBJECT
public:
    // The keyword grid gets gridLayers (none: a plain grid).
    explicit TFTopicTemplate(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    ~TFTopicTemplate() override;
    void Set_Lang() override;

    // Fills the keyword table for the context below.
    void Laod_Keywords();

    // The context, set by the caller before each show and kept afterwards.
    int TopicTemplate = 0;  // 1: a payload template; 0: a topic
    int Working_Mode = 0;   // 1: this product's tables; else the Modbus TCP keyword set
    int Pub_Sub = 0;        // 0: a publish table; 1: a subscribe table

    QWidget* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QSplitter* Splitter1;
    QPlainTextEdit* RE_TopicTemplate;
    QWidget* P_Legend;
    QLabel* L_List_Keywords;
    grid::TExtStringGrid* ESG_Keywords;
    QWidget* P_Buttons;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;

protected:
    void FormShow() override;
};

TFTopicTemplate* FTopicTemplate();

// Opens the editor, modally, on a cell's text; OK writes the editor's text back into the cell,
// Cancel leaves it. The keyword context (TopicTemplate, Working_Mode, Pub_Sub) is the caller's.
void Edit_Cell_In_Topic_Editor(TFTopicTemplate* editor, grid::TExtStringGrid& grid, int col, int row);


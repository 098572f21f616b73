#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "grid/core/GridSettings.h"
#include "grid/core/GridTypes.h"
#include "platform/TCanvas.h"

namespace grid {

class TExtStringGrid;

// Options of the HTML export.
class THTMLSettings {
public:
    bool AutoPreview = false;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    bool ConvertSpecialChars = false;
    bool ExportImages = true;
    QString FooterFile, HeaderFile;
    bool NonBreakingText = false;
    QString PrefixTag;
    bool SaveColor = true;
    bool SaveFonts = true;
    QString SuffixTag, Summary, TableStyle;
    int Width = 100;  // percent
    bool XHTML = false;
    TIntList ColWidths;
    // Everything but ExportImages and ColWidths.
    void Assign(const THTMLSettings& source);
};

enum TPrintPosition : uint8_t {
    ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter
};
enum TPrintBorders : uint8_t {
    pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};
enum TFitToPage : uint8_t { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
enum TPrinterOrientation : uint8_t { poPortrait, poLandscape };

// Options of printing and print preview.
class TPrintSettings {
public:
    explicit TPrintSettings(TExtStringGrid* grid) : FGrid(grid) {}
    TExtStringGrid* Grid() const { return FGrid; }
    TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
    QString DateFormat = QStringLiteral("dd/mm/yyyy");
    QString PageNumSep = QStringLiteral("/");
    QString PagePrefix, PageSuffix, TitleText, JobName;
    QStringList TitleLines;
    TFontDesc Font, HeaderFont, FooterFont, FixedFont;
    TPrintBorders Borders = pbSingle;
    platform::TPenStyle BorderStyle = platform::TPenStyle::psSolid;
    TColor BorderColor = 0;
    bool Centered = true;
    bool RepeatFixedRows = false, RepeatFixedCols = false;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int ColumnSpacing = 0, RowSpacing = 0, TitleSpacing = 0;
    TPrinterOrientation Orientation = poPortrait;
    int PageNumberOffset = 0, MaxPagesOffset = 0;
    int FixedWidth = 0, FixedHeight = 0;
    bool UseFixedWidth = false, UseFixedHeight = false;
    TFitToPage FitToPage = fpNever;
    bool NoAutoSize = false, NoAutoSizeRow = false, PrintGraphics = false;
    bool UseDisplayFont = true;
    bool UseDefaultOrientation = false;
    bool FixedCellsAlways = false;
    // Everything but FixedCellsAlways; fonts and title lines by value.
    void Assign(const TPrintSettings& source);

private:
    TExtStringGrid* FGrid;
};

enum TFilterCells : uint8_t { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterOperation : uint8_t { foSHORT, foNONE, foAND, foXOR, foOR };
enum TFilterMethod : uint8_t { fmExpression, fmLiteral };

// One filter condition on a real column.
class TFilterData {
public:
    int16_t Column = 0;
    QString Condition;
    bool CaseSensitive = true;
    TFilterCells Data = fcVirtual;
    QString Prefix, Suffix;  // cut from the cell text before matching
    TFilterOperation Operation = foSHORT;
    TFilterMethod Method = fmExpression;
    // Everything but Method; a null source does nothing.
    void Assign(const TFilterData* source);
};

// The grid's filter conditions, in order.
class TFilter {
public:
    explicit TFilter(TExtStringGrid* grid) : FGrid(grid) {}
    TExtStringGrid* Grid() const { return FGrid; }
    int Count() const { return int(FItems.size()); }
    // A new last condition: Operation foNONE when it is the only one, else foAND.
    TFilterData* Add();
    // A new last condition with Operation foSHORT; the index is not used.
    TFilterData* Insert(int index);
    TFilterData* Items(int index) const;
    TFilterData* operator[](int index) const { return Items(index); }
    void SetItem(int index, const TFilterData& value);
    void Delete(int index);
    void Clear() { FItems.clear(); }
    // The first condition of the column, made with Add when there is none.
    TFilterData* GetColFilter(int col);
    bool HasFilter(int col) const;
    // Removes every condition of the column and repaints its header.
    void RemoveColumnFilter(int col);
    void Assign(const TFilter& source);

private:
    void CheckIndex(int index) const;
    TExtStringGrid* FGrid;
    std::vector<std::unique_ptr<TFilterData>> FItems;
};

}  // namespace grid

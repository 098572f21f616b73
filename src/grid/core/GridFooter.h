#pragma once
#include <QString>
#include <functional>
#include <memory>

#include "grid/core/GridOwned.h"
#include "grid/core/GridSettings.h"

class QWidget;

namespace platform {
class TCanvas;
}

namespace grid {

class TExtStringGrid;

enum TFooterStyle : uint8_t { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

// Custom footer value of a column: (grid, ACol, ARow, Value).
using TCalcFooterEvent = std::function<void(TExtStringGrid*, int, int, QString&)>;

// The strip under the cells that stays while the rows scroll: the grid's last row as a footer row,
// a preview of the current row, or whatever an event paints.
class TFloatingFooter {
public:
    explicit TFloatingFooter(TExtStringGrid* grid) : FGrid(grid) {}

    TCalcFooterEvent OnCalcFooter;

    int Height() const { return FHeight; }
    void SetHeight(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle value);
    int Column() const { return FColumn; }
    void SetColumn(int value);
    const QString& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const QString& value);
    bool CalculateHiddenRows = true;
    bool EnableCalculation = true;
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);

    // Copies the template, colour, column, style, hidden-row and hint settings, then Visible.
    void Assign(const TFloatingFooter& source);
    void Invalidate();
    // The calculation of real column c, kept in the footer row's cell.
    TColumnCalcType GetColumnCalc(int c) const;
    void SetColumnCalc(int c, TColumnCalcType value);
    // Follows the grid's default row height without resizing a hidden panel.
    void DefaultRowHeightChanged(int value);

private:
    TExtStringGrid* FGrid;
    int FHeight = 0;
    bool FVisible = false;
    TColor FColor = clBtnFace;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    int FColumn = 0;
    QString FCustomTemplate;
    bool FShowHint = false;
    TColor FBorderColor = clNone;
};

// Replaces every "<#N>" tag of the template by column N of the row; a tag whose inner text is not
// a decimal number is dropped, an unclosed tag ends the expansion with the rest kept as it is.
QString ExpandFooterTemplate(const QString& tmpl, const std::function<QString(int col)>& cellText);

// The panel docked at the grid's foot that shows the floating footer.
class TFooterPanel : public TGridChild {
public:
    explicit TFooterPanel(TExtStringGrid* grid);
    ~TFooterPanel() override;
    int Height = 0;
    int FLastHintX = -1;
    bool ShowHint = false;

    // Paints the strip into a canvas of the panel's size.
    void Paint(platform::TCanvas& canvas, int width, int height);
    void Invalidate();
    // Docks the panel's window at the foot of the grid's client area, shown while Visible and
    // higher than 0; the window is made on first need.
    void Realign();
    QWidget* Window() const;
    // On window creation: the footer's height when it shows, then OnCreatedFloatingFooter.
    void CreateWnd();
    // The real column under client x: fixed columns first, then from the left column on; -1 past
    // the last column.
    int ColumnAt(int x) const;
    // Hint text for client x; false when the panel shows none there.
    bool HintAt(int x, QString& hint);
    void MouseMove(int x);
    void MouseUp(int x);
    void MouseLeave() { FLastHintX = -1; }
    bool HintCancelled = false;

private:
    class TWindow;
    std::unique_ptr<TWindow> FWindow;
    int PaintFixedLastRow(platform::TCanvas& canvas, int width, int height);
    int PaintPreview(platform::TCanvas& canvas, int width, int height);
};

}  // namespace grid

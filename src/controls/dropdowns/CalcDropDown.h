#pragma once
#include "controls/dropdowns/CalcButtonPanel.h"
#include "controls/dropdowns/DropDownEdit.h"

#include <QPointer>
#include <memory>

// A numeric drop-down edit whose drop-down holds a pocket calculator: the edit is the
// calculator's display, and the value left in it is the control's value.
namespace dropdowns {

class TExtCalculatorDropdown : public TExtCustomDropDown {
    Q_OBJECT
public:
    explicit TExtCalculatorDropdown(QWidget* parent = nullptr);
    ~TExtCalculatorDropdown() override;

    // The display as a number: an empty display becomes "0" first; text that is no number reads 0.
    double Value();
    // Writes the number in general format; the display formats it with the precision.
    void SetValue(double value);
    // The same as the "=" key.
    void CalcResult() { DoEqual(); }

    TButtonAppearance& CalcButtonAppearance() { return *FCalcButtonAppearance; }
    void SetCalcButtonAppearance(const TButtonAppearance& value) { FCalcButtonAppearance->Assign(value); }
    bool ShowThousandSeparator() const { return FShowThousandSeparator; }
    void SetShowThousandSeparator(bool value);

    TCustomButtonPanel* ButtonPanel() const { return FExtButtonPanel; }
    // The memory and the pending operation (-1 none, 0 add, 1 multiply, 2 subtract, 3 divide).
    long double Memory() const { return FMVal; }
    long double Accumulator() const { return FPrevval; }
    int PendingOperation() const { return FPrevop; }

    // A key of the panel, by its index in the panel's Buttons.
    void CalcButtonClick(QObject* sender, int index);

    void SetComponentStyle(TSuiteStyle AStyle) override;
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoHideDropDown(bool cancelChanges) override;
    void FormKeyPress(QChar& key) override;
    void FormKeyDown(int& key, TShiftState shift) override;
    void KeyPress(QChar& key) override;

protected:
    // Called at the start of every key click and of every character typed while the panel is open.
    virtual void DoBeforeInput() {}

    void keyPressEvent(QKeyEvent* event) override;

private:
    // The calculator's reaction to a character typed while the panel is open.
    void HandleCalcKey(QChar key);
    void ApplyPendingOperation();
    void DoAdd();
    void DoSubtract();
    void DoMultiply();
    void DoDivide();
    void DoEqual();
    void DoPercent();
    // Shows the number, or "Error" when it is too large for the display.
    void Show(long double value);
    void ShowError() { TExtCustomDropDown::SetText(QStringLiteral("Error")); }
    // The display as a number; false when it is none.
    bool DisplayNumber(long double& value) const;
    // The display's value: 0 for an empty display, "Error" or text that is no number.
    long double DisplayValue() const;
    bool MaxLengthReached() const;
    void ClearAll();

    std::unique_ptr<TButtonAppearance> FCalcButtonAppearance;
    QPointer<TCustomButtonPanel> FExtButtonPanel;
    long long FDecim = 0;
    bool FNewval = false;
    long double FPrevval = 0;
    int FPrevop = -1;
    bool FCalcClosed = true;
    long double FMVal = 0;
    bool FShowThousandSeparator = false;
    // The value the edit had when the panel opened.
    QString FTextAtOpening;
};

}  // namespace dropdowns

#pragma once
#include "controls/common/ExtStyleIF.h"
#include "controls/dropdowns/DropDownButtons.h"
#include "controls/dropdowns/DropDownDraw.h"
#include "controls/dropdowns/DropDownForm.h"
#include "controls/dropdowns/DropDownHeaderFooter.h"
#include "controls/dropdowns/DropDownStrips.h"
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QCheckBox;

// The base of every drop-down control: a one-line edit with an arrow button that opens a
// borderless panel (TDropDownForm) holding a descendant's inner control, with an optional header
// and footer strip. Descendants plug in by overriding the virtual operations below and calling
// the base first.
//
// For descendants: virtual calls made by this class's constructor reach only this class's own
// operations. A descendant that overrides CreateDropDownForm, SetSelectionColorStyle or
// SetComponentStyle calls its override at the end of its own constructor (CreateDropDownForm:
// the base part finds the form there already and only the descendant's part runs).
namespace dropdowns {

using controls::TColorTones;
using controls::TSuiteStyle;
using platform::TColor;
using platform::TShiftState;

enum TDropDownEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange,
    etHex, etAlphaNumeric, etValidChars
};

enum TDropPosition { dpAuto, dpDown, dpUp };

enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };

enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};

// What a text is, as the number edit types see it; "above float" means ktText or ktHex.
enum TTextKind { ktInteger, ktFloat, ktHex, ktText };

using TDropDownEvent = std::function<void(QObject* sender, bool& acceptdrop)>;
using TDropUpEvent = std::function<void(QObject* sender, bool cancelled)>;
using TClipboardEvent = std::function<void(QObject* sender, const QString& value, bool& allow)>;
using TDropDownButtonItemClick = std::function<void(QObject* sender, int buttonIndex)>;
using TDrawBackGroundEvent = std::function<void(QObject* sender, platform::TCanvas& canvas, QRect rect)>;
using TGetTextEvent = std::function<void(QObject* sender, QString& text)>;

// The colours the item-appearance presets set on a list-like descendant's item look. A descendant
// fills its own appearance from this after SetItemAppearanceStyle.
struct TItemAppearanceColors {
    TColor ColorHot = platform::clNone, ColorHotTo = platform::clNone;
    TColor ColorMirrorHot = platform::clNone, ColorMirrorHotTo = platform::clNone;
    TColor ColorSelected = platform::clNone, ColorSelectedTo = platform::clNone;
    TColor ColorMirrorSelected = platform::clNone, ColorMirrorSelectedTo = platform::clNone;
    TColor BorderColor = platform::clNone;
    TColor BorderColorTop = platform::clNone, BorderColorBottom = platform::clNone;
    TColor EdgeColor = platform::clNone;
    TColor BorderColorHot = platform::clNone, BorderColorSelected = platform::clNone;
    TColor ColorSelectedText = platform::clBlack, ColorHotText = platform::clBlack;
};

// Number and text routines of the edit types, with the locale's separators read at each call.
QChar DecimalSeparator();
QChar ThousandSeparator();
TTextKind ClassifyText(const QString& s);
QString StripThousandSeparators(const QString& s);
// The locale's strict conversion after removing thousand separators; 0 when it fails.
double EditStrToFloat(const QString& s);
int HexDigitValue(QChar c);
qint64 HexToInt(const QString& s);
bool IsRangeSeparator(QChar c);
// Format("%.<precision>f") and Format("%.<precision>n") (thousands grouped) in the locale.
QString FormatFixed(double value, int precision);
QString FormatGrouped(double value, int precision);
// Format("%g") in the locale.
QString FormatGeneral(double value);
// The first letter of every word (words part at a blank, apostrophe, comma, hyphen or full stop)
// upper-cased, the others lower-cased; "Mc" names and closing numerals I, II, III keep capitals.
QString CapitalizeWords(const QString& text);
// The item a step of delta from index lands on among count items: the first one from none, -1
// where the step would leave the items (nothing to select).
int SteppedItemIndex(int count, int index, int delta);

class TExtCustomDropDown : public QLineEdit, public controls::ISuiteStyle, public controls::ISuiteTones {
    Q_OBJECT
public:
    explicit TExtCustomDropDown(QWidget* parent = nullptr);
    ~TExtCustomDropDown() override;

    // Value and numbers.
    // The value: the edit text without the prefix (when it starts with it) and without as many
    // characters at the end as the suffix has, when the text ends with the suffix.
    QString Text() const { return GetText(); }
    virtual QString GetText() const;
    // Writes the value with the prefix, suffix, precision and edit-type rules; it becomes the
    // value a cancelled drop-down returns to.
    virtual void SetText(const QString& value);
    // Writes the edit text as it stands: no prefix, suffix or formatting; the old value stays.
    void SetTextDirect(const QString& value);
    QString RawText() const { return QLineEdit::text(); }
    double GetFloatValue() const;
    void SetFloatValue(double value);
    void SetIntValue(int value);
    void SelectAll();
    void SelectAfterDecimal();
    void SelectBeforeDecimal();

    TDropDownEditType EditType() const { return FEditType; }
    int Precision() const { return FPrecision; }
    void SetPrecision(int value);
    QString Prefix() const { return FPrefix; }
    QString Suffix() const { return FSuffix; }
    bool Signed() const { return FSigned; }
    int LengthLimit() const { return FLengthLimit; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    QString ValidChars() const { return FValidChars; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool value) { FDefaultHandling = value; }
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool value) { FCanUndo = value; }
    bool IsModified() const { return GetIsModified(); }

    // Drop-down.
    void ShowDropDown() { DoShowDropDown(); }
    void HideDropDown(bool cancelChanges) { DoHideDropDown(cancelChanges); }
    bool DroppedDown() const { return FDroppedDown; }
    TDropDownForm* DropDownForm() const { return FDropDownForm; }
    TDropDownEditButton* Button() const { return FButton; }
    QWidget* Control() const { return FControl; }
    // The form's opening unless it closed less than 250 ms ago (a click that closed it by
    // deactivation does not reopen it).
    void ClickDropDown();

    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value);
    int DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int value);
    // The form size remembered at the last close; -1 when none.
    int UserDropDownWidth() const { return FUserDropDownWidth; }
    int UserDropDownHeight() const { return FUserDropDownHeight; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value);
    TDropPosition DropPosition() const { return FDropPosition; }
    void SetDropPosition(TDropPosition value) { FDropPosition = value; }
    bool DropDownShadow() const { return FDropDownShadow; }
    void SetDropDownShadow(bool value) { FDropDownShadow = value; }
    bool ForceShadow() const { return FForceShadow; }
    void SetForceShadow(bool value) { FForceShadow = value; }
    int DropDownBorderWidth() const { return FDropDownBorderWidth; }
    void SetDropDownBorderWidth(int value) { FDropDownBorderWidth = value; }
    TColor DropDownBorderColor() const { return FDropDownBorderColor; }
    void SetDropDownBorderColor(TColor value) { FDropDownBorderColor = value; }
    TColor DropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor value) { FDropDownColor = value; }
    TColor DropDownColorTo() const { return FDropDownColorTo; }
    void SetDropDownColorTo(TColor value) { FDropDownColorTo = value; }
    TGradientDirection DropDownGradient() const { return FDropDownGradient; }
    void SetDropDownGradient(TGradientDirection value) { FDropDownGradient = value; }
    bool DropDownSizeable() const { return FDropDownSizeable; }
    void SetDropDownSizeable(bool value) { FDropDownSizeable = value; }
    bool DropDownEnabled() const { return FDropDownEnabled; }
    void SetDropDownEnabled(bool value) { FDropDownEnabled = value; }
    int DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int value);
    QString DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const QString& value);
    QImage DropDownButtonGlyph() const;
    void SetDropDownButtonGlyph(const QImage& value);
    const platform::TImageList* Images() const { return FImages; }
    void SetImages(const platform::TImageList* value) { FImages = value; }

    THeaderAppearance& DropDownHeader() { return *FDropDownHeader; }
    const THeaderAppearance& DropDownHeader() const { return *FDropDownHeader; }
    void SetDropDownHeader(const THeaderAppearance& value) { FDropDownHeader->Assign(value); }
    TFooterAppearance& DropDownFooter() { return *FDropDownFooter; }
    const TFooterAppearance& DropDownFooter() const { return *FDropDownFooter; }
    void SetDropDownFooter(const TFooterAppearance& value) { FDropDownFooter->Assign(value); }
    TExtButtonAppearance& ButtonAppearance() { return *FButtonAppearance; }
    void SetButtonAppearance(const TExtButtonAppearance& value) { FButtonAppearance->Assign(value); }

    // Appearance.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value) { FFocusBorderColor = value; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value);
    bool Flat() const { return FFlat; }
    bool FocusDraw() const { return FFocusDraw; }
    void SetFocusDraw(bool value);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor value) { FSelectionColor = value; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor value) { FSelectionColorTo = value; }
    TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
    TSuiteStyle GetComponentStyle() const { return FSuiteStyle; }
    bool IsThemed() const { return FIsThemed; }

    QString LabelCaption() const;
    void SetLabelCaption(const QString& value);
    QLabel* EditLabel() const { return FLabel; }
    const platform::TFont& LabelFont() const { return FLabelFont; }
    void SetLabelFont(const platform::TFont& value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value) { FLabelAlwaysEnabled = value; }

    // "1.2.1.4" for the base; writing does nothing.
    QString GetVersion() const;
    void SetVersion(const QString&) {}

    // Copies the settings of another drop-down edit; any other source is ignored.
    virtual void Assign(const QObject* source);

    // The look of the given style; tsCustom changes nothing.
    void SetComponentStyle(TSuiteStyle AStyle) override;
    void SetColorTones(const TColorTones& ATones) override;

    // Events.
    TDropDownEvent OnDropDown;
    TDropUpEvent OnDropUp;
    std::function<void()> OnBeforeDropDown;
    std::function<void()> OnBeforeDropUp;
    TClipboardEvent OnClipboardCopy, OnClipboardPaste, OnClipboardCut;
    TDropDownButtonItemClick OnDropDownFooterButtonClick, OnDropDownHeaderButtonClick;
    TDrawBackGroundEvent OnDrawHeader, OnDrawFooter;
    TGetTextEvent OnGetFooterText, OnGetHeaderText;
    std::function<void()> OnLabelClick, OnLabelDblClick;
    // After every text change of the edit, except one swallowed by BlockChange.
    std::function<void()> OnChange;
    // Key events as the base edit fires them (key codes are virtual key codes).
    std::function<void(int& key, TShiftState shift)> OnKeyDown;
    std::function<void(int& key, TShiftState shift)> OnKeyUp;
    std::function<void(QChar& key)> OnKeyPress;

    // The virtual operations.
    virtual void LabelClick();
    virtual void LabelDblClick();
    virtual int GetVersionNr() const { return 0x01020104; }
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void UpdateDropDownButton();
    virtual void DoBeforeDropDown();
    virtual void AdaptDropDownHeight(int& height) { (void)height; }
    virtual void FocusDropDownControl();
    virtual void DoShowDropDown();
    virtual void PlaceDropDownControl();
    virtual void UpdateDropDownSize();
    virtual void DoHideDropDown(bool cancelChanges);
    virtual void DropDownHidden();
    virtual void DropDownFormDestroyed() {}
    virtual void FormMouseWheelDown(bool& handled);
    virtual void FormMouseWheelUp(bool& handled);
    virtual void FormKeyPress(QChar& key);
    virtual void FormKeyDown(int& key, TShiftState shift);
    virtual void FormKeyUp(int& key, TShiftState shift);
    virtual void ControlKeyDown(int& key, TShiftState shift);
    virtual void ControlKeyUp(int& key, TShiftState shift);
    virtual void ControlKeyPress(QChar& key);
    virtual void FormSizing() {}
    virtual void SelectNextItem() {}
    virtual void SelectPreviousItem() {}
    virtual void DrawFocusedValue(QPainter& painter);
    virtual void SetEditRect();
    virtual void ResizeControl();
    virtual void SetSelectionColorStyle(TSelectionColorStyle value);
    virtual void DrawSelection(platform::TCanvas& canvas, QRect rect, TColor cornerColor, int kind);
    virtual void DrawGradientBackground(platform::TCanvas& canvas, TColor fromColor, TColor toColor, int steps,
                                        QRect r, bool vertical);

    // The edit's key handling as a key-down message reaches it (also keys forwarded from the
    // form and the inner control) and as a character reaches it.
    void WMKeyDown(int key, TShiftState shift);
    void WMChar(QChar key, TShiftState shift = 0);
    // Base key handling then Alt+Up / Alt+Down toggling; KeyPress: base handling, Enter dropped.
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void KeyUp(int& key, TShiftState shift);

    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();

    // The formatting rectangle of the edit.
    QRect GetEditRect() const { return FEditRect; }
    int GetMinHeight() const;
    // The hot look: the mouse is over the edit or the edit has the focus.
    bool IsHot() const;

    // The selection colour presets for a list-like descendant's item look.
    static void SetItemAppearanceStyle(TItemAppearanceColors& appearance, TSuiteStyle style);

protected:
    // For descendants.
    void SetControl(QWidget* control);
    void SetEditType(TDropDownEditType value);
    void SetModified(bool value);
    bool GetIsModified() const;
    int GetIntegerLength(const QString& s) const;
    int GetDecimalPos() const;
    bool IsAllowedMinus(QChar c) const;
    void ApplyThousandSeparator();
    void HeaderChanged();
    void FooterChanged();
    void UpdateLabel();
    void RedrawBorder();
    // The form was hidden by something other than DoHideDropDown (a click outside it).
    void FormClosedOutside();
    // Whether a key event reaching the form was already handed on by the inner control's filter.
    bool KeyCameFromControl() const;
    friend class TDropDownForm;

    // Qt's events mapped to the handlers above.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QPointer<QLabel> FLabel;
    bool FParentFnt = false;
    int FDropDownWidth = 0;
    int FDropDownHeight = 0;
    int FUserDropDownWidth = -1;
    int FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TDropPosition FDropPosition = dpAuto;
    bool FFlat = false;
    const platform::TImageList* FImages = nullptr;
    bool FDropDownShadow = true;
    int FDropDownBorderWidth = 1;
    QString FButtonHint;
    TColor FDropDownColorTo = platform::clNone;
    TColor FDropDownColor = platform::clWhite;
    TColor FDropDownBorderColor = platform::clBlack;
    int FButtonWidth = 17;
    bool FMouseInControl = false;
    QPointer<QWidget> FFocusControl;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TExtButtonAppearance> FButtonAppearance;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    QPointer<QWidget> FControl;
    TGradientDirection FDropDownGradient = gdHorizontal;
    bool FDropDownSizeable = true;
    TColor FSelectionColor = 0xD7FFFD;
    TColor FSelectionColorTo = 0x58D4FC;
    TSelectionColorStyle FSelectionColorStyle = scOffice2007;
    TDropDownEditType FEditType = etString;
    qint16 FLengthLimit = 0;
    qint16 FPrecision = 0;
    QString FPrefix;
    QString FSuffix;
    bool FSigned = false;
    bool FReturnIsTab = false;
    bool FIsThemed = true;
    bool FBlockChange = false;
    bool FAllowNumericNullValue = false;
    bool FDefaultHandling = true;
    bool FCanUndo = true;
    bool FExcelStyleDecimalSeparator = false;
    QString FValidChars;
    bool FBlockCopy = false;
    bool FButtonDown = false;
    bool FAutoThousandSeparator = true;
    bool FIsModified = false;
    QRect FEditRect;
    bool FDropDownEnabled = false;
    bool FDroppedDown = false;
    bool FFocusDraw = true;
    bool FForceShadow = false;
    TSuiteStyle FSuiteStyle = controls::tsOffice2007Luna;
    int FLabelMargin = 0;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    platform::TFont FLabelFont;
    TColor FBorderColor = platform::clNone;
    TColor FFocusBorderColor = platform::clNone;
    bool FDisabledBorder = true;
    TDropDownForm* FDropDownForm = nullptr;
    TDropDownEditButton* FButton = nullptr;
    QString FOldText;

private:
    void CreateLabel();
    void TextChangedByEdit();
    void HandleKeyDown(int key, TShiftState shift, QKeyEvent* event);
    // Hands a key to QLineEdit as if typed; shift in Windows terms.
    void BaseKeyDown(int key, TShiftState shift, QKeyEvent* event);
    void BaseChar(QChar key);
    void SignToggle();
    bool FloatMoneyChar(QChar& key);
    int CharFromPos(const QPoint& pos) const;
    void PostKeyToParent(int key, bool down, bool up);
    bool FHiding = false;
    bool FCurrentKeyToggled = false;
    bool FDestroying = false;
    bool FSettingText = false;
    int FPrecisionHold = -1;
    QKeyEvent* FCurrentKey = nullptr;
};

}  // namespace dropdowns

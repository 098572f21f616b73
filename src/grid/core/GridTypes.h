#pragma once
#include <QString>
#include <cstdint>

#include "platform/Exception.h"

namespace grid {

// Colours: 0x00BBGGRR, 0xFF0000nn a system colour, clNone "not set".
using TColor = uint32_t;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clInfoBk = 0xFF000018;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clHighlightText = 0xFF00000E;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clBlack = 0;
constexpr TColor clWhite = 0xFFFFFF;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// A rectangle of cell indexes, both corners inclusive.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// A font and a pen as data: what painting will select, never a platform object.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
struct TFontDesc {
    QString Name = QStringLiteral("Tahoma");
    int Size = 8;
    uint8_t Style = 0;
    TColor Color = clBlack;
    friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};

struct TPenDesc {
    int Width = 1;
    TColor Color = clSilver;
    friend bool operator==(const TPenDesc&, const TPenDesc&) = default;
};

// The platform grid's draw state of a cell.
enum TGridDrawStateFlag : uint8_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = uint8_t;

// Which cells of the hovered row take the hover colours.
enum THoverRowCell : uint8_t { hcNormal = 1, hcFixed = 2, hcSelected = 4 };
using THoverRowCells = uint8_t;

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TVAlignment : uint8_t { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection : uint8_t { GradientVertical, GradientHorizontal };
enum TCellHAlign : uint8_t { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign : uint8_t { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };
enum TBrushStyle : uint8_t { bsSolid, bsClear };
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
using TShiftState = uint32_t;

enum TColumnCalcType : uint8_t {
    acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV
};

enum TCellType : uint8_t {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage,
    ctNode, ctRadio, ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment,
    ctButton, ctBitButton, ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary,
    ctRangeIndicator, ctXPProgress, ctInterface, ctScrollbar, ctRadioButton, ctBalloon, ctShape,
    ctRating, ctTriStateCheckBox, ctExpand
};

enum TEditorType : uint8_t {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit,
    edDateEditUpDown, edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat,
    edCapital, edMixedCase, edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit,
    edTimeSpinEdit, edDateSpinEdit, edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone,
    edDateTimeEdit, edValidChars, edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown,
    edTimePickerDropDown, edDetailDropDown, edGridDropDown, edColorPickerDropDown,
    edImagePickerDropDown, edExtGridDropDown, edPositiveFloat, edNumericUnitEditBtn,
    edFloatUnitEditBtn, edMaskEditBtn
};

enum TSortStyle : uint8_t {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU,
    ssShortDateUS, ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML,
    ssImages, ssCheckBox, ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};

enum TCellBorder : uint8_t { cbTop = 1, cbLeft = 2, cbRight = 4, cbBottom = 8 };
using TCellBorders = uint8_t;

// The platform grid's option flags.
enum TGridOption : uint32_t {
    goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2,
    goHorzLine = 1u << 3, goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6, goColSizing = 1u << 7, goRowMoving = 1u << 8, goColMoving = 1u << 9,
    goEditing = 1u << 10, goTabs = 1u << 11, goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14
};
using TGridOptions = uint32_t;

// The grid's look presets, selection looks and scroll bar kinds.
enum TGridLook : uint8_t {
    glStandard, glSoft, glClassic, glVUR, glXP, glListView, glVista, glWin7, glOffice2007, glCustom
};
enum TSelectionStyle : uint8_t { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum TScrollType : uint8_t { ssNormal, ssFlat, ssEncarta, ssMetro };

// Misuse of the grid's typed and selection accessors.
class EExtGridError : public platform::Exception {
public:
    using platform::Exception::Exception;
};

// Root of the objects a cell or a list may refer to without owning them.
class TObject {
public:
    virtual ~TObject() = default;
};

}  // namespace grid

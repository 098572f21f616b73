#pragma once
#include <QFont>
#include <QLabel>
#include <QPointer>

#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/EsgDateTimePicker.h"

namespace dropdowns {

// The twin of the flat picker that can move on to the next field by itself after typed digits
// (AutoTab); it also serves as the time part of the date-and-time picker. It ignores its metro
// style.
class TCustomDateTimePicker : public TDateTimePickerBase {
    Q_OBJECT
public:
    explicit TCustomDateTimePicker(QWidget* parent = nullptr);

    bool AutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool value) { FAutoTab = value; }

    // Consulted first for every key press (Tab included); true takes the key.
    std::function<bool(QKeyEvent*)> KeyDownHook;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void ShiftFocus() override;
    bool DrawsFrame() const override { return false; }
    bool RedrawsEdgeLines() const override { return true; }
    // The parts recorded before a typed digit.
    QDate FDigitDate;
    QTime FDigitTime;

private:
    bool FAutoTab = false;
};

enum TExtDateTimeKind { dkDate, dkTime, dkDateTime };

// A picker of a kind (date, time, or date with a time part inside its right end) with an
// attached caption label on its parent (placed by the first eight label positions; the others
// place it as lpLeftTop).
class TExtDateTimePicker : public TCustomDateTimePicker {
    Q_OBJECT
public:
    explicit TExtDateTimePicker(QWidget* parent = nullptr);
    ~TExtDateTimePicker() override;
    QString Version() const { return QStringLiteral("1.2.0.0"); }

    TExtDateTimeKind ExtKind() const { return FKind; }
    void SetExtKind(TExtDateTimeKind value);
    // The date with the time of the time part when there is one.
    QDateTime GetDateTime();
    // Milliseconds are dropped; the time part takes the same value.
    void SetDateTime(const QDateTime& value);
    // Keeps the hours, minutes and seconds.
    void SetDate(const QDate& value);
    QTime Time() const;
    void SetTime(const QTime& value);
    QString TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const QString& value);
    void SetAutoTab(bool value) override;
    // Null while the kind has no time part (or the part was freed).
    TCustomDateTimePicker* TimePart() const { return FTimePicker; }
    // Places, shows or frees the time part after the kind and the picker's size.
    void RefreshTimePart();

    // Label.
    QString LabelCaption() const { return FLabel ? FLabel->text() : QString(); }
    void SetLabelCaption(const QString& value);
    QLabel* Label() const { return FLabel; }
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int value);
    const QFont& LabelFont() const { return FLabelFont; }
    void SetLabelFont(const QFont& value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    bool FocusLabel = false;
    // The label takes the picker's font instead of LabelFont.
    bool ParentFont = false;
    std::function<void()> OnLabelClick, OnLabelDblClick;

    // The time part's changes, after OnChange.
    std::function<void()> OnTimeChange;

protected:
    // A key of the picker or of its time part; true takes it.
    virtual bool PickerKeyDown(QKeyEvent* event);
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void ShiftFocus() override;
    bool DrawsFrame() const override { return true; }
    void CheckChanged() override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MakeTimePart();
    void PlaceLabel();
    TExtDateTimeKind FKind = dkDate;
    QString FTimeFormat;
    QPointer<TCustomDateTimePicker> FTimePicker;
    QPointer<QLabel> FLabel;
    QFont FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false, FLabelAlwaysEnabled = false;
    bool FFirstRun = true;
};

}  // namespace dropdowns

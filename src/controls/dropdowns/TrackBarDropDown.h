#pragma once
#include "controls/dropdowns/DropDownEdit.h"

#include <QPointer>
#include <QSlider>
#include <functional>

// An integer value picked with a drop-down track bar, by dragging the mouse across the edit or
// with the Up and Down keys.
namespace dropdowns {

class TExtTrackBarDropDown : public TExtCustomDropDown {
    Q_OBJECT
public:
    explicit TExtTrackBarDropDown(QWidget* parent = nullptr);
    ~TExtTrackBarDropDown() override;

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    // Pixels of mouse movement per step of dragging, and the track bar's page; at least 1.
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    // Tick spacing and the step of the Up and Down keys; at least 1.
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);

    QSlider* TrackBar() const { return FTrackBar; }
    bool MouseDraging() const { return FMouseDraging; }

    std::function<void()> OnTrackChange;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;

protected:
    // The track bar moved: its position becomes the value.
    void TrackBarChange();
    // After every change of the edit text: the text becomes the position when it is a number.
    void Change();

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Takes back what the track bar made of the range and position.
    void TakeBackFromTrackBar();

    QPointer<QSlider> FTrackBar;
    int FMin = 0;
    int FFrequency = 1;
    int FPageSize = 2;
    int FMax = 10;
    int FPosition = 0;
    bool FMouseDraging = false;
    int FMouseX = 0;
};

}  // namespace dropdowns

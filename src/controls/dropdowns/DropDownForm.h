#pragma once
#include "platform/PopupWindow.h"
#include "platform/TCanvas.h"

#include <QPointer>
#include <functional>

// The borderless panel a drop-down edit opens: header strip on top, footer strip at the bottom and
// the edit's inner control in between, all inside the border.
namespace dropdowns {

class TExtCustomDropDown;
class TExtHeader;
class TExtFooter;

class TDropDownForm : public platform::TPopupWindow {
    Q_OBJECT
public:
    explicit TDropDownForm(TExtCustomDropDown* owner);
    ~TDropDownForm() override;

    TExtCustomDropDown* ExtDropDown() const;
    void SetExtDropDown(TExtCustomDropDown* value);

    // Tick count (milliseconds) at which the form last lost activation while visible.
    qint64 DeActivateTime() const { return FDeActivate; }
    void SetDeActivateTime(qint64 value) { FDeActivate = value; }
    bool Shadow = true;
    // The bottom-right corner sizes the form.
    bool Sizeable = false;
    // Losing activation closes the drop-down with cancel.
    bool CancelOnDeActivate = true;
    // Activation changes are ignored.
    bool BlockActivate = false;

    TExtHeader* Header() const { return FHeader; }
    TExtFooter* Footer() const { return FFooter; }

    // Links, shows or hides the header and footer strips after the edit's settings.
    void InitializeAndUpdate();
    void PaintBackground(platform::TCanvas& canvas);
    // The outermost ancestor of the edit's window; null when it has no parent.
    QWidget* GetOwnerTopWindow() const;
    virtual void UpdateSize() {}

    std::function<void()> OnSizing;
    std::function<void()> OnHide;
    std::function<void()> OnDestroy;
    std::function<void(QChar& key)> OnKeyPress;
    std::function<void(int& key, unsigned shift)> OnKeyDown;
    std::function<void(int& key, unsigned shift)> OnKeyUp;
    std::function<void(bool& handled)> OnMouseWheelDown;
    std::function<void(bool& handled)> OnMouseWheelUp;

    // The client area left to the children: the form less the edit's border width on every side.
    QRect ChildArea() const;
    // Lays the strips and the inner control out in the child area.
    void LayoutChildren();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class TExtFooter;
    // Resizing from the bottom-right corner, started by the footer's size grip or the form itself.
    void BeginCornerSizing(const QPoint& globalPos);
    QPointer<TExtCustomDropDown> FExtDropDown;
    qint64 FDeActivate = 0;
    TExtHeader* FHeader = nullptr;
    TExtFooter* FFooter = nullptr;
    bool FSizing = false;
    QPoint FSizeStart;
    QSize FSizeStartSize;
};

}  // namespace dropdowns

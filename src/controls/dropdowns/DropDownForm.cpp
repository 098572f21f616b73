#include "controls/dropdowns/DropDownForm.h"

#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/DropDownStrips.h"
#include "platform/Guard.h"
#include "platform/TCustomControl.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

namespace dropdowns {

using namespace platform;

TDropDownForm::TDropDownForm(TExtCustomDropDown* owner) : TPopupWindow(owner)
{
    setAttribute(Qt::WA_NoMouseReplay);
    setMouseTracking(true);
}

TDropDownForm::~TDropDownForm()
{
    if (OnDestroy)
        OnDestroy();
}

TExtCustomDropDown* TDropDownForm::ExtDropDown() const
{
    return FExtDropDown;
}

void TDropDownForm::SetExtDropDown(TExtCustomDropDown* value)
{
    FExtDropDown = value;
}

QRect TDropDownForm::ChildArea() const
{
    const int b = FExtDropDown ? FExtDropDown->DropDownBorderWidth() : 0;
    return rect().adjusted(b, b, -b, -b);
}

void TDropDownForm::LayoutChildren()
{
    // A hidden form has no size of its own yet: its children keep theirs, which size the form.
    if (!isVisible())
        return;
    QRect area = ChildArea();
    if (FHeader && FHeader->isVisibleTo(this)) {
        FHeader->setGeometry(area.left(), area.top(), area.width(), FHeader->height());
        area.setTop(area.top() + FHeader->height());
    }
    if (FFooter && FFooter->isVisibleTo(this)) {
        FFooter->setGeometry(area.left(), area.bottom() + 1 - FFooter->height(), area.width(), FFooter->height());
        area.setBottom(area.bottom() - FFooter->height());
    }
    if (FExtDropDown) {
        QWidget* control = FExtDropDown->Control();
        if (control && control->parentWidget() == this)
            control->setGeometry(area);
    }
}

void TDropDownForm::InitializeAndUpdate()
{
    TExtCustomDropDown* edit = FExtDropDown;
    if (!edit)
        return;
    if (FHeader) {
        FHeader->SetExtDropDown(edit);
        FHeader->InitButtons();
        FHeader->setVisible(edit->DropDownHeader().Visible());
    } else if (edit->DropDownHeader().Visible()) {
        FHeader = new TExtHeader(this);
        FHeader->resize(width(), edit->DropDownHeader().Height);
        FHeader->SetExtDropDown(edit);
        FHeader->InitButtons();
        FHeader->show();
    }
    if (FHeader) {
        FHeader->resize(FHeader->width(), edit->DropDownHeader().Height);
        FHeader->OnDrawBackGround = [edit](QObject*, TCanvas& canvas, QRect r) {
            if (edit->OnDrawHeader)
                edit->OnDrawHeader(edit, canvas, r);
        };
        if (!edit->OnDrawHeader)
            FHeader->OnDrawBackGround = nullptr;
        FHeader->OnGetText = nullptr;
        if (edit->OnGetHeaderText)
            FHeader->OnGetText = [edit](QObject*, QString& text) { edit->OnGetHeaderText(edit, text); };
    }
    if (FFooter) {
        FFooter->SetExtDropDown(edit);
        FFooter->InitButtons();
        FFooter->setVisible(edit->DropDownFooter().Visible());
    } else if (edit->DropDownFooter().Visible()) {
        FFooter = new TExtFooter(this);
        FFooter->resize(width(), edit->DropDownFooter().Height);
        FFooter->SetExtDropDown(edit);
        FFooter->InitButtons();
        FFooter->show();
    }
    if (FFooter) {
        FFooter->resize(FFooter->width(), edit->DropDownFooter().Height);
        FFooter->OnDrawBackGround = nullptr;
        if (edit->OnDrawFooter)
            FFooter->OnDrawBackGround = [edit](QObject*, TCanvas& canvas, QRect r) {
                edit->OnDrawFooter(edit, canvas, r);
            };
        FFooter->OnGetText = nullptr;
        if (edit->OnGetFooterText)
            FFooter->OnGetText = [edit](QObject*, QString& text) { edit->OnGetFooterText(edit, text); };
    }
    LayoutChildren();
}

void TDropDownForm::PaintBackground(TCanvas& canvas)
{
    TExtCustomDropDown* edit = FExtDropDown;
    if (!edit)
        return;
    const int bw = edit->DropDownBorderWidth();
    QRect r = rect().adjusted(bw, bw, -bw, -bw);
    if (edit->DropDownColor() != clNone && edit->DropDownColorTo() != clNone) {
        DrawGradient(canvas, edit->DropDownColor(), edit->DropDownColorTo(), 80, r,
                     edit->DropDownGradient() == gdHorizontal);
    } else if (edit->DropDownColor() != clNone) {
        canvas.Brush.Color = edit->DropDownColor();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(r);
    }
    if (bw > 0) {
        r = rect();
        r.setLeft(r.left() + bw / 2);
        r.setTop(r.top() + bw / 2);
        r.setRight(rect().right());
        r.setBottom(rect().bottom());
        canvas.Pen.Width = bw;
        canvas.Pen.Color = edit->DropDownBorderColor();
        canvas.Pen.Style = edit->DropDownBorderColor() == clNone ? TPenStyle::psClear : TPenStyle::psSolid;
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Rectangle(r);
    }
}

QWidget* TDropDownForm::GetOwnerTopWindow() const
{
    if (!FExtDropDown)
        return nullptr;
    QWidget* w = FExtDropDown->parentWidget();
    if (!w)
        return nullptr;
    while (w->parentWidget())
        w = w->parentWidget();
    return w;
}

void TDropDownForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas;
    canvas.Attach(&painter);
    Guarded([&] { PaintBackground(canvas); });
    canvas.Detach();
}

void TDropDownForm::resizeEvent(QResizeEvent* event)
{
    TPopupWindow::resizeEvent(event);
    LayoutChildren();
    update();
}

void TDropDownForm::keyPressEvent(QKeyEvent* event)
{
    // Every key goes to the edit, Escape included: the edit decides how the drop-down closes.
    // A key the inner control left unhandled comes here too; the edit has had that one already.
    if (FExtDropDown && FExtDropDown->KeyCameFromControl()) {
        event->accept();
        return;
    }
    Guarded([&] {
        int key = VirtualKeyFromQt(event->key(), event->modifiers());
        const unsigned shift = ShiftStateFromQt(event->modifiers());
        if (key && OnKeyDown)
            OnKeyDown(key, shift);
        const QString text = event->text();
        if (!text.isEmpty() && OnKeyPress && !(event->modifiers() & Qt::AltModifier)) {
            QChar c = text.at(0);
            OnKeyPress(c);
        }
    });
    event->accept();
}

void TDropDownForm::keyReleaseEvent(QKeyEvent* event)
{
    if (FExtDropDown && FExtDropDown->KeyCameFromControl()) {
        event->accept();
        return;
    }
    Guarded([&] {
        int key = VirtualKeyFromQt(event->key(), event->modifiers());
        if (key && OnKeyUp)
            OnKeyUp(key, ShiftStateFromQt(event->modifiers()));
    });
    event->accept();
}

void TDropDownForm::wheelEvent(QWheelEvent* event)
{
    bool handled = false;
    Guarded([&] {
        if (event->angleDelta().y() < 0) {
            if (OnMouseWheelDown)
                OnMouseWheelDown(handled);
        } else if (event->angleDelta().y() > 0) {
            if (OnMouseWheelUp)
                OnMouseWheelUp(handled);
        }
    });
    event->setAccepted(handled);
}

void TDropDownForm::BeginCornerSizing(const QPoint& globalPos)
{
    FSizing = true;
    FSizeStart = globalPos;
    FSizeStartSize = size();
}

void TDropDownForm::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && Sizeable && p.x() > width() - 10 && p.y() > height() - 10) {
        BeginCornerSizing(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    TPopupWindow::mousePressEvent(event);
}

void TDropDownForm::mouseMoveEvent(QMouseEvent* event)
{
    if (FSizing) {
        const QPoint delta = event->globalPosition().toPoint() - FSizeStart;
        resize((FSizeStartSize + QSize(delta.x(), delta.y())).expandedTo(minimumSize()));
        if (OnSizing)
            Guarded([&] { OnSizing(); });
        return;
    }
    const QPoint p = event->position().toPoint();
    setCursor(Sizeable && p.x() > width() - 10 && p.y() > height() - 10 ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
    TPopupWindow::mouseMoveEvent(event);
}

void TDropDownForm::mouseReleaseEvent(QMouseEvent* event)
{
    FSizing = false;
    TPopupWindow::mouseReleaseEvent(event);
}

void TDropDownForm::hideEvent(QHideEvent* event)
{
    FSizing = false;
    TPopupWindow::hideEvent(event);
    if (OnHide)
        Guarded([&] { OnHide(); });
}

bool TDropDownForm::event(QEvent* event)
{
    return TPopupWindow::event(event);
}

}  // namespace dropdowns

#include "platform/TForm.h"

#include "platform/Dialogs.h"
#include "platform/Guard.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace platform {

TForm::TForm(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
}

void TForm::SetClientSize(int width, int height) { setFixedSize(width, height); }

int TForm::ShowModal()
{
    FModalResult = mrNone;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    FShowing = true;
    Guarded([this] { FormShow(); });
    // A show handler may already have decided the result (an error while loading, for one).
    if (FModalResult == mrNone)
        exec();
    FShowing = false;
    return FModalResult;
}

void TForm::SetModalResult(int result)
{
    FModalResult = result;
    if (result != mrNone && isVisible())
        close();
}

void TForm::showEvent(QShowEvent* event) { QDialog::showEvent(event); }

void TForm::closeEvent(QCloseEvent* event)
{
    bool allowed = true;
    Guarded([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        FModalResult = mrNone;
        event->ignore();
        return;
    }
    if (FModalResult == mrNone)
        FModalResult = mrCancel;
    Guarded([this] { FormClose(); });
    event->accept();
    done(FModalResult);
}

void TForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !FEscapeCloses) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm::reject()
{
    // Escape and the close box go through the close hooks like every other close.
    close();
}

}  // namespace platform

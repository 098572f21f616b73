#pragma once
#include <QDialog>
#include <QString>

namespace platform {

// A window of the program: a fixed-size dialog shown modally, with creation, show and close hooks.
// Derived windows do their creation step in their own constructor.
class TForm : public QDialog {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);

    // Shows the window modally and returns its modal result (mrOk, mrCancel ...).
    int ShowModal();
    int ModalResult() const { return FModalResult; }
    // Setting a non-zero result closes a modal window with it.
    void SetModalResult(int result);
    bool Showing() const { return FShowing; }

    void SetClientSize(int width, int height);
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    QString Caption() const { return windowTitle(); }

    // Escape closes the window (with Cancel) only where the window has a Cancel button.
    void SetEscapeCloses(bool on) { FEscapeCloses = on; }
    bool EscapeCloses() const { return FEscapeCloses; }

    // Copies the window's texts from the text table into its controls.
    virtual void Set_Lang() {}

protected:
    virtual void FormShow() {}
    // Return false to keep the window open.
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int FModalResult = 0;
    bool FShowing = false;
    bool FEscapeCloses = false;
};

}  // namespace platform

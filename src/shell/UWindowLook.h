#pragma once
#include <QColor>
#include <QLabel>
#include <functional>

namespace controls {
class TPicButton;
}

// The look the shell's windows share: the light background, Verdana 11 px, grey captions, the
// white title strip and labels that act as links.
namespace shell {

inline const QColor Window_Background(248, 247, 237);
inline const QColor Grey_Text(96, 96, 96);

// Light background and the windows' font.
void Style_Window(QWidget* window);

// The white strip at the top of a dialog with the software code and a description.
void Make_Title_Panel(QWidget* owner, int width, QLabel*& code, QLabel*& desc);

// The title strip, 69 pixels high, of the step and set-up windows: the software code large and
// grey over a bold description.
QWidget* Make_Step_Title(QWidget* owner, int width, QLabel*& code, QLabel*& desc);

// The panel at the foot of a window that holds its buttons ("P_Button", 40 pixels high), and a flat
// button on it at a position: 110 x 28, the first 16 pixels in, each next one 118 further.
constexpr int Button_Panel_Height = 40;
QWidget* Make_Button_Panel(QWidget* owner);
controls::TPicButton* Make_Panel_Button(QWidget* panel, const char* name, int index);

// The look every window gives its flat buttons: face $00EDF7F8 with gray edges, the Encarta style
// (bold caption while pressed), orange ($000080FF) when pressed, yellow when hot, caption centred.
void Apply_Button_Look(controls::TPicButton* button);

// The one-frame glyphs of the dialogs' confirming and cancelling buttons.
void Set_OK_Glyph(controls::TPicButton* button);
void Set_Cancel_Glyph(controls::TPicButton* button);

// Called by every window at the end of its creation: every flat button takes the button look
// (a button that closes with OK or Cancel also its glyph, and a Cancel button lets Escape close
// the window), every label whose text format was left to guessing shows plain text, since
// its text may be a name, a file value or something the user typed, and every table shows its
// cells as plain text (its HTML switched off) for the same reason.
void Apply_Window_Look(QWidget* window);

// The same plain-text rule for a label made after the window's creation.
void Plain_Label(QLabel* label);

// A label for a name that may be long: a name wider than the label ends in an ellipsis inside it,
// and the whole name is the hint.
class TNameLabel : public QLabel {
public:
    explicit TNameLabel(QWidget* parent = nullptr);
    void SetName(const QString& name);
    QString Name() const { return FName; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();
    QString FName;
    // What the shown text was fitted to: the first show delivers the size set before it, and the
    // same name, width and font give the same text.
    QString FFitName;
    int FFitWidth = -1;
    QFont FFitFont;
};

// A label that reports a left click released over it.
class TClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace shell

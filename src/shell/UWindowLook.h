#pragma once
#include <QColor>
#include <QLabel>
#include <functional>

// The look the shell's windows share: the light background, Verdana 11 px, grey captions, the
// white title strip and labels that act as links.
namespace shell {

inline const QColor Window_Background(248, 247, 237);
inline const QColor Grey_Text(96, 96, 96);

// Light background and the windows' font.
void Style_Window(QWidget* window);

// The white strip at the top of a dialog with the software code and a description.
void Make_Title_Panel(QWidget* owner, int width, QLabel*& code, QLabel*& desc);

// A label that reports a left click released over it.
class TClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace shell

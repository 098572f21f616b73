#pragma once
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>

// Flat picture button of every window. (Interim version: the full control replaces it.)
namespace controls {

class TPicButton : public QWidget {
    Q_OBJECT
public:
    explicit TPicButton(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString Caption() const { return FCaption; }
    void SetHint(const QString& hint) { setToolTip(hint); }
    QString Hint() const { return toolTip(); }
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }
    void SetModalResult(int result) { FModalResult = result; }
    int ModalResult() const { return FModalResult; }
    void SetGlyph(const QPixmap& glyph, int numGlyphs);

    // Fires OnClick and hands the modal result to the holding window.
    void Click();
    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString FCaption;
    QPixmap FGlyph;
    int FNumGlyphs = 0;
    int FModalResult = 0;
    bool FDown = false;
};

}  // namespace controls

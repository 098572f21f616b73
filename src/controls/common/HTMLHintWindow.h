#pragma once
#include "controls/common/EsgHTMLE.h"
#include "platform/HintWindow.h"

// A hint window that draws its text with the mark-up renderer: anchors, fonts, colours and the
// images of its owner's image list and pictures; wide hints are drawn as plain text on one line.
namespace controls {

class THTMLHintWindow : public platform::THintWindow {
    Q_OBJECT
public:
    explicit THTMLHintWindow(QWidget* owner = nullptr);

    // Where image tags find their pictures (the owner's; none by default: such tags draw nothing).
    void SetSources(const THTMLRenderInput& sources);
    // The fill colour.
    TColor Color = platform::clInfoBk;
    // The face of wide hints.
    QString WideFontName;

    // (0, 0, width, height) of the hint laid out word-wrapped within maxWidth.
    QRect CalcHintRect(int maxWidth, const QString& hint) override;
    // Sizes the window to the text from rect's top-left, keeps it 2 pixels inside the monitor's
    // right and bottom edges and shows it without taking the activation.
    void ActivateHint(const QRect& rect, const QString& hint) override;
    // The same for a text shown as it stands, on one line.
    void ActivateWideHint(const QRect& rect, const QString& text);

    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }
    bool Wide() const { return FWide; }

    // A rectangle moved so that its right and bottom edges end 2 pixels inside the monitor.
    static QRect KeepInside(const QRect& rect, const QRect& monitor);

protected:
    void Paint(platform::TCanvas& canvas) override;

private:
    THTMLRenderInput Input(bool measure, bool wrap) const;
    QSize Measure(const QString& hint, int maxWidth) const;
    platform::TFont Font() const;

    THTMLRenderInput FSources;
    int FTextWidth = 0, FTextHeight = 0;
    bool FWide = false;
};

}  // namespace controls

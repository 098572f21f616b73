#pragma once
#include "controls/buttons_pages/PicButtons.h"

#include <QImage>
#include <QPixmap>

// Pictures drawn in code for the flat button: the preset kinds' glyph strips, the drop-down mark
// and the main window's picture-only buttons.
namespace controls {

// Two 18-pixel frames side by side, normal and disabled (36 by 18; bkAll 36 by 19). Null for bkCustom.
QImage KindGlyph(TPicButtonKind kind);
// The 5 by 3 drop-down mark, black on a transparent background.
QImage PicButtonArrow();

// 32 by 32 one-frame glyphs for the 50 by 50 picture-only buttons.
QPixmap Glyph_Info();
QPixmap Glyph_Options();
QPixmap Glyph_Close();

// A strip of two frames: the picture and a greyed copy of it for the disabled button.
QImage WithDisabledFrame(const QImage& picture);

}  // namespace controls

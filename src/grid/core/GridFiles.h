#pragma once
#include <QRect>
#include <QString>
#include <QStringList>

#include "grid/core/CellGraphic.h"

namespace platform {
class TCanvas;
}

namespace grid {

// A line list for one text import or export: lines are read in order, and output is gathered
// into a pending line until WriteLn ends it.
class TFileStringList {
public:
    QStringList Lines;

    void Reset();
    bool Eof() const { return FPos >= Lines.size(); }
    // Raises EExtGridError past the last line; callers test Eof first.
    QString ReadLn();
    void Write(const QString& text) { FPending += text; }
    void WriteLn(const QString& text);

private:
    qsizetype FPos = 0;
    QString FPending;
};

// A picture cell's content by file name. No picture is held between calls: the file is read to
// learn its size and again to draw it.
class TFilePicture : public TGraphicSource {
public:
    const QString& Filename() const { return FFilename; }
    // Stores the name and reads the picture's size; a file that is no readable picture raises
    // EExtGridError and leaves name and size as they were.
    void SetFilename(const QString& value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TPoint GraphicSize() const override { return {FWidth, FHeight}; }
    // Stretched into the rectangle; nothing without a file name.
    void DrawPicture(platform::TCanvas& canvas, const QRect& r) const;
    void Assign(const TFilePicture& source);

private:
    QString FFilename;
    int FWidth = 0;
    int FHeight = 0;
};

}  // namespace grid

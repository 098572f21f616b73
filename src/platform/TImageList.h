#pragma once
#include "platform/TCanvas.h"

#include <QImage>
#include <vector>

class QPainter;

// A list of images of one size, drawn by index: the stand-in for the platform's image lists.
// Images are kept as ARGB; a masked add turns the mask colour transparent.
namespace platform {

class TImageList {
public:
    explicit TImageList(int width = 16, int height = 16);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size drops every image, as the images no longer fit.
    void SetSize(int width, int height);
    int Count() const { return int(FImages.size()); }
    void Clear() { FImages.clear(); }

    // Cuts the image left to right into cells of the list's size (at least one; a smaller image
    // sits in the top-left corner of a transparent cell) and adds them. Answers the index of the
    // first image added.
    int Add(const QImage& image);
    // The same; every pixel of the mask colour becomes transparent.
    int AddMasked(const QImage& image, TColor maskColor);
    // The image at the index; a null image for an index outside the list.
    QImage Image(int index) const;

    // Draws the image with its top-left corner at (x, y); a disabled image is drawn greyed and
    // faint. An index outside the list draws nothing and answers false.
    bool Draw(QPainter& painter, int x, int y, int index, bool enabled = true) const;
    bool Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
    int FWidth;
    int FHeight;
    std::vector<QImage> FImages;
};

}  // namespace platform

#pragma once
#include "platform/TImageList.h"

#include <QImage>
#include <QPoint>
#include <QString>

// The images every tree shares: check boxes, radio buttons and push buttons in several looks,
// sort glyphs and drop marks, and the two splitter cursors. All are drawn by this module; they
// exist from the first tree's construction until StopTreeModule.
namespace tree {

enum TCheckImageKind { ckLightCheck, ckDarkCheck, ckLightTick, ckDarkTick, ckFlat, ckXP, ckCustom, ckSystemFlat, ckSystemDefault };

// Index layout of every check image list.
namespace CheckImageIndex {
constexpr int Empty = 0, RadioUnchecked = 1, RadioChecked = 5, CheckUnchecked = 9, CheckChecked = 13,
              CheckMixed = 17, PushButton = 21, Count = 25;
}  // namespace CheckImageIndex
// Index layout of the utility images.
namespace UtilityImageIndex {
constexpr int DropMarkLeft = 0, DropMarkRight = 1, SortDescending = 2, SortAscending = 3,
              ThemedSortDescending = 4, ThemedSortAscending = 5, Count = 6;
}  // namespace UtilityImageIndex

// A cursor as data: the picture (transparent where the screen shows through) and its hot spot.
struct TCursorData {
    QImage Image;
    QPoint HotSpot;
};
// Screen cursor slots the tree fills.
constexpr int CursorVertSplit = 62, CursorHeaderSplit = 63;

// The module's bitmap resources by name ("TV_CHECK_LIGHT", "TV_UTILITIES", ...): a strip of square
// images in white, silver, gray and black over a mask colour in the top-left pixel. Null when
// there is no resource of that name.
QImage InternalBitmap(const QString& name);

// Fills the list from the named bitmap resource; with colour mapping white, silver, gray and
// black become the window, button face, button shadow and button text colours. A missing
// resource raises EAssertionFailed.
void LoadInternalImage(platform::TImageList& list, const QString& name, bool colourMapping);
// Check images drawn by the platform style; images 21-24 come from the flat or the dark list.
void BuildSystemCheckImages(platform::TImageList& list, bool flat);

// Runs the start-up once, however many trees call it; StopTreeModule frees the images.
void StartTreeModule();
// Only at program end: the trees hold on to the lists.
void StopTreeModule();
// How often the start-up did its work.
int TreeModuleStartCount();
// The images reloaded after the system colours changed (all colour-mapped lists).
void ReloadMappedImages();

// The wheel panning cursors by resource name: "TV_MOVEALL", "TV_MOVEEW", "TV_MOVENS" and the
// compass points "TV_MOVEN" ... "TV_MOVESE". A null image for any other name.
TCursorData InternalCursor(const QString& name);

// The module's list for a kind of check images; nil for ckCustom or before start-up.
platform::TImageList* InternalCheckImages(TCheckImageKind kind);
platform::TImageList* UtilityImages();
// The cursor in a screen slot the module filled; nil for any other slot.
const TCursorData* ScreenCursor(int slot);

}  // namespace tree

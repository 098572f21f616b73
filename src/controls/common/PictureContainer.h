#pragma once
#include "platform/TCanvas.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class QIODevice;

// Pictures for the mark-up renderer's image tags and body backgrounds: a picture that keeps its
// encoded bytes and can step through the frames of an animated GIF, a named collection of them and
// a cache keyed by address. Pictures come from bytes the program hands over or from its own
// resources; an address never makes the program read a local file or fetch anything.
namespace controls {

class THTMLPicture {
public:
    THTMLPicture() = default;
    THTMLPicture(const THTMLPicture&) = delete;
    THTMLPicture& operator=(const THTMLPicture&) = delete;

    // The whole device from its position on (nothing for none); decoding errors reach the caller.
    void LoadFromStream(QIODevice* stream);
    void LoadFromBytes(std::span<const uint8_t> bytes);
    // Any failure, of the file or of decoding, leaves the picture empty.
    void LoadFromFile(const QString& name);
    // A picture of the program's own resources (":/" paths); a missing name loads nothing.
    void LoadFromResourceName(const QString& name);
    // "RES://name" loads the program's resource of that name and sets ID to the address. Any other
    // address (files and network addresses alike) is only recorded: the picture stays empty.
    void LoadFromURL(const QString& address);

    // The encoded bytes for streaming: WriteData writes a 32-bit length and the bytes, ReadData
    // reads them back (without the change event); a length beyond what the device holds is an
    // error and leaves the picture as it was.
    void SaveToStream(QIODevice& stream) const;
    void WriteData(QIODevice& stream) const;
    void ReadData(QIODevice& stream);

    // Resets, then copies the source's bytes and decodes them (none: cleared).
    void Assign(const THTMLPicture* source);

    // Nothing when empty; stretched into r, or at r's top-left at the natural size for the canvas.
    void Draw(platform::TCanvas& canvas, const QRect& r) const;

    bool Empty() const { return FEmpty || FDecoded.isNull(); }
    // The natural size at 96 pixels per inch; 0 without a decoded picture.
    int GetWidth() const;
    int GetHeight() const;
    const QImage& Image() const { return FDecoded; }
    const std::vector<uint8_t>& Data() const { return FData; }

    bool Stretch = false;
    int Frame() const { return FFrame; }
    void SetFrame(int n);
    void FrameNext();
    void FramePrev();
    // GIF frames found in the data, counted once; -1 for data that is not a GIF.
    int FrameCount();
    int FrameXPos() const { return FFrameX; }
    int FrameYPos() const { return FFrameY; }
    int FrameWidth() const { return FFrameW; }
    int FrameHeight() const { return FFrameH; }
    int MaxWidth() const;
    int MaxHeight() const;
    bool IsGIF() const;
    // Delay of frame n (from 1) in hundredths of a second; -1 when not a GIF or not found.
    int GetFrameTime(int n) const;
    // One animation tick of 100 ms; true when the frame changed.
    bool Step();

    QString ID;
    bool Asynch = true;
    bool Busy = false;
    bool IsDB = false;
    QString URL() const { return FURL; }

    std::function<void()> OnChange;
    std::function<void()> OnFrameChange;

private:
    void SetData(std::vector<uint8_t> data, bool notify);
    void Reset();
    void Decode();
    // Frame starts: a graphic-control block (21 F9 04 ..) directly followed by an image separator.
    bool FrameStartAt(size_t j) const;

    std::vector<uint8_t> FData;
    QImage FDecoded;
    bool FEmpty = true;
    int FFrame = 1;
    int FFrameCount = -1;
    bool FCounted = false;
    int FFrameX = 0, FFrameY = 0, FFrameW = 0, FFrameH = 0;
    int FScreenW = 0, FScreenH = 0;
    int FTicks = -1, FDue = -1;
    QString FURL;
};

class TPictureItem {
public:
    THTMLPicture& Picture() { return *FPicture; }
    const THTMLPicture& Picture() const { return *FPicture; }
    void SetPicture(const THTMLPicture* picture) { FPicture->Assign(picture); }
    QString Name;
    int Tag = 0;
    void Assign(const TPictureItem& source);

private:
    std::unique_ptr<THTMLPicture> FPicture = std::make_unique<THTMLPicture>();
};

class TPictureContainer;

class TPictureCollection {
public:
    explicit TPictureCollection(TPictureContainer* owner = nullptr) : FOwner(owner) {}
    TPictureContainer* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TPictureItem* Add();
    // Clamped into 0..Count.
    TPictureItem* Insert(int index);
    // Null outside the collection.
    TPictureItem* Items(int index) const;
    void Delete(int index);
    void Clear() { FItems.clear(); }
    // Takes over copies of the other collection's items.
    void Assign(const TPictureCollection& source);
    bool Animate();

private:
    TPictureContainer* FOwner;
    std::vector<std::unique_ptr<TPictureItem>> FItems;
};

class TPictureContainer {
public:
    TPictureContainer() = default;
    virtual ~TPictureContainer() = default;
    TPictureCollection& Items() { return FItems; }
    const TPictureCollection& Items() const { return FItems; }
    void SetItems(const TPictureCollection& items) { FItems.Assign(items); }
    // The picture of the first item named so, without regard to case; null when none.
    virtual THTMLPicture* FindPicture(const QString& name) const;

private:
    TPictureCollection FItems{this};
};

// Pictures keyed by the address they were asked for; each address is loaded once.
class THTMLPictureCache {
public:
    THTMLPicture* AddPicture();
    // The first picture whose ID equals the text exactly; null when none.
    THTMLPicture* FindPicture(const QString& id) const;
    int Count() const { return int(FPictures.size()); }
    THTMLPicture* GetPicture(int i) const;
    void ClearPictures() { FPictures.clear(); }
    bool Animate();

private:
    std::vector<std::unique_ptr<THTMLPicture>> FPictures;
};

}  // namespace controls

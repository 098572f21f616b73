#include "controls/common/PictureContainer.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>
#include <QPaintDevice>
#include <QPainter>
#include <QtEndian>

#include "platform/Bytes.h"
#include "platform/Exception.h"

namespace controls {

namespace {

// A picture larger than this is refused before any byte of it is read.
constexpr qint64 MaxPictureBytes = 64 * 1024 * 1024;

std::vector<uint8_t> ToBytes(const QByteArray& a) { return std::vector<uint8_t>(a.begin(), a.end()); }

int DevicePpi(const platform::TCanvas& canvas)
{
    if (QPainter* p = canvas.Painter(); p && p->device())
        return p->device()->logicalDpiX();
    return 96;
}

}  // namespace

// ---- THTMLPicture ----

void THTMLPicture::SetData(std::vector<uint8_t> data, bool notify)
{
    FData = std::move(data);
    FEmpty = false;
    FCounted = false;
    FFrameCount = -1;
    if (FData.empty()) {
        FEmpty = true;
        FDecoded = QImage();
        return;
    }
    Decode();
    if (notify && OnChange)
        OnChange();
}

void THTMLPicture::LoadFromStream(QIODevice* stream)
{
    if (!stream)
        return;
    const qint64 left = stream->size() - stream->pos();
    if (!stream->isSequential() && left > MaxPictureBytes)
        throw platform::Exception(QStringLiteral("Could not load image. Invalid format"));
    SetData(ToBytes(stream->read(MaxPictureBytes)), true);
}

void THTMLPicture::LoadFromBytes(std::span<const uint8_t> bytes)
{
    SetData(std::vector<uint8_t>(bytes.begin(), bytes.end()), true);
}

void THTMLPicture::LoadFromFile(const QString& name)
{
    try {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly))
            throw platform::Exception(QStringLiteral("Could not load image"));
        LoadFromStream(&f);
    } catch (const platform::Exception&) {
        FEmpty = true;
        FDecoded = QImage();
    }
}

void THTMLPicture::LoadFromResourceName(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1String("..")))
        return;
    QFile f(QStringLiteral(":/") + name);
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return;
    LoadFromStream(&f);
}

void THTMLPicture::LoadFromURL(const QString& address)
{
    const QString upper = address.toUpper();
    if (upper.startsWith(QLatin1String("RES://"))) {
        ID = address;
        FURL = address;
        const QString name = address.mid(6);
        if (!name.isEmpty()) {
            try {
                LoadFromResourceName(name);
            } catch (const platform::Exception&) {
                FEmpty = true;
                FDecoded = QImage();
            }
        }
        return;
    }
    // Files and network addresses are never read: a mark-up text is not ours to trust.
    FURL = address;
    ID = address;
    if (Asynch)
        Busy = true;
}

void THTMLPicture::SaveToStream(QIODevice& stream) const
{
    stream.write(reinterpret_cast<const char*>(FData.data()), qint64(FData.size()));
}

void THTMLPicture::WriteData(QIODevice& stream) const
{
    uchar length[4];
    qToLittleEndian<quint32>(quint32(FData.size()), length);
    stream.write(reinterpret_cast<const char*>(length), 4);
    SaveToStream(stream);
}

void THTMLPicture::ReadData(QIODevice& stream)
{
    const QByteArray head = stream.read(4);
    if (head.size() != 4)
        throw platform::Exception(QStringLiteral("Could not load image"));
    const quint32 length = qFromLittleEndian<quint32>(head.constData());
    const qint64 available = stream.isSequential() ? stream.bytesAvailable() : stream.size() - stream.pos();
    if (qint64(length) > available || qint64(length) > MaxPictureBytes)
        throw platform::Exception(QStringLiteral("Could not load image"));
    const QByteArray body = stream.read(length);
    if (body.size() != qsizetype(length))
        throw platform::Exception(QStringLiteral("Could not load image"));
    if (length == 0) {
        Reset();
        FData.clear();
        return;
    }
    SetData(ToBytes(body), false);
}

void THTMLPicture::Reset()
{
    FEmpty = true;
    FDecoded = QImage();
    FFrameCount = -1;
    FCounted = false;
    FTicks = -1;
    FDue = -1;
    FFrame = 1;
}

void THTMLPicture::Assign(const THTMLPicture* source)
{
    Reset();
    if (!source) {
        FData.clear();
        return;
    }
    SetData(source->FData, true);
}

bool THTMLPicture::IsGIF() const
{
    return FData.size() >= 5 && FData[0] == 'G' && FData[1] == 'I' && FData[2] == 'F' && FData[3] == '8';
}

bool THTMLPicture::FrameStartAt(size_t j) const
{
    // At least 9 bytes follow j, so j + 8 is inside the data.
    return j + 9 < FData.size() && FData[j] == 0x21 && FData[j + 1] == 0xF9 && FData[j + 2] == 0x04 &&
           FData[j + 8] == 0x2C;
}

int THTMLPicture::FrameCount()
{
    if (!FCounted) {
        FCounted = true;
        if (!IsGIF()) {
            FFrameCount = -1;
        } else {
            int n = 0;
            for (size_t j = 0; j < FData.size(); ++j)
                if (FrameStartAt(j))
                    ++n;
            FFrameCount = n;
        }
    }
    return FFrameCount;
}

int THTMLPicture::GetFrameTime(int n) const
{
    if (!IsGIF() || n < 1)
        return -1;
    int frame = 0;
    for (size_t j = 0; j < FData.size(); ++j) {
        if (!FrameStartAt(j))
            continue;
        if (++frame == n) {
            platform::ByteReader r(FData);
            r.Seek(j + 4);
            const int delay = r.U16LE();
            return r.Ok() ? delay : -1;
        }
    }
    return -1;
}

void THTMLPicture::Decode()
{
    FDecoded = QImage();
    FFrameX = FFrameY = FFrameW = FFrameH = 0;
    FScreenW = FScreenH = 0;
    if (FData.empty())
        throw platform::Exception(QStringLiteral("Empty image stream created"));
    QByteArray stream;
    if (IsGIF() && FrameCount() > 0) {
        platform::ByteReader header(FData);
        header.Seek(6);
        const int w = header.U16LE();
        const int h = header.U16LE();
        if (header.Ok()) {
            FScreenW = w;
            FScreenH = h;
        }
        stream.reserve(qsizetype(FData.size()));
        int frame = 0;
        bool copying = true;
        for (size_t j = 0; j < FData.size(); ++j) {
            if (FrameStartAt(j)) {
                ++frame;
                if (frame == 1 && FFrame > 1)
                    copying = false;
                if (frame == FFrame) {
                    copying = true;
                    platform::ByteReader r(FData);
                    r.Seek(j + 9);
                    const int x = r.U16LE(), y = r.U16LE(), fw = r.U16LE(), fh = r.U16LE();
                    if (r.Ok()) {
                        FFrameX = x;
                        FFrameY = y;
                        FFrameW = fw;
                        FFrameH = fh;
                    }
                }
            }
            if (copying)
                stream.append(char(FData[j]));
        }
    } else {
        stream = QByteArray(reinterpret_cast<const char*>(FData.data()), qsizetype(FData.size()));
    }
    QImage image;
    if (!image.loadFromData(stream))
        throw platform::Exception(QStringLiteral("Could not load image. Invalid format"));
    FDecoded = image;
}

int THTMLPicture::GetWidth() const { return FDecoded.isNull() ? 0 : FDecoded.width(); }
int THTMLPicture::GetHeight() const { return FDecoded.isNull() ? 0 : FDecoded.height(); }

int THTMLPicture::MaxWidth() const
{
    if (FDecoded.isNull())
        return 0;
    return IsGIF() && FScreenW > 0 ? FScreenW : FDecoded.width();
}

int THTMLPicture::MaxHeight() const
{
    if (FDecoded.isNull())
        return 0;
    return IsGIF() && FScreenH > 0 ? FScreenH : FDecoded.height();
}

void THTMLPicture::SetFrame(int n)
{
    FFrame = n;
    if (FData.empty())
        return;
    Decode();
    if (OnFrameChange)
        OnFrameChange();
}

void THTMLPicture::FrameNext()
{
    const int count = FrameCount();
    if (count <= 0)
        return;
    SetFrame(FFrame >= count ? 1 : FFrame + 1);
}

void THTMLPicture::FramePrev()
{
    const int count = FrameCount();
    if (count <= 0)
        return;
    SetFrame(FFrame <= 1 ? count : FFrame - 1);
}

bool THTMLPicture::Step()
{
    if (Empty() || FrameCount() < 2)
        return false;
    bool changed = false;
    if (FDue < 0)
        FDue = std::max(0, GetFrameTime(FFrame));
    if (FTicks * 10 >= FDue) {
        FrameNext();
        FDue += std::max(0, GetFrameTime(FFrame));
        changed = true;
    }
    ++FTicks;
    return changed;
}

void THTMLPicture::Draw(platform::TCanvas& canvas, const QRect& r) const
{
    QPainter* p = canvas.Painter();
    if (Empty() || !p)
        return;
    if (Stretch) {
        p->drawImage(r, FDecoded);
        return;
    }
    const int ppi = DevicePpi(canvas);
    const QSize size(FDecoded.width() * ppi / 96, FDecoded.height() * ppi / 96);
    p->drawImage(QRect(r.topLeft(), size), FDecoded);
}

// ---- Collections ----

void TPictureItem::Assign(const TPictureItem& source)
{
    Name = source.Name;
    Tag = source.Tag;
    FPicture->Assign(source.FPicture.get());
}

TPictureItem* TPictureCollection::Add()
{
    FItems.push_back(std::make_unique<TPictureItem>());
    return FItems.back().get();
}

TPictureItem* TPictureCollection::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    return FItems.insert(FItems.begin() + index, std::make_unique<TPictureItem>())->get();
}

TPictureItem* TPictureCollection::Items(int index) const
{
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

void TPictureCollection::Delete(int index)
{
    if (index >= 0 && index < Count())
        FItems.erase(FItems.begin() + index);
}

void TPictureCollection::Assign(const TPictureCollection& source)
{
    if (&source == this)
        return;
    FItems.clear();
    for (const auto& item : source.FItems)
        Add()->Assign(*item);
}

bool TPictureCollection::Animate()
{
    bool changed = false;
    for (const auto& item : FItems)
        changed = item->Picture().Step() || changed;
    return changed;
}

THTMLPicture* TPictureContainer::FindPicture(const QString& name) const
{
    const QString wanted = name.toUpper();
    for (int i = 0; i < FItems.Count(); ++i) {
        TPictureItem* item = FItems.Items(i);
        if (item->Name.toUpper() == wanted)
            return &item->Picture();
    }
    return nullptr;
}

THTMLPicture* THTMLPictureCache::AddPicture()
{
    FPictures.push_back(std::make_unique<THTMLPicture>());
    return FPictures.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const QString& id) const
{
    for (const auto& p : FPictures)
        if (p->ID == id)
            return p.get();
    return nullptr;
}

THTMLPicture* THTMLPictureCache::GetPicture(int i) const
{
    return i >= 0 && i < Count() ? FPictures[size_t(i)].get() : nullptr;
}

bool THTMLPictureCache::Animate()
{
    bool changed = false;
    for (const auto& p : FPictures)
        changed = p->Step() || changed;
    return changed;
}

}  // namespace controls

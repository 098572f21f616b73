#include "grid/core/GridFiles.h"

#include <QImage>
#include <QImageReader>

#include "platform/TCanvas.h"

namespace grid {

void TFileStringList::Reset()
{
    FPos = 0;
    FPending.clear();
}

QString TFileStringList::ReadLn()
{
    if (Eof())
        throw EExtGridError(QStringLiteral("List index out of bounds (%1)").arg(FPos));
    return Lines.at(FPos++);
}

void TFileStringList::WriteLn(const QString& text)
{
    Lines.append(FPending + text);
    FPending.clear();
}

namespace {
QImage LoadPicture(const QString& fileName)
{
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(false);  // the format follows the extension
    QImage image = reader.read();
    if (image.isNull())
        throw EExtGridError(QStringLiteral("Cannot load picture \"%1\": %2").arg(fileName, reader.errorString()));
    return image;
}
}  // namespace

void TFilePicture::SetFilename(const QString& value)
{
    const QImage image = LoadPicture(value);
    FFilename = value;
    FWidth = image.width();
    FHeight = image.height();
}

void TFilePicture::DrawPicture(platform::TCanvas& canvas, const QRect& r) const
{
    if (FFilename.isEmpty())
        return;
    canvas.StretchDraw(r, LoadPicture(FFilename));
}

void TFilePicture::Assign(const TFilePicture& source)
{
    FFilename = source.FFilename;
    FWidth = source.FWidth;
    FHeight = source.FHeight;
}

}  // namespace grid

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "grid/core/GridFiles.h"
#include "platform/TCanvas.h"

using namespace grid;

namespace {

TEST(FileStringList, PendingLineAndReading)
{
    TFileStringList list;
    list.Write(QStringLiteral("a"));
    list.Write(QStringLiteral("b"));
    list.WriteLn(QStringLiteral("c"));
    list.Write(QStringLiteral("never ended"));
    EXPECT_EQ(list.Lines, QStringList{QStringLiteral("abc")});

    list.Lines << QStringLiteral("second");
    list.Reset();
    list.WriteLn(QStringLiteral("third"));  // the reset dropped the pending text
    EXPECT_EQ(list.Lines.last(), QStringLiteral("third"));
    QStringList read;
    while (!list.Eof())
        read << list.ReadLn();
    EXPECT_EQ(read, list.Lines);
    EXPECT_THROW(list.ReadLn(), EExtGridError);
}

class FilePicture : public ::testing::Test {
protected:
    QString Write(const char* name, const QImage& image)
    {
        const QString path = Dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path));
        return path;
    }
    QTemporaryDir Dir;
};

TEST_F(FilePicture, SizeFromFileAndStretchedDrawing)
{
    QImage red(3, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    TFilePicture pic;
    pic.SetFilename(Write("red.png", red));
    EXPECT_EQ(pic.Width(), 3);
    EXPECT_EQ(pic.Height(), 2);

    QImage target(10, 10, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        platform::TCanvas canvas(&target);
        pic.DrawPicture(canvas, QRect(2, 2, 6, 6));
    }
    EXPECT_EQ(target.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(7, 7), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(8, 8), QColor(Qt::white));

    TFilePicture copy;
    copy.Assign(pic);
    EXPECT_EQ(copy.Filename(), pic.Filename());
    EXPECT_EQ(copy.Width(), 3);
}

TEST_F(FilePicture, UnreadableFileRaisesAndKeepsThePicture)
{
    QImage blue(4, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    TFilePicture pic;
    const QString good = Write("blue.png", blue);
    pic.SetFilename(good);
    const QString bad = Dir.filePath(QStringLiteral("broken.png"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    for (const QString& name : {bad, Dir.filePath(QStringLiteral("missing.png"))}) {
        EXPECT_THROW(pic.SetFilename(name), EExtGridError) << name.toStdString();
        EXPECT_EQ(pic.Filename(), good);
        EXPECT_EQ(pic.Width(), 4);
    }

    TFilePicture empty;
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    platform::TCanvas canvas(&target);
    EXPECT_NO_THROW(empty.DrawPicture(canvas, QRect(0, 0, 4, 4)));
}

}  // namespace

#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/Bytes.h"

namespace grid::dataops {

// The encodings of the grid's text files. "ANSI" is Windows-1252 and "OEM" its DOS code page 850;
// both go through Qt's converters.
enum class TTextCoding { Ansi, Oem, Utf8Bom, Utf16LeBom };

// What the readers accept at most; beyond it a file or stream is refused and the grid left as it was.
constexpr qint64 MaxTextFileBytes = qint64(1) << 30;
constexpr int MaxTextCols = 16384;
constexpr int MaxTextRows = 10'000'000;
constexpr qsizetype MaxTextFieldChars = qsizetype(1) << 20;

// The bytes of a text, with the byte-order mark of the Unicode codings. A character that the code
// page lacks becomes the converter's substitute.
QByteArray EncodeText(const QString& text, TTextCoding coding);

// A text file's bytes read line by line: a byte-order mark selects UTF-8 or UTF-16; without one
// the bytes are UTF-8 when they all are valid UTF-8, else the fallback code page. Lines end at
// CR LF, LF or CR; a last line without its end counts too.
class TTextLineReader {
public:
    TTextLineReader(std::span<const uint8_t> bytes, TTextCoding fallback);
    // Reads an open file from its start in blocks, so that the file never stands whole in memory
    // (a UTF-16 file excepted); the caller keeps the file open and bounds its size.
    TTextLineReader(QIODevice& file, TTextCoding fallback, qint64 blockSize = qint64(1) << 20);

    // The next line; false at the end of the text.
    bool Next(QString& line);
    // How far the reading is, in bytes, for progress.
    size_t Position() const { return FUtf16 ? FStart + size_t(FPos) * 2 : FBlockOffset + Reader.Position(); }
    size_t Size() const { return FSize; }
    // Back to the first line.
    void Rewind();

private:
    void Detect(std::span<const uint8_t> head, TTextCoding fallback);
    // Keeps the bytes not yet read and adds the file's next block.
    void Refill();

    platform::ByteReader Reader;
    QIODevice* FFile = nullptr;
    QByteArray FBlock;  // the file's bytes from FBlockOffset on
    size_t FBlockOffset = 0;
    qint64 FBlockSize = 0;
    size_t FSize = 0;
    size_t FStart = 0;
    bool FUtf8 = false;
    bool FUtf16 = false;
    TTextCoding FFallback = TTextCoding::Ansi;
    QStringDecoder FDecoder;  // made once for the whole text
    QString FWide;  // a UTF-16 text, decoded whole
    qsizetype FPos = 0;
};

// Every line of a text file's bytes, as TTextLineReader reads them.
QStringList ReadTextLines(std::span<const uint8_t> bytes, TTextCoding fallback);

// Lines encoded one by one into a file's bytes, each ended by CR LF, so that a large file never
// stands whole as a text beside its bytes.
class TTextLineWriter {
public:
    explicit TTextLineWriter(TTextCoding coding);
    void Line(QStringView line);
    const QByteArray& Bytes() const { return FBytes; }
    // With a sink, the bytes go to it in parts of about a megabyte; Flush hands over the rest.
    std::function<void(QByteArrayView)> Sink;
    void Flush();

private:
    TTextCoding FCoding;
    QStringEncoder FEncoder;
    QByteArray FBytes;
};

// Writes the lines that `produce` gives into the file, in the coding, whole or not at all (the
// file is written beside its target and renamed over it).
void WriteTextFile(const QString& path, TTextCoding coding, const std::function<void(TTextLineWriter&)>& produce);

// Lines joined with CR LF after each, in the coding, for a whole file.
QByteArray EncodeLines(const QStringList& lines, TTextCoding coding);

}  // namespace grid::dataops

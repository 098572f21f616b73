#include "grid/dataops/GridTextCoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>

#include "platform/FileUtil.h"

namespace grid::dataops {

namespace {

const char* CodePageName(TTextCoding coding) { return coding == TTextCoding::Oem ? "IBM850" : "windows-1252"; }

bool StartsWith(std::span<const uint8_t> bytes, std::initializer_list<uint8_t> mark)
{
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

// Whether the bytes are valid UTF-8, by Qt's own decoder.
bool IsUtf8(std::span<const uint8_t> bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b < 0x80; }))
        return true;
    // Decoded in blocks into one buffer, so that the check holds little memory; the decoder keeps a
    // character cut by a block's end for the next block.
    QStringDecoder decoder(QStringConverter::Utf8);
    constexpr size_t block = size_t(1) << 20;
    QString buffer(qsizetype(block + 4), Qt::Uninitialized);
    for (size_t at = 0; at < bytes.size(); at += block) {
        const size_t n = std::min(block, bytes.size() - at);
        decoder.appendToBuffer(buffer.data(), QByteArrayView(bytes.data() + at, qsizetype(n)));
        if (decoder.hasError())
            return false;
    }
    return true;
}

}  // namespace

QByteArray EncodeText(const QString& text, TTextCoding coding)
{
    switch (coding) {
    case TTextCoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TTextCoding::Utf16LeBom: {
        QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        return encoder.encode(text);
    }
    case TTextCoding::Ansi:
    case TTextCoding::Oem:
        break;
    }
    QStringEncoder encoder(CodePageName(coding), QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

TTextLineWriter::TTextLineWriter(TTextCoding coding) : FCoding(coding)
{
    switch (coding) {
    case TTextCoding::Utf8Bom:
        FBytes = QByteArray("\xEF\xBB\xBF");
        break;
    case TTextCoding::Utf16LeBom:
        FEncoder = QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
        FBytes = QByteArray("\xFF\xFE", 2);
        break;
    case TTextCoding::Ansi:
    case TTextCoding::Oem:
        FEncoder = QStringEncoder(CodePageName(coding), QStringConverter::Flag::Stateless);
        break;
    }
}

void TTextLineWriter::Line(QStringView line)
{
    if (FCoding == TTextCoding::Utf8Bom) {
        FBytes += line.toUtf8();
        FBytes += "\r\n";
    } else {
        FBytes += FEncoder.encode(line);
        FBytes += FEncoder.encode(QStringView(u"\r\n"));
    }
    if (Sink && FBytes.size() >= (1 << 20))
        Flush();
}

void TTextLineWriter::Flush()
{
    if (!Sink || FBytes.isEmpty())
        return;
    Sink(FBytes);
    FBytes.clear();
}

void WriteTextFile(const QString& path, TTextCoding coding, const std::function<void(TTextLineWriter&)>& produce)
{
    platform::WriteFileAtomicStreamed(path, [&](const platform::StreamedWrite& write) {
        TTextLineWriter writer(coding);
        writer.Sink = write;
        produce(writer);
        writer.Flush();
    });
}

QByteArray EncodeLines(const QStringList& lines, TTextCoding coding)
{
    TTextLineWriter writer(coding);
    for (const QString& line : lines)
        writer.Line(line);
    return writer.Bytes();
}

TTextLineReader::TTextLineReader(std::span<const uint8_t> bytes, TTextCoding fallback)
    : Reader(bytes), FSize(bytes.size())
{
    Detect(bytes, fallback);
    if (FUtf16) {
        QStringDecoder decoder(bytes[0] == 0xFF ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        FWide = decoder.decode(QByteArrayView(bytes.data() + 2, qsizetype(bytes.size() - 2)));
    } else if (!FUtf8) {
        FUtf8 = IsUtf8(bytes);
    }
    Rewind();
}

TTextLineReader::TTextLineReader(QIODevice& file, TTextCoding fallback, qint64 blockSize)
    : FFile(&file), FBlockSize(std::max<qint64>(blockSize, 16)), FSize(size_t(std::max<qint64>(file.size(), 0)))
{
    file.seek(0);
    const QByteArray head = file.peek(3);
    Detect(std::span(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size())), fallback);
    if (FUtf16) {
        const QByteArray all = file.readAll();
        QStringDecoder decoder(uint8_t(all[0]) == 0xFF ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        FWide = decoder.decode(QByteArrayView(all).sliced(2));
        FFile = nullptr;
    } else if (!FUtf8) {
        // Valid UTF-8 throughout, block by block; the decoder carries a character cut by a block.
        QStringDecoder decoder(QStringConverter::Utf8);
        QString buffer(qsizetype(FBlockSize) + 4, Qt::Uninitialized);
        FUtf8 = true;
        while (!file.atEnd()) {
            const QByteArray block = file.read(FBlockSize);
            if (block.isEmpty())
                break;
            decoder.appendToBuffer(buffer.data(), block);
            if (decoder.hasError()) {
                FUtf8 = false;
                break;
            }
        }
    }
    Rewind();
}

void TTextLineReader::Detect(std::span<const uint8_t> head, TTextCoding fallback)
{
    if (StartsWith(head, {0xEF, 0xBB, 0xBF})) {
        FStart = 3;
        FUtf8 = true;
    } else if (StartsWith(head, {0xFF, 0xFE}) || StartsWith(head, {0xFE, 0xFF})) {
        FStart = 2;
        FUtf16 = true;
    }
    FFallback = fallback;
}

void TTextLineReader::Rewind()
{
    FPos = 0;
    if (!FUtf16)
        FDecoder = FUtf8 ? QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
                         : QStringDecoder(CodePageName(FFallback), QStringConverter::Flag::Stateless);
    if (!FFile) {
        Reader.Seek(FStart);
        return;
    }
    FFile->seek(qint64(FStart));
    FBlockOffset = FStart;
    FBlock = FFile->read(FBlockSize);
    Reader = platform::ByteReader(std::span(reinterpret_cast<const uint8_t*>(FBlock.constData()), size_t(FBlock.size())));
}

void TTextLineReader::Refill()
{
    const size_t used = Reader.Position();
    FBlockOffset += used;
    FBlock.remove(0, qsizetype(used));
    FBlock += FFile->read(FBlockSize);
    Reader = platform::ByteReader(std::span(reinterpret_cast<const uint8_t*>(FBlock.constData()), size_t(FBlock.size())));
}

bool TTextLineReader::Next(QString& line)
{
    if (FUtf16) {
        if (FPos >= FWide.size())
            return false;
        qsizetype end = FPos;
        while (end < FWide.size() && FWide.at(end) != QChar(13) && FWide.at(end) != QChar(10))
            ++end;
        line = FWide.mid(FPos, end - FPos);
        FPos = end;
        if (FPos < FWide.size() && FWide.at(FPos) == QChar(13))
            ++FPos;
        if (FPos < FWide.size() && FWide.at(FPos) == QChar(10) && (end == FPos || FWide.at(FPos - 1) == QChar(13)))
            ++FPos;
        return true;
    }
    std::span<const uint8_t> ahead;
    const uint8_t* data = nullptr;
    size_t end = 0;
    for (;;) {
        ahead = Reader.Ahead();
        if (ahead.empty()) {
            if (!FFile || FFile->atEnd())
                return false;
            Refill();
            continue;
        }
        data = ahead.data();
        // memchr finds the LF fast; a lone CR before it also ends a line.
        const void* lf = std::memchr(data, '\n', ahead.size());
        const size_t lfAt = lf ? size_t(static_cast<const uint8_t*>(lf) - data) : ahead.size();
        const void* cr = std::memchr(data, '\r', lfAt);
        end = cr ? size_t(static_cast<const uint8_t*>(cr) - data) : lfAt;
        // A line is whole when its LF is in the block, or its CR with a byte after it.
        const bool whole = lf || (cr && end + 1 < ahead.size());
        if (whole || !FFile || FFile->atEnd())
            break;
        Refill();
    }
    size_t skip = end;
    if (end < ahead.size() && data[end] == '\r')
        ++skip;
    if (skip < ahead.size() && data[skip] == '\n' && (skip == end || data[end] == '\r'))
        ++skip;
    // Decoded into the caller's string, whose room serves line after line: at most one UTF-16
    // unit per byte in UTF-8 and in the code pages.
    const QByteArrayView bytes(data, qsizetype(end));
    line.resize(bytes.size());
    const QChar* last = FDecoder.appendToBuffer(line.data(), bytes);
    line.resize(last - line.constData());
    Reader.Skip(skip);
    return true;
}

QStringList ReadTextLines(std::span<const uint8_t> bytes, TTextCoding fallback)
{
    TTextLineReader reader(bytes, fallback);
    QStringList lines;
    QString line;
    while (reader.Next(line))
        lines << line;
    return lines;
}

}  // namespace grid::dataops

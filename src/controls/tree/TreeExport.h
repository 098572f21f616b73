#pragma once
#include <QByteArray>
#include <QString>
#include <cstring>
#include <memory>

// Output buffers and node sources of the string tree's content export.
namespace tree {

// Which nodes an export or a clipboard rendering walks, in tree order.
enum TVSTTextSourceType { tstAll, tstInitialized, tstSelected, tstCutCopySet, tstVisible, tstChecked };

// A text buffer that grows in steps of 4096 units, so that large exports do not re-allocate per
// cell; the text is copied out once at the end.
template <typename Char>
class TBufferedText {
public:
    static constexpr int Step = 4096;

    void Add(const Char* text, int length)
    {
        if (length <= 0)
            return;
        if (length >= FEnd - FPosition)
            Grow((length + Step - 1) / Step * Step);
        std::memcpy(FStart.get() + FPosition, text, size_t(length) * sizeof(Char));
        FPosition += length;
    }
    void AddNewLine()
    {
        // Room for CR LF and a little more, in characters for the wide buffer and bytes for the raw one.
        if (FEnd - FPosition <= (sizeof(Char) == 1 ? 2 : 4))
            Grow(Step);
        FStart[FPosition++] = Char('\r');
        FStart[FPosition++] = Char('\n');
    }
    int Length() const { return FPosition; }
    int Capacity() const { return FEnd; }
    const Char* Data() const { return FStart.get(); }

private:
    void Grow(int by)
    {
        std::unique_ptr<Char[]> next(new Char[size_t(FEnd + by)]);
        if (FPosition > 0)
            std::memcpy(next.get(), FStart.get(), size_t(FPosition) * sizeof(Char));
        FStart = std::move(next);
        FEnd += by;
    }
    std::unique_ptr<Char[]> FStart;
    int FPosition = 0;
    int FEnd = 0;
};

class TBufferedString : public TBufferedText<char16_t> {
public:
    void Add(const QString& text) { TBufferedText::Add(reinterpret_cast<const char16_t*>(text.utf16()), int(text.size())); }
    QString AsString() const { return QString(reinterpret_cast<const QChar*>(Data()), Length()); }
};

class TBufferedRawByteString : public TBufferedText<char> {
public:
    void Add(const QByteArray& text) { TBufferedText::Add(text.constData(), int(text.size())); }
    void Add(const char* text) { TBufferedText::Add(text, int(std::strlen(text))); }
    QByteArray AsString() const { return QByteArray(Data(), Length()); }
};

// The text with &, <, >, " and ' written as character references.
QString HtmlEscaped(const QString& text);
// The cell as delimited text: quoted, with inner quotes doubled, when it holds the separator, a
// double quote, CR or LF; otherwise as it is.
QString DelimitedCell(const QString& text, const QString& separator);
// The list separator of the user's locale: ";" where the decimal mark is a comma, else ",".
QString LocaleListSeparator();

}  // namespace tree

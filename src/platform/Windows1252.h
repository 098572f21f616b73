#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <optional>

// Code page Windows-1252, written out so that it does not depend on the converters Qt was built
// with: Latin-1 except at 0x80 .. 0x9F, where five bytes have no character.
namespace platform {

// The character of a byte; U+FFFD for the five bytes without one.
QChar From_Windows_1252(unsigned char byte);
QString From_Windows_1252(QByteArrayView bytes);
// The byte of a character; nothing when the code page cannot hold it.
std::optional<char> Windows_1252_Byte(QChar ch);
// The first character of the text that the code page cannot hold; nothing when all of them fit.
std::optional<QChar> Not_In_Windows_1252(const QString& text);
// The text in the code page; every character must fit (see Not_In_Windows_1252), else "?" stands for it.
QByteArray To_Windows_1252(const QString& text);

}  // namespace platform

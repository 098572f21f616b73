#pragma once
#include <QByteArray>
#include <QImage>

namespace platform {

// A picture as a baseline JPEG with the JPEG library's default settings; false when the library
// refused it (nothing is written then).
bool EncodeJpeg(const QImage& image, QByteArray& out);

}  // namespace platform

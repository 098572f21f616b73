#include "mqtt_image/UBankWriter.h"

#include "platform/Exception.h"

namespace mqtt_image {

void TBank_Writer::Refuse(size_t position, size_t count) const
{
    throw platform::Exception(QStringLiteral("The device image does not fit in its %1 bytes "
                                             "(%2 bytes at offset %3 refused).")
                                  .arg(Buffer.size())
                                  .arg(count)
                                  .arg(position));
}

}  // namespace mqtt_image

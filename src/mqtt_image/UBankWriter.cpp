#include "mqtt_image/UBankWriter.h"

#include "platform/Exception.h"

namespace mqtt_image {

void TBank_Writer::Refuse() const
{
    throw platform::Exception(QStringLiteral("The device image does not fit in its %1 bytes "
                                             "(%2 bytes at offset %3 refused).")
                                  .arg(W.Size())
                                  .arg(W.FailedCount())
                                  .arg(W.FailedAt()));
}

}  // namespace mqtt_image

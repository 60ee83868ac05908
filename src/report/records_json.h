#pragma once

#include "base/result.h"
#include "report/model_records.h"
#include "report/receiver_config.h"

#include <QByteArray>

namespace tagsmith::report {

// models.json: an object from model identifier to an array of ModelEntry.
Result<ModelTable> decodeModelTable(const QByteArray& bytes);

// a-models.json: an array of AModelRule, in table order.
Result<QList<AModelRule>> decodeARules(const QByteArray& bytes);

// receiver.json: one ReceiverConfig object.
Result<ReceiverConfig> decodeReceiverConfig(const QByteArray& bytes);

} // namespace tagsmith::report

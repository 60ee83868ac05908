#pragma once

#include <QByteArray>

namespace tagsmith::crypto {

// Whether the two byte strings are equal, in a time that depends only on their
// lengths, so that a guesser learns nothing from how long a refusal takes.
bool equalInConstantTime(const QByteArray& first, const QByteArray& second);

} // namespace tagsmith::crypto

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tagsmith::collect {

// The marketing capacity of a disk of this many decimal gigabytes: the
// nearest of 128G, 256G, 512G, 1T, 2T, 4T and 8T (a tie keeps the smaller),
// or none when even that is 8 % or more away.
std::optional<QString> diskCapacityText(double gigabytes);

// The capacity of the one internal disk in a property list printed by
// "diskutil list -plist internal physical"; none unless the listing holds
// exactly one disk with a size.
std::optional<QString> diskTextFromListing(const QByteArray& propertyList);

} // namespace tagsmith::collect

#include "collect/disk_capacity.h"

#include "base/property_list.h"

#include <array>
#include <cmath>

namespace tagsmith::collect {

namespace {

constexpr std::array kStandardGigabytes{128.0, 256.0, 512.0, 1000.0, 2000.0, 4000.0, 8000.0};
constexpr double kMaxRelativeDeviation = 0.08;
constexpr double kBytesPerGigabyte = 1e9;

} // namespace

std::optional<QString> diskCapacityText(double gigabytes) {
    if (!std::isfinite(gigabytes))
        return std::nullopt;
    double nearest = kStandardGigabytes.front();
    for (const double standard : kStandardGigabytes) {
        if (std::abs(standard - gigabytes) < std::abs(nearest - gigabytes))
            nearest = standard;
    }
    if (!(std::abs(nearest - gigabytes) / nearest < kMaxRelativeDeviation))
        return std::nullopt;
    if (nearest >= 1000)
        return QString::number(nearest / 1000) + u'T';
    return QString::number(nearest) + u'G';
}

std::optional<QString> diskTextFromListing(const QByteArray& propertyList) {
    using base::PropertyList;
    const std::optional<PropertyList> listing = PropertyList::parse(propertyList);
    if (!listing)
        return std::nullopt;
    const PropertyList::Node disks = PropertyList::member(listing->root(), "AllDisksAndPartitions");
    if (PropertyList::arraySize(disks) != 1)
        return std::nullopt;
    const std::optional<double> bytes =
        PropertyList::number(PropertyList::member(PropertyList::element(disks, 0), "Size"));
    return bytes ? diskCapacityText(*bytes / kBytesPerGigabyte) : std::nullopt;
}

} // namespace tagsmith::collect

#include "collect/disk_capacity.h"

#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tagsmith::collect;

TEST(DiskCapacity, NearestStandardWithinEightPercent) {
    const std::pair<double, std::optional<QString>> cases[] = {
        {121, QStringLiteral("128G")},
        {8200, QStringLiteral("8T")},
        {921, QStringLiteral("1T")},
        {920, std::nullopt}, // exactly 8 % below 1000
        {0, std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto& [gigabytes, expected] : cases)
        EXPECT_EQ(diskCapacityText(gigabytes), expected) << gigabytes;
}

TEST(DiskCapacity, ListingsOfTheRealTool) {
    const std::pair<const char*, std::optional<QString>> cases[] = {
        {"one-disk-500.1GB", QStringLiteral("512G")},
        {"one-disk-700GB", std::nullopt},
        {"two-disks", std::nullopt},
    };
    for (const auto& [name, expected] : cases) {
        const QByteArray listing = tagsmith::test::fixtureBytes(QStringLiteral("diskutil/%1.plist").arg(name));
        EXPECT_EQ(diskTextFromListing(listing), expected) << name;
    }
    const QByteArray head = R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict>)"
                            "<key>AllDisksAndPartitions</key><array><dict><key>Size</key>";
    EXPECT_EQ(diskTextFromListing(head + "<real>500107862016.0</real></dict></array></dict></plist>"), "512G");
    EXPECT_EQ(diskTextFromListing(head + "<string>500107862016</string></dict></array></dict></plist>"), std::nullopt);
    EXPECT_EQ(diskTextFromListing({}), std::nullopt) << "diskutil could not be started";
}

#include "base/bundle.h"

#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using tagsmith::base::Bundle;

TEST(Bundle, ReadsIdentifierAndVersionFromInfoPlistAndNothingFromABrokenOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("X.app"));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(path + QStringLiteral("/Contents/Info.plist"),
                                                    R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>local.tagsmith.usbcollector</string>
<key>CFBundleShortVersionString</key><string>2.4</string>
</dict></plist>)"));
    const Bundle bundle = Bundle::at(path);
    EXPECT_EQ(bundle.identifier, QStringLiteral("local.tagsmith.usbcollector"));
    EXPECT_EQ(bundle.shortVersion, QStringLiteral("2.4"));
    EXPECT_EQ(bundle.resourcePath(QStringLiteral("models.json")),
              path + QStringLiteral("/Contents/Resources/models.json"));

    const QString broken = dir.filePath(QStringLiteral("Broken.app"));
    ASSERT_TRUE(
        tagsmith::base::writeFileAtomically(broken + QStringLiteral("/Contents/Info.plist"), "<plist><dict><key>"));
    EXPECT_TRUE(Bundle::at(broken).identifier.isEmpty());
    EXPECT_TRUE(Bundle().resourcesPath().isEmpty());
}

#include "relay/relay_configuration.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <QFile>

// Both bundles carry the relay configuration the build was given, and none
// when it was given none: the source tree ships no relay address or key.
TEST(RelayBundle, ShipsExactlyTheConfigurationTheBuildWasGiven) {
    const QString given = QStringLiteral(TAGSMITH_RELAY_CONFIGURATION);
    for (const QString& bundle : {QStringLiteral("Tagsmith Collector.app"), QStringLiteral("Tagsmith.app")}) {
        QFile shipped(tagsmith::test::buildPath(bundle + QStringLiteral("/Contents/Resources/") +
                                                tagsmith::relay::kRelayConfigurationFileName));
        if (given.isEmpty()) {
            EXPECT_FALSE(shipped.exists()) << bundle.toStdString();
            continue;
        }
        QFile source(given);
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly)) << bundle.toStdString();
        EXPECT_EQ(shipped.readAll(), source.readAll()) << bundle.toStdString();
    }
    EXPECT_FALSE(QFile::exists(tagsmith::test::sourcePath(QStringLiteral("resources/issuer-public.json"))));
}

#include "support/headless.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

using tagsmith::test::buildPath;

namespace {

// Runs the collector's inspection self-test, which renders the dashboard and
// every page with the bundle's own catalogue, and keeps the pictures under the
// build tree for a person to look at.
TEST(DashboardScreenshot, SelfTestRendersTheDashboardAndPages) {
    const QString folder = buildPath(QStringLiteral("test-artifacts/inspection"));
    QDir(folder).removeRecursively();
    QTemporaryDir home;
    QProcessEnvironment environment = tagsmith::test::environmentWithoutDisplay();
    environment.insert(QStringLiteral("HOME"), home.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(buildPath(QStringLiteral("Tagsmith Collector.app/Contents/MacOS/VOREvo")),
                  {QStringLiteral("--inspection-self-test"), folder});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(process.readAllStandardOutput().startsWith("PASS: 9 inspection items on 6 tabs"));

    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/speaker-test.wav")).size(), 1234844);
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/media.log")).size() > 0);
    EXPECT_FALSE(QDir(home.path()).exists(QStringLiteral("Library"))) << "the user's media log is left alone";

    QList<std::pair<QString, QSize>> pictures = {{QStringLiteral("dashboard.png"), QSize(1264, 1184)},
                                                 {QStringLiteral("dashboard-results.png"), QSize(1264, 1184)}};
    for (const char* page : {"wireless", "keyboard", "touchpad", "screen", "audio", "camera"})
        pictures.append({QStringLiteral("page-%1.png").arg(QLatin1String(page)), QSize(2020, 1280)});
    for (const auto& [name, size] : pictures) {
        const QImage picture(folder + QChar(u'/') + name);
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        EXPECT_EQ(picture.size(), size) << name.toStdString();
    }
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/self-test.txt")));
    const QImage fresh(folder + QStringLiteral("/dashboard.png"));
    const QImage results(folder + QStringLiteral("/dashboard-results.png"));
    // The Wi-Fi and Bluetooth cards (top left, below the header) turn green
    // once the wireless page has passed them.
    for (const int left : {0, 214}) {
        const QPoint insideCard(2 * (left + 8), 2 * (106 + 140));
        EXPECT_NE(fresh.pixelColor(insideCard), results.pixelColor(insideCard)) << left;
    }
}

} // namespace

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tagsmith::app {

enum class SelfTest { AModelTest, PullTest, Verify, Test, InspectionSelfTest };

// What the entry point does with one command line, decided before any window exists.
struct StartupPlan {
    bool isCollector = false;
    bool inspectionPreview = false;
    std::optional<SelfTest> selfTest; // set: run it, print its line and exit
    bool relaunch = false;            // collector started from its launch location
};

bool isCollectorIdentifier(const QString& bundleIdentifier);

// arguments include the program path first, as in argv.
StartupPlan planStartup(const QStringList& arguments, const QString& bundleIdentifier);

QString selfTestSwitch(SelfTest test);

} // namespace tagsmith::app

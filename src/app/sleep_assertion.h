#pragma once

#include <QString>

#include <memory>

namespace tagsmith::app {

// Keeps the machine from idle sleep for as long as it lives: the collector
// must stay reachable on the cable while the operator is busy elsewhere.
class SleepAssertion {
public:
    virtual ~SleepAssertion() = default;
};

// One definition per platform. Where the system service is missing the
// machine may sleep; that is said once on standard error, and work goes on.
std::unique_ptr<SleepAssertion> preventIdleSleep(const QString& reason);

} // namespace tagsmith::app

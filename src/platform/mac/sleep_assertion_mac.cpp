#include "app/sleep_assertion.h"

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/pwr_mgt/IOPMLib.h>

#include <cstdio>

namespace tagsmith::app {

namespace {

class PowerAssertion : public SleepAssertion {
public:
    explicit PowerAssertion(IOPMAssertionID identifier) : m_identifier(identifier) {}
    ~PowerAssertion() override { IOPMAssertionRelease(m_identifier); }

private:
    IOPMAssertionID m_identifier;
};

class NoAssertion : public SleepAssertion {};

} // namespace

std::unique_ptr<SleepAssertion> preventIdleSleep(const QString& reason) {
    const CFStringRef name = reason.toCFString();
    IOPMAssertionID identifier = 0;
    const IOReturn result =
        IOPMAssertionCreateWithName(kIOPMAssertionTypeNoIdleSleep, kIOPMAssertionLevelOn, name, &identifier);
    CFRelease(name);
    if (result != kIOReturnSuccess) {
        std::fputs("Tagsmith: idle sleep cannot be held off.\n", stderr);
        return std::make_unique<NoAssertion>();
    }
    return std::make_unique<PowerAssertion>(identifier);
}

} // namespace tagsmith::app

#pragma once

#include "collect/hardware_snapshot.h"

#include <memory>

namespace tagsmith::collect {

// Where snapshots come from: the kernel and the I/O registry on a Mac, sysfs
// and procfs on Linux, a fixed snapshot in tests.
class HardwareSource {
public:
    virtual ~HardwareSource() = default;
    virtual HardwareSnapshot snapshot() const = 0;
};

// The running system's source; one definition per platform.
std::unique_ptr<HardwareSource> systemHardwareSource();

} // namespace tagsmith::collect

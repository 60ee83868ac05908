#pragma once

#include "inspection/media/capture_permission.h"
#include "inspection/media/media_hand_over.h"
#include "inspection/media/media_runtime.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace tagsmith::inspection::media {

// What a media page takes from outside: its device, the queue every call of
// that device runs on, how to ask for access, how long it waits, and where
// its events go. Tests hand in fakes.
template <typename Hardware> struct MediaPageSetup {
    std::shared_ptr<Hardware> hardware;
    base::SerialQueue* queue = nullptr;
    PermissionRequest permission;
    std::chrono::milliseconds timeout = kMediaTimeout;
    std::function<void(const QString&)> log = MediaRuntime::log;
};

} // namespace tagsmith::inspection::media

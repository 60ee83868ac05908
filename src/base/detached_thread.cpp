#include "base/detached_thread.h"

#include <system_error>
#include <thread>

namespace tagsmith::base {

bool runDetached(std::function<void()> task) {
    try {
        std::thread(std::move(task)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace tagsmith::base

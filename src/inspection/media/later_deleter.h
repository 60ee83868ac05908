#pragma once

#include <QObject>

#include <memory>

namespace tagsmith::inspection::media {

// Deletes a Qt audio or camera object from its own thread's event loop.
// Some backends pump that loop inside their destructors, which would run the
// hardware queue's next task in the middle of the current one; deferred, the
// destruction happens between tasks. Safe from any thread.
struct LaterDeleter {
    void operator()(QObject* object) const {
        if (object)
            object->deleteLater();
    }
};

template <typename T> using LaterPtr = std::unique_ptr<T, LaterDeleter>;

} // namespace tagsmith::inspection::media

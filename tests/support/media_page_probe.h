#pragma once

#include "base/serial_queue.h"
#include "support/wait.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace tagsmith::test {

// Reads a media page the way the operator sees it.
struct MediaPageProbe {
    QWidget* view = nullptr;

    QString status() const { return view->findChild<QLabel*>(QStringLiteral("status"))->text(); }
    bool canStart() const { return view->findChild<QPushButton*>(QStringLiteral("startButton"))->isEnabled(); }
    bool shows(const QString& text, std::chrono::milliseconds limit = std::chrono::seconds(5)) const {
        return waitUntil([this, &text] { return status() == text; }, limit);
    }
    // The release finished and the page shows its final text.
    bool endsWith(const QString& text) const {
        return shows(text) && waitUntil([this] { return canStart(); }) && status() == text;
    }
};

// Lets everything already queued on the hardware queue, and what it posts
// back to the main thread, run.
inline bool settle(base::SerialQueue& queue) {
    bool drained = false;
    queue.drain([&drained] { drained = true; });
    return waitUntil([&drained] { return drained; });
}

} // namespace tagsmith::test

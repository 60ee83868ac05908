#pragma once

#include "base/serial_queue.h"
#include "inspection/inspection_results.h"
#include "inspection/media/media_page_setup.h"
#include "support/fake_media_hardware.h"
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

// What a media page test arranges around its page: the record of the fake
// devices, the hardware queue, the results, and a permission prompt answered
// at once with grant, or held in pendingAnswer while grant is empty.
struct MediaPageScene {
    template <typename Hardware>
    inspection::media::MediaPageSetup<Hardware> setup(std::shared_ptr<Hardware> hardware,
                                                      std::chrono::milliseconds timeout) {
        const auto permission = [this](std::function<void(bool)> answer) {
            if (grant)
                answer(*grant);
            else
                pendingAnswer = std::move(answer);
        };
        return {std::move(hardware), &queue, permission, timeout, record.log()};
    }
    // Leaves the page while it waits for the permission, then grants it.
    template <typename Page> bool grantAfterLeaving(Page& page, const MediaPageProbe& probe, const QString& stopped) {
        grant.reset();
        page.start();
        if (!waitUntil([this] { return pendingAnswer != nullptr; }))
            return false;
        page.stop();
        if (!probe.endsWith(stopped))
            return false;
        pendingAnswer(true);
        return settle(queue);
    }

    DeviceRecord record;
    base::SerialQueue queue{QStringLiteral("test.media-hardware")};
    std::shared_ptr<inspection::InspectionResults> results = std::make_shared<inspection::InspectionResults>();
    std::optional<bool> grant = true;
    std::function<void(bool)> pendingAnswer;
};

} // namespace tagsmith::test

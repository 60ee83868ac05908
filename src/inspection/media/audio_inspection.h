#pragma once

#include "inspection/inspection_page.h"
#include "inspection/media/audio_hardware.h"
#include "inspection/media/media_page_setup.h"
#include "inspection/media/watchdog.h"

#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>

class QLabel;
class QPushButton;
class QWidget;

namespace tagsmith::inspection::media {

class AudioLevelIndicator;

struct AudioInspectionSetup : MediaPageSetup<AudioHardware> {
    // How long the tone, the recording and the replay may take once started.
    std::chrono::milliseconds runningTimeout{25000};
};

// The "声音与麦克风" tab: one automatic run plays a tone on the left and then
// the right speaker while the microphone records, then plays the recording
// back; the operator confirms the three items by ear. Runs only on built-in
// devices, only after the camera was released, and deletes the recording
// afterwards. Main thread only.
class AudioInspection final : public AudioPage, public std::enable_shared_from_this<AudioInspection> {
public:
    explicit AudioInspection(AudioInspectionSetup setup);
    ~AudioInspection() override;
    AudioInspection(const AudioInspection&) = delete;
    AudioInspection& operator=(const AudioInspection&) = delete;

    // The system's speakers and microphone on the audio queue, with the system's permission question.
    static AudioInspectionSetup systemSetup();

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<InspectionResults> results) override { m_results = std::move(results); }
    void setPrepareForUse(PrepareForUse prepare) override { m_handOver->prepareForUse = std::move(prepare); }

    void start();
    void stop() override;
    void releaseForCamera(ReleaseCompletion completion) override;
    void refreshRoutes() override;

private:
    void buildView();
    void buildControls();
    void readRoutes(const std::shared_ptr<MediaRequest>& request);
    void showRoutes(const AudioRoutes& routes);
    void cancelRouteRead();
    void prepare(const std::shared_ptr<MediaRequest>& request);
    void askPermission(const std::shared_ptr<MediaRequest>& request);
    void beginRecording(const std::shared_ptr<MediaRequest>& request);
    void armTimeout(const std::shared_ptr<MediaRequest>& request, std::chrono::milliseconds after);
    void poll();
    void handle(const AudioProgress& progress);
    void speakersDone();
    void stopAndShow(const QString& message, ReleaseCompletion completion = {});
    void showClosing(const QString& message);
    void showReleased(const QString& message);
    void showStatus(const QString& text);

    AudioInspectionSetup m_setup;
    std::shared_ptr<InspectionResults> m_results;
    std::shared_ptr<MediaHandOver> m_handOver;
    std::shared_ptr<MediaRequest> m_routeRequest;
    Watchdog m_routeWatchdog;
    QTimer m_timer; // polls the running test
    bool m_pollPending = false;
    bool m_speakersFinished = false;
    QPointer<QWidget> m_view;
    QLabel* m_status = nullptr;
    QLabel* m_routeLabel = nullptr;
    AudioLevelIndicator* m_level = nullptr;
    QPushButton* m_startButton = nullptr;
};

} // namespace tagsmith::inspection::media

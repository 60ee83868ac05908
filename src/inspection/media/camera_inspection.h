#pragma once

#include "inspection/inspection_page.h"
#include "inspection/media/camera_hardware.h"
#include "inspection/media/media_page_setup.h"

#include <QPointer>

#include <memory>

class QLabel;
class QPushButton;
class QWidget;

namespace tagsmith::inspection::media {

class CameraPreviewArea;

// The "摄像头" tab: a live preview of the built-in camera so that the operator
// can judge the picture and confirm the camera item. Nothing is recorded.
// The camera opens only after the audio page released its devices, and
// closes whenever the operator leaves the tab. Main thread only.
class CameraInspection final : public CameraPage, public std::enable_shared_from_this<CameraInspection> {
public:
    explicit CameraInspection(MediaPageSetup<CameraHardware> setup);
    ~CameraInspection() override;
    CameraInspection(const CameraInspection&) = delete;
    CameraInspection& operator=(const CameraInspection&) = delete;

    // The system's camera on the camera queue, with the system's permission question.
    static MediaPageSetup<CameraHardware> systemSetup();

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<InspectionResults> results) override { m_results = std::move(results); }
    void setPrepareForUse(PrepareForUse prepare) override { m_handOver->prepareForUse = std::move(prepare); }

    void start();
    void stop() override;
    void shutdown() override { stop(); }
    void releaseForAudio(ReleaseCompletion completion) override;

private:
    void buildView();
    void askPermission(const std::shared_ptr<MediaRequest>& request);
    void open(const std::shared_ptr<MediaRequest>& request);
    void opened(const Result<CameraPreview>& result);
    std::function<void(const QString&)> runtimeErrorHandler(const std::shared_ptr<MediaRequest>& request);
    void fail(const QString& message);
    void showClosing(const QString& message);
    void showReleased(const QString& message);
    void showStatus(const QString& text);

    MediaPageSetup<CameraHardware> m_setup;
    std::shared_ptr<InspectionResults> m_results;
    std::shared_ptr<MediaHandOver> m_handOver;
    QPointer<QWidget> m_view;
    CameraPreviewArea* m_preview = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_startButton = nullptr;
};

} // namespace tagsmith::inspection::media

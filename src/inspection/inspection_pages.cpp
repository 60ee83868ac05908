#include "inspection/inspection_pages.h"

#include "inspection/input/keyboard_inspection_page.h"
#include "inspection/input/screen_inspection_page.h"
#include "inspection/input/touchpad_inspection_page.h"
#include "inspection/inspection_controls.h"
#include "inspection/wireless/wireless_inspection_page.h"

#include <QPointer>
#include <QWidget>

namespace tagsmith::inspection {

namespace {

// Stands in for a page whose inspection this build does not have yet: its
// title and a note, with nothing to start or release.
template <typename Page> class PlaceholderPage : public Page {
public:
    explicit PlaceholderPage(const QString& heading) : m_view(new QWidget) {
        m_view->resize(kInspectionPageSize);
        inspectionLabel(heading, QRect(26, 20, 520, 32), m_view, 22, true);
        inspectionLabel(QStringLiteral("本检测页尚未接入此版本。"), QRect(26, 62, 520, 24), m_view, 14);
    }
    ~PlaceholderPage() override { delete m_view; }

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<InspectionResults> results) override { m_results = std::move(results); }
    void stop() override {}

private:
    QPointer<QWidget> m_view;
    std::shared_ptr<InspectionResults> m_results;
};

// Holds no device, so a release is always done at once.
void answerReleased(const media::ReleaseCompletion& completion) {
    if (completion)
        completion(true);
}

class PlaceholderCameraPage final : public PlaceholderPage<CameraPage> {
public:
    using PlaceholderPage::PlaceholderPage;
    void setPrepareForUse(media::PrepareForUse /*prepare*/) override {}
    void releaseForAudio(media::ReleaseCompletion completion) override { answerReleased(completion); }
    void shutdown() override {}
};

class PlaceholderAudioPage final : public PlaceholderPage<AudioPage> {
public:
    using PlaceholderPage::PlaceholderPage;
    void setPrepareForUse(media::PrepareForUse /*prepare*/) override {}
    void releaseForCamera(media::ReleaseCompletion completion) override { answerReleased(completion); }
    void refreshRoutes() override {}
};

} // namespace

InspectionPages standardInspectionPages() {
    return {
        wireless::makeWirelessInspection(),
        std::make_shared<input::KeyboardInspection>(),
        std::make_shared<input::TouchpadInspection>(),
        std::make_shared<input::ScreenInspection>(),
        std::make_shared<PlaceholderAudioPage>(QStringLiteral("扬声器与麦克风")),
        std::make_shared<PlaceholderCameraPage>(QStringLiteral("前置摄像头")),
    };
}

} // namespace tagsmith::inspection

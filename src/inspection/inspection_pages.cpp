#include "inspection/inspection_pages.h"

#include "inspection/inspection_controls.h"
#include "inspection/media/audio_inspection_page.h"
#include "inspection/media/camera_inspection_page.h"

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

class PlaceholderKeyboardPage final : public PlaceholderPage<KeyboardPage> {
public:
    using PlaceholderPage::PlaceholderPage;
    void setEnabled(bool /*enabled*/) override {}
    void clearHeldKeys() override {}
    QWidget* canvas() override { return nullptr; }
};

class PlaceholderTouchpadPage final : public PlaceholderPage<TouchpadPage> {
public:
    using PlaceholderPage::PlaceholderPage;
    void start() override {}
};

} // namespace

InspectionPages standardInspectionPages() {
    return {
        std::make_shared<PlaceholderPage<InspectionPage>>(QStringLiteral("无线功能检测")),
        std::make_shared<PlaceholderKeyboardPage>(QStringLiteral("逐键检测")),
        std::make_shared<PlaceholderTouchpadPage>(QStringLiteral("触摸板与左右键检测")),
        std::make_shared<PlaceholderPage<InspectionPage>>(QStringLiteral("屏幕纯色检测")),
        std::make_shared<media::AudioInspection>(media::AudioInspection::systemSetup()),
        std::make_shared<media::CameraInspection>(media::CameraInspection::systemSetup()),
    };
}

} // namespace tagsmith::inspection

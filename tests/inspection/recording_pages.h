#pragma once

#include "inspection/inspection_controls.h"
#include "inspection/inspection_pages.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace tagsmith::test {

// Pages that only write down, in one shared list, what the suite asks of them.
template <typename Page> class RecordingPage : public Page {
public:
    RecordingPage(QString name, std::shared_ptr<QStringList> calls)
        : m_name(std::move(name)), m_calls(std::move(calls)), m_view(new QWidget) {
        m_view->resize(inspection::kInspectionPageSize);
    }
    ~RecordingPage() override { delete m_view; }

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<inspection::InspectionResults> results) override { this->results = results; }
    void stop() override { record(QStringLiteral("stop")); }

    std::shared_ptr<inspection::InspectionResults> results;

protected:
    void record(const QString& call) { m_calls->append(m_name + QChar(u'.') + call); }

private:
    QString m_name;
    std::shared_ptr<QStringList> m_calls;
    QPointer<QWidget> m_view;
};

class RecordingKeyboardPage final : public RecordingPage<inspection::KeyboardPage> {
public:
    RecordingKeyboardPage(std::shared_ptr<QStringList> calls)
        : RecordingPage(QStringLiteral("keyboard"), std::move(calls)), m_canvas(new QWidget(view())) {
        m_canvas->setFocusPolicy(Qt::StrongFocus);
    }
    void setEnabled(bool enabled) override {
        this->enabled = enabled;
        record(QStringLiteral("enabled=%1").arg(enabled ? QStringLiteral("true") : QStringLiteral("false")));
    }
    void clearHeldKeys() override { record(QStringLiteral("clearHeldKeys")); }
    QWidget* canvas() override { return m_canvas; }

    bool enabled = false;

private:
    QWidget* m_canvas;
};

class RecordingTouchpadPage final : public RecordingPage<inspection::TouchpadPage> {
public:
    RecordingTouchpadPage(std::shared_ptr<QStringList> calls)
        : RecordingPage(QStringLiteral("touchpad"), std::move(calls)) {}
    void start() override { record(QStringLiteral("start")); }
};

class RecordingCameraPage final : public RecordingPage<inspection::CameraPage> {
public:
    RecordingCameraPage(std::shared_ptr<QStringList> calls)
        : RecordingPage(QStringLiteral("camera"), std::move(calls)) {}
    void setPrepareForUse(inspection::media::PrepareForUse prepare) override { prepareForUse = std::move(prepare); }
    void releaseForAudio(inspection::media::ReleaseCompletion completion) override {
        record(QStringLiteral("releaseForAudio"));
        completion(true);
    }
    void shutdown() override { record(QStringLiteral("shutdown")); }

    inspection::media::PrepareForUse prepareForUse;
};

class RecordingAudioPage final : public RecordingPage<inspection::AudioPage> {
public:
    RecordingAudioPage(std::shared_ptr<QStringList> calls) : RecordingPage(QStringLiteral("audio"), std::move(calls)) {}
    void setPrepareForUse(inspection::media::PrepareForUse prepare) override { prepareForUse = std::move(prepare); }
    void releaseForCamera(inspection::media::ReleaseCompletion completion) override {
        record(QStringLiteral("releaseForCamera"));
        completion(true);
    }
    void refreshRoutes() override { record(QStringLiteral("refreshRoutes")); }

    inspection::media::PrepareForUse prepareForUse;
};

struct RecordingPages {
    std::shared_ptr<QStringList> calls = std::make_shared<QStringList>();
    std::shared_ptr<RecordingPage<inspection::InspectionPage>> wireless =
        std::make_shared<RecordingPage<inspection::InspectionPage>>(QStringLiteral("wireless"), calls);
    std::shared_ptr<RecordingKeyboardPage> keyboard = std::make_shared<RecordingKeyboardPage>(calls);
    std::shared_ptr<RecordingTouchpadPage> touchpad = std::make_shared<RecordingTouchpadPage>(calls);
    std::shared_ptr<RecordingPage<inspection::InspectionPage>> screen =
        std::make_shared<RecordingPage<inspection::InspectionPage>>(QStringLiteral("screen"), calls);
    std::shared_ptr<RecordingAudioPage> audio = std::make_shared<RecordingAudioPage>(calls);
    std::shared_ptr<RecordingCameraPage> camera = std::make_shared<RecordingCameraPage>(calls);

    inspection::InspectionPages pages() const { return {wireless, keyboard, touchpad, screen, audio, camera}; }
};

} // namespace tagsmith::test

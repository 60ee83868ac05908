#pragma once

#include <QWidget>

namespace tagsmith::inspection::media {

// The microphone's level as a continuous bar from 0 to 60 that turns amber
// from 50 and red from 57, where the recording would start to clip.
class AudioLevelIndicator : public QWidget {
    Q_OBJECT
public:
    static constexpr double kMaximum = 60;
    static constexpr double kWarning = 50;
    static constexpr double kCritical = 57;

    explicit AudioLevelIndicator(QWidget* parent = nullptr);

    void setValue(double value);
    double value() const { return m_value; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_value = 0;
};

} // namespace tagsmith::inspection::media

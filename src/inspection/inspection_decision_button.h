#pragma once

#include <QPushButton>

namespace tagsmith::inspection {

// The pass or fail button of a verdict strip, drawn in the verdict colours:
// filled when its verdict is the current one, tinted otherwise.
class InspectionDecisionButton : public QPushButton {
    Q_OBJECT
public:
    InspectionDecisionButton(bool positive, const QString& title, QWidget* parent = nullptr);

    bool positive() const { return m_positive; }
    bool confirmed() const { return m_confirmed; }
    void setConfirmed(bool confirmed);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor tone() const;
    QColor fill() const;
    QColor titleColor() const;

    bool m_positive;
    bool m_confirmed = false;
};

} // namespace tagsmith::inspection

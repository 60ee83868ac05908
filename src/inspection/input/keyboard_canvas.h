#pragma once

#include "inspection/input/inspection_key.h"
#include "inspection/input/key_progress.h"

#include <QString>
#include <QWidget>

namespace tagsmith::inspection::input {

// The on-screen keyboard of the chosen layout: keys held now in blue, keys
// seen in green, the rest grey. A click gives it the keyboard focus.
class KeyboardCanvas final : public QWidget {
    Q_OBJECT
public:
    static const QString kInitialLatest;

    explicit KeyboardCanvas(QWidget* parent = nullptr);

    const KeyRows& rows() const { return m_rows; }
    void setRows(KeyRows rows);
    KeyProgress& progress() { return m_progress; }
    const KeyProgress& progress() const { return m_progress; }
    // The last key event, for the page's status line.
    const QString& latest() const { return m_latest; }
    void setLatest(const QString& latest) { m_latest = latest; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintRow(QPainter& painter, const KeyRow& row, int rowIndex) const;
    void paintKey(QPainter& painter, const InspectionKey& key, const QRectF& frame) const;

    KeyRows m_rows;
    KeyProgress m_progress;
    QString m_latest;
};

} // namespace tagsmith::inspection::input

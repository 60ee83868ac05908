#pragma once

#include <QDialog>

class QLineEdit;

namespace tagsmith::app {

// Asks for the two label fields the collector cannot read reliably: the disk
// capacity and the A-number on the case.
class LabelSupplementDialog : public QDialog {
    Q_OBJECT
public:
    LabelSupplementDialog(const QString& disk, const QString& exterior, QWidget* parent = nullptr);

    QString disk() const;
    QString exterior() const;

private:
    QLineEdit* m_disk;
    QLineEdit* m_exterior;
};

} // namespace tagsmith::app

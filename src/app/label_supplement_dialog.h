#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

namespace tagsmith::app {

// Why a label supplement text (already trimmed) cannot be used, naming its
// field; nothing when it can. Texts are counted in user-perceived characters
// and refused with any kind of line break.
std::optional<QString> supplementRefusal(const QString& field, const QString& text);

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

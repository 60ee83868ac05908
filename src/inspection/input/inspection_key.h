#pragma once

#include <QList>
#include <QString>

namespace tagsmith::inspection::input {

// One key of the on-screen keyboard.
struct InspectionKey {
    quint16 code = 0; // virtual key code
    QString label;
    double width = 1.0; // in key units; a letter key is 1

    bool operator==(const InspectionKey&) const = default;
};

using KeyRow = QList<InspectionKey>;
// Six rows, top to bottom.
using KeyRows = QList<KeyRow>;

} // namespace tagsmith::inspection::input

#pragma once

#include <QSet>

namespace tagsmith::inspection::input {

// Which keys have produced an event so far, and which are down now.
struct KeyProgress {
    QSet<quint16> seen;
    QSet<quint16> held;

    void update(quint16 code, bool down) {
        if (down) {
            seen.insert(code);
            held.insert(code);
        } else {
            held.remove(code);
        }
    }
    void reset() {
        seen.clear();
        held.clear();
    }
};

} // namespace tagsmith::inspection::input

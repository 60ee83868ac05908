#pragma once

namespace tagsmith {

// Points per millimetre, for sizes given in millimetres (the label is 40 × 30 mm).
inline constexpr double mm = 72.0 / 25.4;

// Set once by the entry point before any window exists; read-only afterwards.
struct ProcessValues {
    bool isCollector = false;
    bool inspectionPreview = false;
};

const ProcessValues& processValues();
void setProcessValues(const ProcessValues& values);

} // namespace tagsmith

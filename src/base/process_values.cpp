#include "base/process_values.h"

namespace tagsmith {

namespace {
ProcessValues g_values; // written once on the main thread before anything reads it
} // namespace

const ProcessValues& processValues() {
    return g_values;
}

void setProcessValues(const ProcessValues& values) {
    g_values = values;
}

} // namespace tagsmith

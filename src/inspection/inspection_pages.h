#pragma once

#include "inspection/inspection_page.h"

#include <memory>

namespace tagsmith::inspection {

// The six pages the suite assembles. Shared so that the cross-links between
// the media pages can hold each other weakly.
struct InspectionPages {
    std::shared_ptr<InspectionPage> wireless;
    std::shared_ptr<KeyboardPage> keyboard;
    std::shared_ptr<TouchpadPage> touchpad;
    std::shared_ptr<InspectionPage> screen;
    std::shared_ptr<AudioPage> audio;
    std::shared_ptr<CameraPage> camera;
};

// The pages of the collector, with the system's hardware.
InspectionPages standardInspectionPages();

} // namespace tagsmith::inspection

#include "inspection/inspection_pages.h"

#include "inspection/input/keyboard_inspection.h"
#include "inspection/input/screen_inspection.h"
#include "inspection/input/touchpad_inspection.h"
#include "inspection/media/audio_inspection.h"
#include "inspection/media/camera_inspection.h"
#include "inspection/wireless/wireless_inspection.h"

namespace tagsmith::inspection {

InspectionPages standardInspectionPages() {
    return {
        wireless::makeWirelessInspection(),
        std::make_shared<input::KeyboardInspection>(),
        std::make_shared<input::TouchpadInspection>(),
        std::make_shared<input::ScreenInspection>(),
        std::make_shared<media::AudioInspection>(media::AudioInspection::systemSetup()),
        std::make_shared<media::CameraInspection>(media::CameraInspection::systemSetup()),
    };
}

} // namespace tagsmith::inspection

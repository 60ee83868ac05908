#pragma once

#include "inspection/media/release_completion.h"

#include <memory>

class QWidget;

namespace tagsmith::inspection {

class InspectionResults;

// One page of the inspection suite. The suite places the page's view in its
// tab (the view is laid out on kInspectionPageSize) and adds the page's
// verdict strips to it. Pages never start anything just because their view
// is shown: the suite tells them, so that the camera and the audio devices
// are never open at once. A page deletes its view when destroyed; the tab
// view may have deleted it first, so pages keep it in a QPointer.
// Main thread only.
class InspectionPage {
public:
    virtual ~InspectionPage() = default;

    virtual QWidget* view() = 0;
    // The suite's shared store, which replaces any store the page had.
    virtual void setResults(std::shared_ptr<InspectionResults> results) = 0;
    // Ends whatever runs; stored results stay.
    virtual void stop() = 0;
};

// Catches key events only while its tab is showing.
class KeyboardPage : public InspectionPage {
public:
    virtual void setEnabled(bool enabled) = 0;
    // Forgets the keys held down and redraws, so keys released elsewhere do not stay lit.
    virtual void clearHeldKeys() = 0;
    // The widget that takes the keyboard focus while the tab is showing; may be null.
    virtual QWidget* canvas() = 0;
};

// Opens its full-screen canvas when its tab is selected; stop() closes it.
class TouchpadPage : public InspectionPage {
public:
    virtual void start() = 0;
};

// A page that holds capture hardware which the other media page may need.
class MediaPage : public InspectionPage {
public:
    virtual void setPrepareForUse(media::PrepareForUse prepare) = 0;
};

class CameraPage : public MediaPage {
public:
    // Closes the camera so that the audio test may start.
    virtual void releaseForAudio(media::ReleaseCompletion completion) = 0;
    // The release at application exit.
    virtual void shutdown() = 0;
};

class AudioPage : public MediaPage {
public:
    // Ends the audio test and frees the devices so that the camera may start.
    virtual void releaseForCamera(media::ReleaseCompletion completion) = 0;
    // Reads the current output and input devices again.
    virtual void refreshRoutes() = 0;
};

} // namespace tagsmith::inspection

#pragma once

#include "base/spin_until.h"

#include <QString>

#include <optional>

class QDir;

namespace tagsmith::app {

// Parts of the inspection self-test that drive one page or the media
// hand-over on their own, with synthesised input and fake hardware. Each
// returns the first failure, if any. Main thread; they spin the event loop.
std::optional<QString> checkKeyboardRules();
std::optional<QString> checkColourSequence();
std::optional<QString> checkTouchpadRules();
std::optional<QString> checkMediaHandOver();
// The test tone, as the speakers play it, written to speaker-test.wav.
std::optional<QString> writeSpeakerTestWave(const QDir& folder);

using base::spinUntil;

} // namespace tagsmith::app

#pragma once

namespace tagsmith::inspection::media {

// Where a running speaker and microphone test stands.
struct AudioProgress {
    enum class Phase { recording, preparingReplay, replaying, finished };

    Phase phase = Phase::recording;
    double elapsed = 0; // recording only: seconds since the test tone began
    double level = 0;   // recording only: microphone level, 0 to 60

    static AudioProgress recording(double elapsed, double level) { return {Phase::recording, elapsed, level}; }
    static AudioProgress preparingReplay() { return {Phase::preparingReplay}; }
    static AudioProgress replaying() { return {Phase::replaying}; }
    static AudioProgress finished() { return {Phase::finished}; }

    bool operator==(const AudioProgress&) const = default;
};

} // namespace tagsmith::inspection::media

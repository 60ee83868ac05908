#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tagsmith::inspection::media {

struct AudioRoute {
    QString name;
    std::uint32_t id = 0;
    bool builtIn = false;
    int channels = 0;

    bool operator==(const AudioRoute&) const = default;
};

// The current default output and input devices.
struct AudioRoutes {
    std::optional<AudioRoute> output;
    std::optional<AudioRoute> input;

    // Built-in stereo speakers and a built-in microphone: the only devices the test accepts.
    bool usable() const;
    QString description() const;

    bool operator==(const AudioRoutes&) const = default;
};

} // namespace tagsmith::inspection::media

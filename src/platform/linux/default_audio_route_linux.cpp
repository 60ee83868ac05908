#include "inspection/media/default_audio_route.h"

#include "base/process.h"
#include "platform/linux/pulse_audio_route.h"

#include <QStandardPaths>

namespace tagsmith::inspection::media {

namespace {

// A sound server that hangs must not hold the audio queue for long.
constexpr std::chrono::milliseconds kPactlLimit{2000};
constexpr qsizetype kLargestAnswer = 4 * 1024 * 1024;

std::optional<QByteArray> pactl(const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pactl"));
    if (program.isEmpty())
        return std::nullopt;
    base::ProcessResult run =
        base::runProcess({.program = program,
                          .arguments = QStringList{QStringLiteral("-f"), QStringLiteral("json")} + arguments,
                          .timeLimit = kPactlLimit,
                          .outputLimit = kLargestAnswer});
    if (!run.succeeded())
        return std::nullopt;
    return std::move(run.output);
}

} // namespace

// The default sink or source of PulseAudio, or of PipeWire through its PulseAudio service.
std::optional<AudioRoute> defaultAudioRoute(bool input) {
    const std::optional<QByteArray> info = pactl({QStringLiteral("info")});
    if (!info)
        return std::nullopt;
    const std::optional<QByteArray> devices =
        pactl({QStringLiteral("list"), input ? QStringLiteral("sources") : QStringLiteral("sinks")});
    if (!devices)
        return std::nullopt;
    return platform::pulseDefaultRoute(*info, *devices, input);
}

} // namespace tagsmith::inspection::media

#include "inspection/media/default_audio_route.h"

#include "platform/linux/pulse_audio_route.h"

#include <QProcess>
#include <QStandardPaths>

namespace tagsmith::inspection::media {

namespace {

// A sound server that hangs must not hold the audio queue for long.
constexpr int kPactlLimitMs = 2000;
constexpr qint64 kLargestAnswer = 4 * 1024 * 1024;

std::optional<QByteArray> pactl(const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pactl"));
    if (program.isEmpty())
        return std::nullopt;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, QStringList{QStringLiteral("-f"), QStringLiteral("json")} + arguments);
    if (!process.waitForFinished(kPactlLimitMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    const QByteArray answer = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || answer.size() > kLargestAnswer)
        return std::nullopt;
    return answer;
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

#include "inspection/media/audio_routes.h"

namespace tagsmith::inspection::media {

namespace {

QString nameOf(const std::optional<AudioRoute>& route) {
    return route ? route->name : QStringLiteral("未读取");
}

} // namespace

bool AudioRoutes::usable() const {
    return output && output->builtIn && output->channels >= 2 && input && input->builtIn && input->channels >= 1;
}

QString AudioRoutes::description() const {
    return QStringLiteral("当前输出：") + nameOf(output) + QStringLiteral("\n当前输入：") + nameOf(input) +
           QStringLiteral("\n请关闭系统“单声道音频”，并将左右平衡居中，以便区分左右扬声器。");
}

} // namespace tagsmith::inspection::media

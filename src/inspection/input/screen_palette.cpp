#include "inspection/input/screen_palette.h"

namespace tagsmith::inspection::input {

const QList<ScreenTestColor>& inspectionScreenPalette() {
    static const QList<ScreenTestColor> palette = {
        {QStringLiteral("纯白"), 0xFFFFFF}, {QStringLiteral("纯灰"), 0x808080}, {QStringLiteral("纯黑"), 0x000000},
        {QStringLiteral("红色"), 0xFF0000}, {QStringLiteral("绿色"), 0x00FF00}, {QStringLiteral("蓝色"), 0x0000FF},
        {QStringLiteral("黄色"), 0xFFFF00}, {QStringLiteral("青色"), 0x00FFFF}, {QStringLiteral("品红"), 0xFF00FF},
        {QStringLiteral("橙色"), 0xFF8000}, {QStringLiteral("紫色"), 0x8000FF}, {QStringLiteral("近黑"), 0x101010},
        {QStringLiteral("深灰"), 0x404040}, {QStringLiteral("浅灰"), 0xBFBFBF}, {QStringLiteral("亮灰"), 0xE6E6E6},
        {QStringLiteral("近白"), 0xF5F5F5},
    };
    return palette;
}

QColor screenTestColor(int index) {
    const quint32 rgb = inspectionScreenPalette().at(index).rgb;
    return QColor::fromRgbF(float((rgb >> 16) & 0xFF) / 255, float((rgb >> 8) & 0xFF) / 255, float(rgb & 0xFF) / 255);
}

} // namespace tagsmith::inspection::input

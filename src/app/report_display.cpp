#include "app/report_display.h"

#include "collect/configuration_text.h"

namespace tagsmith::app {

QString reportDisplayText(const report::Report& report) {
    return collect::configurationText(report) + QStringLiteral("\n采集时间：") + report.collectedAt +
           QStringLiteral("\n\n年份、尺寸来自离线机型匹配；多年份显示候选项，不猜测。\n电池健康优先采用系统报告的最大容"
                          "量百分比。");
}

} // namespace tagsmith::app

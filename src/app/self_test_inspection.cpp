#include "app/self_test.h"

#include "app/self_test_checks.h"

#include "base/atomic_file.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_dashboard.h"
#include "inspection/inspection_results.h"
#include "inspection/inspection_suite.h"
#include "inspection/media/media_runtime.h"
#include "inspection/wireless/wireless_self_check.h"
#include "l10n/l10n.h"

#include <QDir>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>

#include <array>

namespace tagsmith::app {

namespace {

using inspection::InspectionItem;
using inspection::InspectionResults;
using inspection::InspectionState;

constexpr QSize kTabViewSize(1036, 696);
const QString kOverviewTab = QStringLiteral("验机总览");

Error failure(const QString& what) {
    return selfTestFailure(QStringLiteral("检测框架自检失败：") + what);
}

// Renders at twice the size so that a person can judge the drawing.
bool savePicture(QWidget* widget, const QString& path) {
    QPixmap picture(widget->size() * 2);
    picture.setDevicePixelRatio(2);
    picture.fill(widget->palette().window().color());
    widget->render(&picture);
    return picture.save(path, "PNG");
}

bool holdsTheSixTabs(const QTabWidget& tabs) {
    const std::array identifiers = {inspection::kWirelessTab, inspection::kKeyboardTab, inspection::kTouchpadTab,
                                    inspection::kScreenTab,   inspection::kAudioTab,    inspection::kCameraTab};
    if (tabs.count() != int(identifiers.size()) + 1)
        return false;
    for (int i = 0; i < int(identifiers.size()); ++i) {
        if (tabs.tabBar()->tabData(i + 1).toString() != identifiers[i])
            return false;
    }
    return true;
}

// The other items in each state, manual verdicts included, as an operator might leave them.
void recordSampleResults(InspectionResults& results) {
    results.set(InspectionItem::keyboard, InspectionState::running, QStringLiteral("已识别 41 / 77 个可检测按键"));
    results.set(InspectionItem::touchpad, InspectionState::needsConfirmation,
                QStringLiteral("轨迹及左右键已识别，请人工确认"), true);
    for (InspectionItem item : {InspectionItem::leftSpeaker, InspectionItem::rightSpeaker})
        results.set(item, InspectionState::needsConfirmation, QStringLiteral("测试音播放完成，请确认声音正常"), true);
    results.confirm(InspectionItem::leftSpeaker, true);
    results.confirm(InspectionItem::rightSpeaker, false);
    results.set(InspectionItem::microphone, InspectionState::needsConfirmation,
                QStringLiteral("录音回放完成，请确认收音清晰"), true);
}

std::optional<Error> checkStoreRules(InspectionResults& results) {
    if (results.confirm(InspectionItem::camera, true))
        return failure(QStringLiteral("未解锁的项目被人工确认通过。"));
    results.set(InspectionItem::rightSpeaker, InspectionState::passed, QStringLiteral("迟到的自动结果"));
    if (results[InspectionItem::rightSpeaker].state != InspectionState::failed)
        return failure(QStringLiteral("自动结果覆盖了人工判定。"));
    // Wi-Fi and Bluetooth passed by the wireless check, the left speaker by hand.
    if (results.counts() != inspection::InspectionCounts{3, 1, 5})
        return failure(QStringLiteral("汇总计数不符。"));
    return std::nullopt;
}

std::optional<Error> checkStopKeepsResults(inspection::InspectionSuite& suite) {
    std::vector<inspection::InspectionResult> before;
    for (InspectionItem item : inspection::kAllInspectionItems)
        before.push_back((*suite.results())[item]);
    suite.stop();
    for (InspectionItem item : inspection::kAllInspectionItems) {
        if ((*suite.results())[item] != before[inspection::indexOf(item)])
            return failure(QStringLiteral("停止检测时结果被改变。"));
    }
    return std::nullopt;
}

// File names for the pictures of the pages behind the suite's tabs.
QString pictureName(const QString& tabIdentifier) {
    const std::array<std::pair<QString, QString>, 6> names = {{{inspection::kWirelessTab, QStringLiteral("wireless")},
                                                               {inspection::kKeyboardTab, QStringLiteral("keyboard")},
                                                               {inspection::kTouchpadTab, QStringLiteral("touchpad")},
                                                               {inspection::kScreenTab, QStringLiteral("screen")},
                                                               {inspection::kAudioTab, QStringLiteral("audio")},
                                                               {inspection::kCameraTab, QStringLiteral("camera")}}};
    for (const auto& [identifier, name] : names) {
        if (identifier == tabIdentifier)
            return QStringLiteral("page-") + name + QStringLiteral(".png");
    }
    return {};
}

// Every page the suite holds, whichever inspections this build has, as it
// looks with the results recorded so far.
Result<QStringList> savePagePictures(const QTabWidget& tabs, const QDir& folder) {
    QStringList written;
    for (int index = 0; index < tabs.count(); ++index) {
        const QString name = pictureName(tabs.tabBar()->tabData(index).toString());
        if (name.isEmpty())
            continue;
        if (!savePicture(tabs.widget(index), folder.filePath(name)))
            return failure(QStringLiteral("无法写入 ") + folder.filePath(name));
        written.append(name);
    }
    return written;
}

Result<QStringList> savePictures(inspection::InspectionSuite& suite, const QTabWidget& tabs, const QDir& folder,
                                 bool withResults) {
    const QString dashboard = withResults ? QStringLiteral("dashboard-results.png") : QStringLiteral("dashboard.png");
    if (!savePicture(suite.dashboard(), folder.filePath(dashboard)))
        return failure(QStringLiteral("无法写入 ") + folder.filePath(dashboard));
    if (!withResults)
        return QStringList{dashboard};
    Result<QStringList> pages = savePagePictures(tabs, folder);
    if (pages)
        pages->prepend(dashboard);
    return pages;
}

QString summaryLine() {
    return QStringLiteral(
               "PASS: 9 inspection items on 6 tabs, pass guard, manual verdicts kept, stop keeps results; ") +
           inspection::wireless::WirelessSelfCheck::summary() +
           QStringLiteral("; keyboard layout passes, colour sequence, touchpad rules; camera and audio hand over "
                          "8 times, a stalled release times out and a late confirmation clears it; test wave "
                          "written; dashboard and pages rendered");
}

// The pages and the media hand-over on their own, with synthesised input and fake hardware.
std::optional<Error> checkPagesAndMedia(const QDir& folder) {
    for (auto check : {checkKeyboardRules, checkColourSequence, checkTouchpadRules, checkMediaHandOver}) {
        if (std::optional<QString> failed = check())
            return failure(*failed);
    }
    if (std::optional<QString> failed = writeSpeakerTestWave(folder))
        return failure(*failed);
    return std::nullopt;
}

std::optional<Error> writeReport(const QDir& folder, const QStringList& pictures) {
    const QString path = folder.filePath(QStringLiteral("self-test.txt"));
    const QString report = summaryLine() + QStringLiteral("\n\nPictures:\n") + pictures.join(u'\n') +
                           QStringLiteral("\n\nSound: speaker-test.wav\nMedia log: media.log\n");
    if (const Result<void> written = base::writeFileAtomically(path, report.toUtf8()); !written)
        return failure(QStringLiteral("无法写入 ") + path);
    return std::nullopt;
}

} // namespace

Result<QString> runInspectionSelfTest(const QStringList& arguments) {
    const QDir folder(arguments.value(2));
    if (!QDir().mkpath(folder.path()))
        return failure(QStringLiteral("无法创建文件夹 ") + folder.path());
    // The fake devices' events stay with the self-test, out of the user's log.
    inspection::media::MediaRuntime::setLogDirectory(folder.path());
    QTabWidget tabs;
    tabs.resize(kTabViewSize);
    auto* overview = new QWidget;
    overview->resize(inspection::kInspectionPageSize);
    tabs.tabBar()->setTabData(tabs.addTab(overview, L10n::t(QStringLiteral("inspector.overview"))), kOverviewTab);
    inspection::wireless::WirelessSelfCheck wireless;
    inspection::InspectionPages pages = inspection::standardInspectionPages();
    pages.wireless = wireless.page();
    inspection::InspectionSuite suite(&tabs, std::move(pages));
    suite.dashboard()->setParent(overview);
    suite.dashboard()->setGeometry(
        inspection::flippedFrame(inspection::InspectionSuite::kDashboardFrame, overview->height()));
    if (!holdsTheSixTabs(tabs) || suite.dashboard()->cards().size() != inspection::kInspectionItemCount)
        return failure(QStringLiteral("检测页或总览卡片不全。"));
    Result<QStringList> fresh = savePictures(suite, tabs, folder, false);
    if (!fresh)
        return fresh.error();
    if (std::optional<QString> failed = wireless.run(*suite.results()))
        return failure(*failed);
    recordSampleResults(*suite.results());
    if (std::optional<Error> failed = checkStoreRules(*suite.results()))
        return *failed;
    if (std::optional<Error> failed = checkStopKeepsResults(suite))
        return *failed;
    if (std::optional<Error> failed = checkPagesAndMedia(folder))
        return *failed;
    Result<QStringList> recorded = savePictures(suite, tabs, folder, true);
    if (!recorded)
        return recorded.error();
    if (std::optional<Error> failed = writeReport(folder, *fresh + *recorded))
        return *failed;
    return summaryLine();
}

} // namespace tagsmith::app

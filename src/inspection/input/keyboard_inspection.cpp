#include "inspection/input/keyboard_inspection.h"

#include "inspection/input/keyboard_canvas.h"
#include "inspection/input/keyboard_layout.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_results.h"
#include "l10n/l10n.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include <algorithm>

namespace tagsmith::inspection::input {

namespace {

const QString kInstruction = QStringLiteral(
    "请使用内置键盘。亮度、播放和音量键可直接按；其他功能键可配合 Fn。F11 若触发显示桌面，请用 Control＋Fn＋F11。\n"
    "Touch ID / 电源键不能检测；此页接收 Esc 和 ⌘ 组合键，点击其他页面结束。未识别的键需人工复核。");

} // namespace

KeyboardInspection::KeyboardInspection() : m_results(std::make_shared<InspectionResults>()), m_view(new QWidget) {
    build();
    KeyboardEventSink& sink = *this;
    m_capture = std::make_unique<KeyboardCapture>(m_view, sink);
    refresh();
}

KeyboardInspection::~KeyboardInspection() {
    m_capture.reset();
    delete m_view;
}

void KeyboardInspection::build() {
    m_view->resize(kInspectionPageSize);
    inspectionLabel(QStringLiteral("逐键检测"), QRect(26, 20, 520, 32), m_view, 22, true);
    inspectionLabel(kInstruction, QRect(26, 82, 958, 44), m_view, 13);
    buildControls();
    inspectionLabel(QStringLiteral("蓝色＝按住　绿色＝已识别　灰色＝未测试"), QRect(640, 142, 344, 20), m_view, 12);
    m_status = inspectionLabel(QString(), QRect(26, 180, 958, 40), m_view);
    m_canvas = new KeyboardCanvas(m_view);
    m_canvas->setGeometry(26, 232, 958, 340);
}

void KeyboardInspection::buildControls() {
    m_layout = new QComboBox(m_view);
    for (KeyboardLayout layout : kAllKeyboardLayouts)
        m_layout->addItem(L10n::source(title(layout)));
    m_layout->setGeometry(26, 136, 200, 28);
    m_touchBar = new QCheckBox(L10n::source(QStringLiteral("Touch Bar 机型（不计 F1–F12）")), m_view);
    m_touchBar->setGeometry(240, 136, 260, 28);
    QObject::connect(m_layout, &QComboBox::currentIndexChanged, m_view, [this] { changeLayout(); });
    QObject::connect(m_touchBar, &QCheckBox::toggled, m_view, [this] { changeLayout(); });
    inspectionButton(QStringLiteral("清空记录"), QRect(510, 134, 110, 32), m_view, [this] { reset(); });
}

void KeyboardInspection::setResults(std::shared_ptr<InspectionResults> results) {
    m_results = std::move(results);
}

QWidget* KeyboardInspection::canvas() {
    return m_canvas;
}

bool KeyboardInspection::capturing() const {
    return m_enabled && m_view && QApplication::activeWindow() == m_view->window();
}

bool KeyboardInspection::accepts(const KeyboardEvent& event) const {
    return interpretKeyEvent(event, m_canvas->rows()).has_value();
}

bool KeyboardInspection::receive(const KeyboardEvent& event) {
    const std::optional<KeyChange> change = interpretKeyEvent(event, m_canvas->rows());
    if (!change)
        return false;
    KeyProgress& progress = m_canvas->progress();
    // Turning the lock off is a press of the key as much as turning it on.
    if (change->code == kCapsLockKey)
        progress.seen.insert(kCapsLockKey);
    progress.update(change->code, change->down);
    m_canvas->setLatest(latestText(*change));
    refresh();
    reportProgress();
    return true;
}

QString KeyboardInspection::latestText(const KeyChange& change) const {
    const QString label = keyLabel(m_canvas->rows(), change.code).value_or(QStringLiteral("额外按键"));
    return QStringLiteral("最近：") + label + (change.media ? QStringLiteral("（功能键）") : QString()) +
           QStringLiteral(" · 键码 ") + QString::number(change.code) +
           (change.down ? QStringLiteral(" · 按下") : QStringLiteral(" · 松开"));
}

std::pair<int, int> KeyboardInspection::coverage() const {
    const QSet<quint16> codes = keyCodes(m_canvas->rows());
    const QSet<quint16>& seen = m_canvas->progress().seen;
    const auto hit = std::count_if(codes.begin(), codes.end(), [&seen](quint16 code) { return seen.contains(code); });
    return {int(hit), int(codes.size())};
}

void KeyboardInspection::refresh() {
    const auto [hit, total] = coverage();
    QString text = QStringLiteral("已识别 %1 / %2 键　　").arg(hit).arg(total) + m_canvas->latest();
    if (hit == total)
        text += QStringLiteral("\n当前布局的可检测按键均已收到事件。");
    m_status->setText(text);
    m_canvas->update();
}

void KeyboardInspection::reportProgress() {
    // Only ever passed or running: the store keeps a verdict the operator gave.
    const auto [hit, total] = coverage();
    m_results->set(InspectionItem::keyboard, hit == total ? InspectionState::passed : InspectionState::running,
                   QStringLiteral("已识别 %1 / %2 个可检测按键").arg(hit).arg(total), false);
}

void KeyboardInspection::changeLayout() {
    const int index = std::clamp(m_layout->currentIndex(), 0, int(kAllKeyboardLayouts.size()) - 1);
    const KeyRows keys = rows(kAllKeyboardLayouts[index]);
    m_canvas->setRows(m_touchBar->isChecked() ? withoutFunctionKeys(keys) : keys);
    reset();
}

void KeyboardInspection::reset() {
    m_results->reset(InspectionItem::keyboard);
    m_canvas->progress().reset();
    m_canvas->setLatest(L10n::source(KeyboardCanvas::kInitialLatest));
    refresh();
}

void KeyboardInspection::clearHeldKeys() {
    m_canvas->progress().held.clear();
    refresh();
}

void KeyboardInspection::windowResignedKey() {
    clearHeldKeys();
}

void KeyboardInspection::stop() {
    m_enabled = false;
    m_capture.reset();
    if (m_canvas) {
        m_canvas->progress().held.clear();
        m_canvas->update();
    }
}

KeyboardCanvas* KeyboardInspection::keyboardCanvas() const {
    return m_canvas;
}

QComboBox* KeyboardInspection::layoutPopUp() const {
    return m_layout;
}

QCheckBox* KeyboardInspection::touchBarBox() const {
    return m_touchBar;
}

QLabel* KeyboardInspection::statusLabel() const {
    return m_status;
}

} // namespace tagsmith::inspection::input

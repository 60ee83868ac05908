#include "inspection/input/key_change.h"
#include "inspection/input/keyboard_canvas.h"
#include "inspection/input/keyboard_inspection.h"
#include "inspection/input/keyboard_layout.h"
#include "inspection/input/keyboard_media_input.h"
#include "inspection/inspection_results.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::input;

namespace {

const QString kAllSeenLine = QStringLiteral("\n当前布局的可检测按键均已收到事件。");

KeyboardEvent keyEvent(int type, quint16 code, quint64 flags = 0) {
    return {type, code, flags};
}

KeyboardEvent mediaEvent(int keyType, bool down) {
    KeyboardEvent event{kSystemDefinedEvent};
    event.subtype = kAuxiliaryButtonsSubtype;
    event.data1 = auxiliaryButtonData(keyType, down);
    return event;
}

TEST(KeyboardLayout, KeyCountsWithAndWithoutTheFunctionRow) {
    const std::tuple<KeyboardLayout, int, int> expected[] = {
        {KeyboardLayout::ansi, 77, 65}, {KeyboardLayout::iso, 78, 66}, {KeyboardLayout::jis, 80, 68}};
    for (const auto& [layout, keys, touchBarKeys] : expected) {
        const KeyRows full = rows(layout);
        int count = 0;
        for (const KeyRow& row : full)
            count += int(row.size());
        EXPECT_EQ(count, keys) << title(layout).toStdString();
        EXPECT_EQ(keyCodes(full).size(), keys) << "codes must be distinct";
        EXPECT_EQ(keyCodes(withoutFunctionKeys(full)).size(), touchBarKeys);
    }
}

class KeyboardInspectionPage : public testing::Test {
protected:
    KeyboardInspectionPage() { page.setResults(results); }

    // Presses and releases a key the way the keyboard reports it.
    void tap(quint16 code) {
        if (const std::optional<quint64> flag = modifierKeyFlag(code)) {
            page.receive(keyEvent(kFlagsChangedEvent, code, *flag));
            if (code != kCapsLockKey)
                page.receive(keyEvent(kFlagsChangedEvent, code, 0));
            return;
        }
        page.receive(keyEvent(kKeyDownEvent, code));
        page.receive(keyEvent(kKeyUpEvent, code));
    }
    QList<quint16> layoutCodes() const {
        QList<quint16> codes;
        for (const KeyRow& row : page.keyboardCanvas()->rows()) {
            for (const InspectionKey& key : row)
                codes.append(key.code);
        }
        return codes;
    }
    const KeyProgress& progress() const { return page.keyboardCanvas()->progress(); }
    InspectionResult item() const { return (*results)[InspectionItem::keyboard]; }
    QString status() const { return page.statusLabel()->text(); }

    std::shared_ptr<InspectionResults> results = std::make_shared<InspectionResults>();
    KeyboardInspection page;
};

// The colours tell the operator which keys are still to press.
TEST_F(KeyboardInspectionPage, SeenKeysShowGreenAndHeldKeysBlue) {
    tap(layoutCodes().front());
    page.receive(keyEvent(kFlagsChangedEvent, 56, 0x2));
    const QImage image = page.keyboardCanvas()->grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 25), QColor(52, 199, 89)) << "esc, seen";
    EXPECT_EQ(image.pixelColor(10, 4 * 58 + 25), QColor(0, 122, 255)) << "left shift, held";
}

TEST_F(KeyboardInspectionPage, EveryKeyOfTheLayoutPassesTheItem) {
    QList<quint16> codes = layoutCodes();
    const quint16 last = codes.takeLast();
    for (quint16 code : codes)
        tap(code);
    EXPECT_EQ(item(), (InspectionResult{InspectionState::running, "已识别 76 / 77 个可检测按键", false, false}));
    EXPECT_TRUE(status().startsWith(QStringLiteral("已识别 76 / 77 键　　最近：")));
    EXPECT_FALSE(status().endsWith(kAllSeenLine));

    tap(last);
    EXPECT_EQ(item(), (InspectionResult{InspectionState::passed, "已识别 77 / 77 个可检测按键", true, false}));
    EXPECT_EQ(status(), QStringLiteral("已识别 77 / 77 键　　最近：→ · 键码 124 · 松开") + kAllSeenLine);
    EXPECT_EQ(progress().held, QSet<quint16>{kCapsLockKey}) << "the lock stays on";
    page.setEnabled(true);
    page.stop();
    EXPECT_FALSE(page.enabled());
    EXPECT_TRUE(progress().held.isEmpty());
}

TEST_F(KeyboardInspectionPage, MediaKeysMarkTheFunctionKeysTheyShare) {
    const std::pair<int, quint16> keys[] = {{3, 122},  {2, 120},  {18, 98}, {20, 98}, {16, 100},
                                            {17, 101}, {19, 101}, {7, 109}, {1, 103}, {0, 111}};
    for (const auto& [keyType, code] : keys) {
        EXPECT_TRUE(page.receive(mediaEvent(keyType, true)));
        EXPECT_TRUE(progress().held.contains(code)) << code;
        EXPECT_TRUE(page.receive(mediaEvent(keyType, true))) << "a repeat keeps the key down";
        EXPECT_TRUE(page.receive(mediaEvent(keyType, false)));
        EXPECT_TRUE(progress().seen.contains(code));
        EXPECT_FALSE(progress().held.contains(code));
    }
    EXPECT_TRUE(page.keyboardCanvas()->latest().endsWith(QStringLiteral("F12（功能键） · 键码 111 · 松开")));
    EXPECT_EQ(item().detail, QStringLiteral("已识别 8 / 77 个可检测按键"));
}

TEST_F(KeyboardInspectionPage, ModifiersAndCapsLockFollowTheirOwnBits) {
    page.receive(keyEvent(kFlagsChangedEvent, 56, 0x2));
    page.receive(keyEvent(kFlagsChangedEvent, 60, 0x2 | 0x4));
    page.receive(keyEvent(kFlagsChangedEvent, 56, 0x4));
    EXPECT_EQ(progress().held, QSet<quint16>{60});
    EXPECT_TRUE(page.keyboardCanvas()->latest().endsWith(QStringLiteral("shift · 键码 56 · 松开")));

    page.receive(keyEvent(kFlagsChangedEvent, kCapsLockKey, kCapsLockFlag));
    EXPECT_TRUE(progress().held.contains(kCapsLockKey));
    page.clearHeldKeys();
    page.receive(keyEvent(kFlagsChangedEvent, kCapsLockKey, 0));
    EXPECT_TRUE(progress().seen.contains(kCapsLockKey)) << "turning the lock off counts as seen";
    EXPECT_FALSE(progress().held.contains(kCapsLockKey));
}

TEST_F(KeyboardInspectionPage, EventsThatAreNotKeysPassThrough) {
    KeyboardEvent otherSystemEvent = mediaEvent(1, true);
    otherSystemEvent.subtype = 0;
    KeyboardEvent otherState = mediaEvent(1, true);
    otherState.data1 = (1 << 16) | 0x0C00;
    // Keyboard illumination (21) has no key on the layouts.
    for (const KeyboardEvent& event : {otherSystemEvent, otherState, mediaEvent(21, true), mediaEvent(22, true),
                                       keyEvent(13, 0), keyEvent(kFlagsChangedEvent, 0 /* A is no modifier */, 0x2)})
        EXPECT_FALSE(page.receive(event)) << event.type;
    EXPECT_TRUE(progress().seen.isEmpty());
    EXPECT_EQ(item().state, InspectionState::pending);

    EXPECT_TRUE(page.receive(keyEvent(kKeyDownEvent, 117)));
    EXPECT_EQ(page.keyboardCanvas()->latest(), QStringLiteral("最近：额外按键 · 键码 117 · 按下"));
    EXPECT_EQ(item().detail, QStringLiteral("已识别 0 / 77 个可检测按键"));
}

TEST_F(KeyboardInspectionPage, ChangingTheLayoutStartsOver) {
    tap(0);
    tap(1);
    ASSERT_EQ(item().state, InspectionState::running);
    page.layoutPopUp()->setCurrentIndex(int(KeyboardLayout::jis));
    EXPECT_EQ(item(), InspectionResults()[InspectionItem::keyboard]) << "pending with its instruction";
    EXPECT_TRUE(progress().seen.isEmpty());
    EXPECT_EQ(status(), QStringLiteral("已识别 0 / 80 键　　请按下被测机的实体键盘。"));
}

} // namespace

#pragma once

#include "inspection/input/inspection_key.h"

#include <QSet>
#include <QString>

#include <array>
#include <optional>

namespace tagsmith::inspection::input {

enum class KeyboardLayout { ansi = 0, iso = 1, jis = 2 };

inline constexpr std::array kAllKeyboardLayouts = {KeyboardLayout::ansi, KeyboardLayout::iso, KeyboardLayout::jis};

QString title(KeyboardLayout layout);
KeyRows rows(KeyboardLayout layout);

// Touch Bar machines have no function-key row: only esc stays in the top row.
KeyRows withoutFunctionKeys(KeyRows rows);

QSet<quint16> keyCodes(const KeyRows& rows);
// The label of the first key with this code, row by row, left to right.
std::optional<QString> keyLabel(const KeyRows& rows, quint16 code);

} // namespace tagsmith::inspection::input

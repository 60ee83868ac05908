#include "inspection/input/keyboard_layout.h"

#include <algorithm>
#include <iterator>

namespace tagsmith::inspection::input {

namespace {

constexpr quint16 kEscape = 53;

KeyRows ansiRows() {
    const KeyRow functionRow = {{53, "esc"},  {122, "F1"},  {120, "F2"}, {99, "F3"},  {118, "F4"},
                                {96, "F5"},   {97, "F6"},   {98, "F7"},  {100, "F8"}, {101, "F9"},
                                {109, "F10"}, {103, "F11"}, {111, "F12"}};
    const KeyRow numberRow = {{50, "` ~"}, {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {23, "5"}, {22, "6"},
                              {26, "7"},   {28, "8"}, {25, "9"}, {29, "0"}, {27, "-"}, {24, "="}, {51, "delete", 1.6}};
    const KeyRow topRow = {{48, "tab", 1.4}, {12, "Q"}, {13, "W"}, {14, "E"}, {15, "R"}, {17, "T"}, {16, "Y"},
                           {32, "U"},        {34, "I"}, {31, "O"}, {35, "P"}, {33, "["}, {30, "]"}, {42, "\\", 1.2}};
    const KeyRow homeRow = {{57, "caps lock", 1.8},
                            {0, "A"},
                            {1, "S"},
                            {2, "D"},
                            {3, "F"},
                            {5, "G"},
                            {4, "H"},
                            {38, "J"},
                            {40, "K"},
                            {37, "L"},
                            {41, ";"},
                            {39, "'"},
                            {36, "return", 1.8}};
    const KeyRow bottomRow = {{56, "shift", 2.3}, {6, "Z"},  {7, "X"},  {8, "C"},  {9, "V"},  {11, "B"},
                              {45, "N"},          {46, "M"}, {43, ","}, {47, "."}, {44, "/"}, {60, "shift", 2.3}};
    const KeyRow spaceRow = {{63, "fn / 🌐"},     {59, "control", 1.2}, {58, "option", 1.2}, {55, "⌘", 1.2},
                             {49, "space", 4.6}, {54, "⌘", 1.2},       {61, "option", 1.2}, {123, "←"},
                             {126, "↑"},         {125, "↓"},           {124, "→"}};
    return {functionRow, numberRow, topRow, homeRow, bottomRow, spaceRow};
}

qsizetype indexOfCode(const KeyRow& row, quint16 code) {
    const auto found =
        std::find_if(row.begin(), row.end(), [code](const InspectionKey& key) { return key.code == code; });
    return found - row.begin();
}

KeyRows isoRows() {
    KeyRows keys = ansiRows();
    keys[4][0].width = 1.3;
    keys[4].insert(1, {10, "§ / <"});
    return keys;
}

KeyRows jisRows() {
    KeyRows keys = ansiRows();
    keys[1].removeAt(indexOfCode(keys[1], 50));
    keys[1].insert(indexOfCode(keys[1], 51), {93, "¥"});
    keys[4].insert(indexOfCode(keys[4], 60), {94, "_ ろ"});
    const qsizetype space = indexOfCode(keys[5], 49);
    keys[5][space].width = 2.6;
    keys[5].insert(space + 1, {104, "かな"});
    keys[5].insert(space, {102, "英数"});
    return keys;
}

} // namespace

QString title(KeyboardLayout layout) {
    switch (layout) {
    case KeyboardLayout::iso:
        return QStringLiteral("欧式 ISO");
    case KeyboardLayout::jis:
        return QStringLiteral("日式 JIS");
    case KeyboardLayout::ansi:
        break;
    }
    return QStringLiteral("美式 / 中文 ANSI");
}

KeyRows rows(KeyboardLayout layout) {
    switch (layout) {
    case KeyboardLayout::iso:
        return isoRows();
    case KeyboardLayout::jis:
        return jisRows();
    case KeyboardLayout::ansi:
        break;
    }
    return ansiRows();
}

KeyRows withoutFunctionKeys(KeyRows rows) {
    if (rows.isEmpty())
        return rows;
    KeyRow kept;
    std::copy_if(rows[0].cbegin(), rows[0].cend(), std::back_inserter(kept),
                 [](const InspectionKey& key) { return key.code == kEscape; });
    rows[0] = kept;
    return rows;
}

QSet<quint16> keyCodes(const KeyRows& rows) {
    QSet<quint16> codes;
    for (const KeyRow& row : rows) {
        for (const InspectionKey& key : row)
            codes.insert(key.code);
    }
    return codes;
}

std::optional<QString> keyLabel(const KeyRows& rows, quint16 code) {
    for (const KeyRow& row : rows) {
        for (const InspectionKey& key : row) {
            if (key.code == code)
                return key.label;
        }
    }
    return std::nullopt;
}

} // namespace tagsmith::inspection::input

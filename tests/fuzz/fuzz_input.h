#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz entry points: turning libFuzzer's input into the values a
// parser takes, and stopping on a broken property so the run counts it as a finding.
namespace tagsmith::fuzz {

// A copy, as real input arrives in a QByteArray of its own.
inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Inputs made of several texts separate them with NUL bytes, which none of the
// texts (tool outputs, JSON) contain; missing parts are empty.
inline QByteArray part(const QList<QByteArray>& parts, qsizetype index) {
    return index < parts.size() ? parts[index] : QByteArray();
}

// The first bytes of the input as an unsigned number, big-endian; consumed.
inline std::uint32_t takeNumber(QByteArray& input, int bytes) {
    std::uint32_t number = 0;
    for (int i = 0; i < bytes && i < input.size(); ++i)
        number = (number << 8) | std::uint8_t(input[i]);
    input.remove(0, bytes);
    return number;
}

[[noreturn]] inline void fail(const char* property) {
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

inline void require(bool holds, const char* property) {
    if (!holds)
        fail(property);
}

} // namespace tagsmith::fuzz

#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace tagsmith::base {

// Owner of a libplist tree. Property lists (Info.plist, diskutil output) are
// always read through libplist, XML and binary forms alike.
class PropertyList {
public:
    // Absent when the bytes are not a property list.
    static std::optional<PropertyList> parse(const QByteArray& bytes);

    using Node = void*; // a libplist node inside this tree; never outlives it
    Node root() const { return m_root.get(); }

    static Node member(Node dictionary, const char* key);
    static std::optional<QString> string(Node node);
    static std::optional<std::uint64_t> unsignedInteger(Node node);
    static std::optional<double> number(Node node); // an integer or a real
    static std::optional<bool> boolean(Node node);
    static std::uint32_t arraySize(Node array); // 0 for anything that is not an array
    static Node element(Node array, std::uint32_t index);

private:
    struct Free {
        void operator()(void* node) const;
    };
    explicit PropertyList(void* root) : m_root(root) {}
    std::unique_ptr<void, Free> m_root;
};

} // namespace tagsmith::base

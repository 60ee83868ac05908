#include "base/property_list.h"

#include <plist/plist.h>

#include <limits>

namespace tagsmith::base {

void PropertyList::Free::operator()(void* node) const {
    plist_free(static_cast<plist_t>(node));
}

std::optional<PropertyList> PropertyList::parse(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), static_cast<std::uint32_t>(bytes.size()), &root);
    if (root == nullptr)
        return std::nullopt;
    return PropertyList(root);
}

PropertyList::Node PropertyList::member(Node dictionary, const char* key) {
    if (dictionary == nullptr || plist_get_node_type(dictionary) != PLIST_DICT)
        return nullptr;
    return plist_dict_get_item(dictionary, key);
}

std::optional<QString> PropertyList::string(Node node) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_STRING)
        return std::nullopt;
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    return QString::fromUtf8(text, static_cast<qsizetype>(length));
}

std::optional<std::uint64_t> PropertyList::unsignedInteger(Node node) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_UINT)
        return std::nullopt;
    uint64_t value = 0;
    plist_get_uint_val(node, &value);
    return value;
}

std::optional<double> PropertyList::number(Node node) {
    if (node != nullptr && plist_get_node_type(node) == PLIST_REAL) {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    const std::optional<std::uint64_t> integer = unsignedInteger(node);
    return integer ? std::optional<double>(static_cast<double>(*integer)) : std::nullopt;
}

std::optional<bool> PropertyList::boolean(Node node) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_BOOLEAN)
        return std::nullopt;
    uint8_t value = 0;
    plist_get_bool_val(node, &value);
    return value != 0;
}

std::uint32_t PropertyList::arraySize(Node array) {
    if (array == nullptr || plist_get_node_type(array) != PLIST_ARRAY)
        return 0;
    return plist_array_get_size(array);
}

PropertyList::Node PropertyList::element(Node array, std::uint32_t index) {
    if (index >= arraySize(array))
        return nullptr;
    return plist_array_get_item(array, index);
}

} // namespace tagsmith::base

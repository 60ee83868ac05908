#include "collect/hardware_source.h"

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOKitLib.h>
#include <sys/sysctl.h>

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <vector>

namespace tagsmith::platform {

namespace {

constexpr size_t kMaxBrandLength = 1023; // terminator included

QVariant variantOf(CFTypeRef value);

QVariantMap mapOf(CFDictionaryRef dictionary) {
    QVariantMap map;
    CFDictionaryApplyFunction(
        dictionary,
        [](const void* key, const void* value, void* context) {
            if (CFGetTypeID(key) == CFStringGetTypeID())
                static_cast<QVariantMap*>(context)->insert(QString::fromCFString(static_cast<CFStringRef>(key)),
                                                           variantOf(value));
        },
        &map);
    return map;
}

QVariantList listOf(CFArrayRef array) {
    QVariantList list;
    for (CFIndex index = 0; index < CFArrayGetCount(array); ++index)
        list.append(variantOf(CFArrayGetValueAtIndex(array, index)));
    return list;
}

QVariant numberOf(CFNumberRef number) {
    if (CFNumberIsFloatType(number)) {
        double real = 0;
        CFNumberGetValue(number, kCFNumberDoubleType, &real);
        return real;
    }
    std::int64_t integer = 0;
    CFNumberGetValue(number, kCFNumberSInt64Type, &integer);
    return static_cast<qint64>(integer);
}

// The registry's property-list values as Qt values; booleans stay booleans,
// so "BatteryInstalled" can be told apart from a number.
QVariant variantOf(CFTypeRef value) {
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFBooleanGetTypeID())
        return CFBooleanGetValue(static_cast<CFBooleanRef>(value)) != 0;
    if (type == CFNumberGetTypeID())
        return numberOf(static_cast<CFNumberRef>(value));
    if (type == CFStringGetTypeID())
        return QString::fromCFString(static_cast<CFStringRef>(value));
    if (type == CFDataGetTypeID())
        return QByteArray::fromCFData(static_cast<CFDataRef>(value));
    if (type == CFDateGetTypeID())
        return QDateTime::fromCFDate(static_cast<CFDateRef>(value));
    if (type == CFArrayGetTypeID())
        return listOf(static_cast<CFArrayRef>(value));
    if (type == CFDictionaryGetTypeID())
        return mapOf(static_cast<CFDictionaryRef>(value));
    return {};
}

std::optional<qint64> physicalCores() {
    std::int32_t count = 0;
    size_t size = sizeof count;
    if (sysctlbyname("hw.physicalcpu", &count, &size, nullptr, 0) != 0 || count < 1)
        return std::nullopt;
    return count;
}

std::optional<QString> processorBrand() {
    size_t length = 0;
    if (sysctlbyname("machdep.cpu.brand_string", nullptr, &length, nullptr, 0) != 0 || length < 1 ||
        length > kMaxBrandLength)
        return std::nullopt;
    std::vector<char> buffer(length, '\0');
    if (sysctlbyname("machdep.cpu.brand_string", buffer.data(), &length, nullptr, 0) != 0)
        return std::nullopt;
    buffer.back() = '\0';
    return QString::fromUtf8(buffer.data());
}

mach_port_t mainPort() {
    if (__builtin_available(macOS 12.0, *))
        return kIOMainPortDefault;
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    return kIOMasterPortDefault;
#pragma clang diagnostic pop
}

QVariantMap batteryProperties() {
    // IOServiceGetMatchingService consumes the matching dictionary.
    const io_service_t service = IOServiceGetMatchingService(mainPort(), IOServiceMatching("AppleSmartBattery"));
    if (service == IO_OBJECT_NULL)
        return {};
    CFMutableDictionaryRef properties = nullptr;
    const kern_return_t copied = IORegistryEntryCreateCFProperties(service, &properties, kCFAllocatorDefault, 0);
    IOObjectRelease(service);
    if (copied != KERN_SUCCESS || properties == nullptr)
        return {};
    QVariantMap battery = mapOf(properties);
    CFRelease(properties);
    return battery;
}

class MacHardwareSource final : public collect::HardwareSource {
public:
    collect::HardwareSnapshot snapshot() const override {
        return {physicalCores(), processorBrand(), batteryProperties()};
    }
};

} // namespace

} // namespace tagsmith::platform

namespace tagsmith::collect {

std::unique_ptr<HardwareSource> systemHardwareSource() {
    return std::make_unique<platform::MacHardwareSource>();
}

} // namespace tagsmith::collect

#include "cable/cable_network.h"

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOKitLib.h>

#include <Availability.h>

#include <optional>

namespace tagsmith::cable {

namespace {

// The driver object sits directly above the interface; the USB host device a
// few levels further up.
constexpr int kSerialSearchDepth = 5;

#if defined(__MAC_12_0) && __MAC_OS_X_VERSION_MIN_REQUIRED >= __MAC_12_0
const mach_port_t kRegistryPort = kIOMainPortDefault;
#else
const mach_port_t kRegistryPort = kIOMasterPortDefault;
#endif

QString stringProperty(io_registry_entry_t entry, const char* key) {
    CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingUTF8);
    CFTypeRef value = IORegistryEntryCreateCFProperty(entry, name, kCFAllocatorDefault, 0);
    CFRelease(name);
    QString text;
    if (value != nullptr && CFGetTypeID(value) == CFStringGetTypeID()) {
        char buffer[256];
        if (CFStringGetCString(static_cast<CFStringRef>(value), buffer, sizeof buffer, kCFStringEncodingUTF8))
            text = QString::fromUtf8(buffer);
    }
    if (value != nullptr)
        CFRelease(value);
    return text;
}

io_registry_entry_t parentOf(io_registry_entry_t entry) {
    io_registry_entry_t parent = IO_OBJECT_NULL;
    if (IORegistryEntryGetParentEntry(entry, kIOServicePlane, &parent) != KERN_SUCCESS)
        return IO_OBJECT_NULL;
    return parent;
}

// Tests the driver itself, then up to five ancestors, for the USB host device.
QString hostDeviceSerial(io_registry_entry_t driver) {
    io_registry_entry_t current = driver;
    IOObjectRetain(current);
    QString serial;
    for (int level = 0; level <= kSerialSearchDepth && current != IO_OBJECT_NULL; ++level) {
        if (IOObjectConformsTo(current, "IOUSBHostDevice")) {
            serial = stringProperty(current, "USB Serial Number");
            break;
        }
        const io_registry_entry_t parent = parentOf(current);
        IOObjectRelease(current);
        current = parent;
    }
    if (current != IO_OBJECT_NULL)
        IOObjectRelease(current);
    return serial;
}

std::optional<CableNetwork::USBInterface> describe(io_service_t service) {
    const QString name = stringProperty(service, "BSD Name");
    if (name.isEmpty())
        return std::nullopt;
    CableNetwork::USBInterface interface { name, QString(), QString() };
    const io_registry_entry_t driver = parentOf(service);
    if (driver == IO_OBJECT_NULL)
        return interface;
    interface.driver = stringProperty(driver, "IOClass");
    if (interface.driver == CableNetwork::kHostSideNCM)
        interface.serial = hostDeviceSerial(driver);
    IOObjectRelease(driver);
    return interface;
}

} // namespace

QList<CableNetwork::USBInterface> CableNetwork::usbInterfaces() {
    QList<USBInterface> interfaces;
    io_iterator_t iterator = IO_OBJECT_NULL;
    // IOServiceGetMatchingServices consumes the matching dictionary.
    if (IOServiceGetMatchingServices(kRegistryPort, IOServiceMatching("IOEthernetInterface"), &iterator) !=
        KERN_SUCCESS)
        return interfaces;
    for (io_service_t service = IOIteratorNext(iterator); service != IO_OBJECT_NULL;
         service = IOIteratorNext(iterator)) {
        if (const auto interface = describe(service))
            interfaces.append(*interface);
        IOObjectRelease(service);
    }
    IOObjectRelease(iterator);
    return interfaces;
}

} // namespace tagsmith::cable

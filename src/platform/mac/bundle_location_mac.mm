#include "base/bundle.h"

#include <CoreFoundation/CoreFoundation.h>

#include <QString>

namespace tagsmith::base {

QString mainBundleLocation() {
    CFBundleRef bundle = CFBundleGetMainBundle();
    if (bundle == nullptr)
        return {};
    CFURLRef url = CFBundleCopyBundleURL(bundle);
    if (url == nullptr)
        return {};
    char path[4096];
    const bool converted = CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path), sizeof path);
    CFRelease(url);
    if (!converted)
        return {};
    // CoreFoundation also answers for a bare executable; only a real .app counts as a bundle.
    return Bundle::pathForExecutable(QString::fromUtf8(path) + QStringLiteral("/Contents/MacOS/VOREvo"));
}

} // namespace tagsmith::base

#include "base/bundle.h"

#include "base/property_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tagsmith::base {

namespace {

constexpr qint64 kMaxInfoPlistBytes = 1 << 20;

QByteArray readInfoPlist(const QString& bundlePath) {
    QFile file(bundlePath + QStringLiteral("/Contents/Info.plist"));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxInfoPlistBytes)
        return {};
    return file.readAll();
}

} // namespace

QString Bundle::resourcesPath() const {
    return isEmpty() ? QString() : path + QStringLiteral("/Contents/Resources");
}

QString Bundle::resourcePath(const QString& name) const {
    return isEmpty() ? QString() : resourcesPath() + QLatin1Char('/') + name;
}

Bundle Bundle::at(const QString& bundlePath) {
    Bundle bundle;
    bundle.path = bundlePath;
    if (const auto info = PropertyList::parse(readInfoPlist(bundlePath))) {
        bundle.identifier =
            PropertyList::string(PropertyList::member(info->root(), "CFBundleIdentifier")).value_or(QString());
        bundle.shortVersion =
            PropertyList::string(PropertyList::member(info->root(), "CFBundleShortVersionString")).value_or(QString());
    }
    return bundle;
}

const Bundle& Bundle::main() {
    static const Bundle bundle = [] {
        const QString location = mainBundleLocation();
        return location.isEmpty() ? Bundle{} : Bundle::at(location);
    }();
    return bundle;
}

QString Bundle::pathForExecutable(const QString& executablePath) {
    const QStringList parts = QDir::cleanPath(QFileInfo(executablePath).absoluteFilePath()).split(QLatin1Char('/'));
    const qsizetype n = parts.size();
    if (n < 4 || parts.at(n - 2) != QLatin1String("MacOS") || parts.at(n - 3) != QLatin1String("Contents") ||
        !parts.at(n - 4).endsWith(QLatin1String(".app")))
        return {};
    return parts.first(n - 3).join(QLatin1Char('/'));
}

} // namespace tagsmith::base

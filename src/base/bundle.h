#pragma once

#include <QString>

namespace tagsmith::base {

// An application bundle laid out as on macOS: X.app/Contents/{Info.plist,MacOS,Resources}.
struct Bundle {
    QString path;         // the X.app folder; empty when the program runs outside a bundle
    QString identifier;   // CFBundleIdentifier; empty when there is none
    QString shortVersion; // CFBundleShortVersionString; empty when there is none

    bool isEmpty() const { return path.isEmpty(); }
    QString resourcesPath() const;                   // empty without a bundle
    QString resourcePath(const QString& name) const; // a file inside Resources; empty without a bundle

    static Bundle at(const QString& bundlePath);
    // The bundle the running executable belongs to, looked up once.
    static const Bundle& main();
    // X.app for an executable at X.app/Contents/MacOS/<exe>, else empty.
    static QString pathForExecutable(const QString& executablePath);
};

// The running executable's bundle folder, or empty; one definition per platform.
QString mainBundleLocation();

} // namespace tagsmith::base

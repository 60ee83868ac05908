#include "cli/help.h"

#include "base/bundle.h"

#include <cstdio>

namespace tagsmith::cli {

QString usage(const QList<Verb>& verbs) {
    if (verbs.size() == 1)
        return QStringLiteral("用法：tagsmith ") + verbs.constFirst().synopsis + u'\n';
    QString text = QStringLiteral("用法：\n");
    for (const Verb& verb : verbs)
        text += QStringLiteral("  tagsmith ") + verb.synopsis + u'\n';
    return text;
}

QList<Verb> verbsNamed(const QList<Verb>& verbs, const QStringList& words) {
    QList<Verb> group;
    for (const Verb& verb : verbs) {
        if (words.mid(0, verb.name.size()) == verb.name)
            return {verb};
        if (!words.isEmpty() && verb.name.constFirst() == words.constFirst())
            group.append(verb);
    }
    return group;
}

int usageError(const QString& reason, const QList<Verb>& verbs) {
    std::fprintf(stderr, "%s\n%s", qUtf8Printable(reason), qUtf8Printable(usage(verbs)));
    return kUsage;
}

int usageError(const QString& reason, const QString& synopsis) {
    std::fprintf(stderr, "%s\n用法：tagsmith %s\n", qUtf8Printable(reason), qUtf8Printable(synopsis));
    return kUsage;
}

QString versionText() {
    const QString version = base::Bundle::main().shortVersion;
    return QStringLiteral("tagsmith ") + (version.isEmpty() ? QStringLiteral("（版本未知：不在程序包内）") : version);
}

} // namespace tagsmith::cli

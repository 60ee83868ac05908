#include "cli/verb.h"

#include <QGuiApplication>

#include <cstdio>

using namespace tagsmith::cli;

namespace {

QString usage(const QList<Verb>& verbs) {
    QString text = QStringLiteral("用法：\n");
    for (const Verb& verb : verbs)
        text += QStringLiteral("  tagsmith ") + verb.synopsis + QLatin1Char('\n');
    return text;
}

int usageError(const QList<Verb>& verbs, const QString& reason) {
    if (!reason.isEmpty())
        std::fprintf(stderr, "%s\n", reason.toUtf8().constData());
    std::fputs(usage(verbs).toUtf8().constData(), stderr);
    return kUsage;
}

const Verb* findVerb(const QList<Verb>& verbs, const QStringList& words) {
    for (const Verb& verb : verbs) {
        if (words.mid(0, verb.name.size()) == verb.name)
            return &verb;
    }
    return nullptr;
}

int runVerb(const QList<Verb>& verbs, const Verb& verb, const QStringList& words) {
    QString error;
    const auto line = CommandLine::parse(words, verb.options, &error);
    if (!line)
        return usageError(verbs, error);
    const auto count = line->positional.size();
    if (count < verb.positionalMin || (verb.positionalMax >= 0 && count > verb.positionalMax))
        return usageError(verbs, QStringLiteral("参数个数不对：tagsmith ") + verb.synopsis);
    return verb.run(*line);
}

} // namespace

int main(int argc, char** argv) {
    // Labels need fonts, hence a GUI application, but this tool never shows a
    // window: it draws offscreen so it runs over SSH and in scripts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QList<Verb> verbs = allVerbs();
    const QStringList words = application.arguments().mid(1);
    const Verb* verb = findVerb(verbs, words);
    if (verb == nullptr)
        return usageError(verbs, words.isEmpty() ? QString() : QStringLiteral("未知命令：") + words.join(u' '));
    return runVerb(verbs, *verb, words.mid(verb->name.size()));
}

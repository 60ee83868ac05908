#include "base/library_messages.h"
#include "cli/help.h"
#include "cli/resources.h"
#include "cli/verb.h"
#include "report/a_rules.h"

#include <QGuiApplication>

#include <cstdio>

using namespace tagsmith::cli;

namespace {

bool isHelp(const QString& word) {
    return word == kHelpOption || word == QLatin1String("-h");
}

// A mistake outside any verb gets one line and the way to the list, not the whole list.
int usageHint(const QString& reason) {
    std::fprintf(stderr, "%s\n运行 tagsmith --help 查看全部命令。\n", qUtf8Printable(reason));
    return kUsage;
}

int unknownWord(const QStringList& words) {
    const QString word = words.join(u' ');
    return usageHint((word.startsWith(u'-') ? QStringLiteral("未知选项：") : QStringLiteral("未知命令：")) + word);
}

int printHelp(const QList<Verb>& verbs, const QStringList& words) {
    const QList<Verb> named = words.isEmpty() ? verbs : verbsNamed(verbs, words);
    if (named.isEmpty())
        return unknownWord(words);
    std::fputs(qUtf8Printable(usage(named)), stdout);
    return kSuccess;
}

int unknownCommand(const QList<Verb>& verbs, const QStringList& words) {
    const QList<Verb> group = verbsNamed(verbs, words);
    if (!group.isEmpty())
        return usageError(QStringLiteral("缺少子命令：tagsmith ") + words.constFirst(), group);
    return unknownWord(words);
}

int printVersion(const QStringList& words) {
    if (words.size() > 1)
        return usageHint(QStringLiteral("--version 不带参数"));
    printLine(versionText());
    return kSuccess;
}

// Every verb that takes --resources reads reports, so it needs the A-number rules.
bool haveNeededResources(const Verb& verb, const CommandLine& line) {
    return !verb.options.valued.contains(kResourcesOption) ||
           resourcesPresent(line, {tagsmith::report::kARulesFileName});
}

int runVerb(const Verb& verb, const QStringList& words) {
    QString error;
    const auto line = CommandLine::parse(words, verb.options, &error);
    if (!line)
        return usageError(error, {verb});
    if (line->has(kHelpOption))
        return printHelp({verb}, {});
    const auto count = line->positional.size();
    if (count < verb.positionalMin || (verb.positionalMax >= 0 && count > verb.positionalMax))
        return usageError(QStringLiteral("参数个数不对"), {verb});
    if (!haveNeededResources(verb, *line))
        return kUsage;
    return verb.run(*line);
}

int dispatch(const QList<Verb>& verbs, const QStringList& words) {
    if (words.isEmpty())
        return usageError(QStringLiteral("缺少命令"), verbs);
    if (isHelp(words.constFirst()) || words.constFirst() == QLatin1String("help"))
        return printHelp(verbs, words.mid(1));
    if (words.constFirst() == QLatin1String("--version"))
        return printVersion(words);
    const QList<Verb> named = verbsNamed(verbs, words);
    const bool exact = named.size() == 1 && words.mid(0, named.constFirst().name.size()) == named.constFirst().name;
    if (exact)
        return runVerb(named.constFirst(), words.mid(named.constFirst().name.size()));
    if (!named.isEmpty() && words.size() == 2 && isHelp(words.constLast()))
        return printHelp(named, {});
    return unknownCommand(verbs, words);
}

} // namespace

int main(int argc, char** argv) {
    tagsmith::base::silenceLibraryMessages();
    // Labels need fonts, hence a GUI application, but this tool never shows a
    // window: it draws offscreen so it runs over SSH and in scripts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return dispatch(allVerbs(), application.arguments().mid(1));
}

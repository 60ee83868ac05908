#include "cli/command_line.h"

#include <QCommandLineParser>

namespace tagsmith::cli {

namespace {

QString bare(const QString& option) {
    return option.mid(2);
}

QString dashed(const QString& name) {
    return QStringLiteral("--") + name;
}

void addOptions(QCommandLineParser& parser, const OptionSpec& accepted) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), bare(kHelpOption)}));
    for (const QString& flag : accepted.flags)
        parser.addOption(QCommandLineOption(bare(flag)));
    for (const QString& option : accepted.valued + accepted.repeatable)
        parser.addOption(QCommandLineOption(bare(option), QString(), QStringLiteral("value")));
}

// The parser's own messages are English; the word at fault is found again here.
QString parseFailure(const QCommandLineParser& parser, const QStringList& words, const OptionSpec& accepted) {
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("未知选项 %1").arg(dashed(parser.unknownOptionNames().constFirst()));
    for (const QString& word : words) {
        const QString name = word.section(u'=', 0, 0);
        if (word.contains(u'=') && accepted.flags.contains(name))
            return QStringLiteral("选项 %1 不带取值").arg(name);
    }
    return QStringLiteral("选项 %1 缺少取值").arg(words.isEmpty() ? QString() : words.constLast());
}

} // namespace

QStringList CommandLine::values(const QString& name) const {
    if (repeated.contains(name))
        return repeated.value(name);
    return options.contains(name) ? QStringList{options.value(name)} : QStringList{};
}

std::optional<CommandLine> CommandLine::parse(const QStringList& words, const OptionSpec& accepted, QString* error) {
    QCommandLineParser parser;
    addOptions(parser, accepted);
    if (!parser.parse(QStringList{QString()} + words)) {
        *error = parseFailure(parser, words, accepted);
        return std::nullopt;
    }
    CommandLine line;
    line.positional = parser.positionalArguments();
    for (const QString& flag : accepted.flags + QSet<QString>{kHelpOption}) {
        if (parser.isSet(bare(flag)))
            line.flags.insert(flag);
    }
    for (const QString& option : accepted.valued + accepted.repeatable) {
        const QStringList values = parser.values(bare(option));
        if (values.size() > 1 && !accepted.repeatable.contains(option)) {
            *error = QStringLiteral("选项 %1 重复出现").arg(option);
            return std::nullopt;
        }
        if (!values.isEmpty())
            line.options.insert(option, values.constLast());
        if (accepted.repeatable.contains(option))
            line.repeated.insert(option, values);
    }
    return line;
}

} // namespace tagsmith::cli

#include "cli/command_line.h"

namespace tagsmith::cli {

std::optional<CommandLine> CommandLine::parse(const QStringList& words, const OptionSpec& accepted, QString* error) {
    CommandLine line;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (!word.startsWith(QLatin1String("--")) || word == QLatin1String("--")) {
            line.positional.append(word);
        } else if (accepted.repeatable.contains(word) && i + 1 < words.size()) {
            line.repeated[word].append(words.at(++i));
        } else if (line.has(word)) {
            *error = QStringLiteral("选项 %1 重复出现").arg(word);
            return std::nullopt;
        } else if (accepted.flags.contains(word)) {
            line.flags.insert(word);
        } else if (!accepted.valued.contains(word) && !accepted.repeatable.contains(word)) {
            *error = QStringLiteral("未知选项 %1").arg(word);
            return std::nullopt;
        } else if (i + 1 >= words.size()) {
            *error = QStringLiteral("选项 %1 缺少取值").arg(word);
            return std::nullopt;
        } else {
            line.options.insert(word, words.at(++i));
        }
    }
    return line;
}

} // namespace tagsmith::cli

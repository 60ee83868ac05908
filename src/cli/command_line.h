#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace tagsmith::cli {

// What a verb accepts after its name: options that take a value and bare flags.
struct OptionSpec {
    QSet<QString> valued;          // e.g. "--port"
    QSet<QString> flags;           // e.g. "--once"
    QSet<QString> repeatable = {}; // take a value and may be given again, e.g. "--cable-interface"
};

// The words after the verb, split into positional arguments, option values and
// flags. Options may come in any order after the verb.
struct CommandLine {
    QStringList positional;
    QMap<QString, QString> options;
    QSet<QString> flags;
    QMap<QString, QStringList> repeated; // the values of each repeatable option, in order

    bool has(const QString& option) const {
        return options.contains(option) || flags.contains(option) || repeated.contains(option);
    }
    QString option(const QString& name, const QString& fallback = {}) const { return options.value(name, fallback); }
    QStringList values(const QString& name) const { return repeated.value(name); }

    // Absent (with the reason in error) when an option is unknown, repeated or lacks its value.
    static std::optional<CommandLine> parse(const QStringList& words, const OptionSpec& accepted, QString* error);
};

} // namespace tagsmith::cli

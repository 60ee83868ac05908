#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace tagsmith::cli {

// What a verb accepts after its name: options that take a value and bare
// flags, each with its two dashes ("--port").
struct OptionSpec {
    QSet<QString> valued;          // e.g. "--port"
    QSet<QString> flags;           // e.g. "--once"
    QSet<QString> repeatable = {}; // options taking a value that may be given more than once
};

// The help option every verb accepts, as "--help" or "-h".
inline const QString kHelpOption = QStringLiteral("--help");

// The words after the verb, split into positional arguments, option values and
// flags. Options may come in any order after the verb, as "--opt value" or
// "--opt=value"; "-" is a positional argument (standard input where a FILE is
// taken) and "--" ends the options.
struct CommandLine {
    QStringList positional;
    QMap<QString, QString> options;      // the value of each option given, the last for a repeatable one
    QMap<QString, QStringList> repeated; // every value of each repeatable option given, in order
    QSet<QString> flags;

    bool has(const QString& option) const { return options.contains(option) || flags.contains(option); }
    QString option(const QString& name, const QString& fallback = {}) const { return options.value(name, fallback); }
    QStringList values(const QString& name) const;

    // Absent (with the reason in error) when an option is unknown, repeated or lacks its value.
    static std::optional<CommandLine> parse(const QStringList& words, const OptionSpec& accepted, QString* error);
};

} // namespace tagsmith::cli

#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/verb.h"
#include "ledger/csv_export.h"
#include "ledger/ledger.h"

#include <cstdio>

namespace tagsmith::cli {

namespace {

const QString kSynopsis = QStringLiteral("history [--data DIR] list [--since DATE] [--limit N] | find TEXT | "
                                         "export FILE.csv [--since DATE] | rebuild");
constexpr int kDefaultListLimit = 100;

struct Subcommand {
    QString name;
    int arguments; // after the subcommand's name
    QSet<QString> options;
    std::function<int(ledger::Ledger&, const CommandLine&)> run;
};

int usage(const QString& reason) {
    std::fprintf(stderr, "%s\n用法：tagsmith %s\n", reason.toUtf8().constData(), kSynopsis.toUtf8().constData());
    return kUsage;
}

QString dataFolder(const CommandLine& line) {
    return line.option(QStringLiteral("--data"), ledger::Ledger::defaultDataFolder());
}

// A day (local midnight) or a moment with its zone, as the ledger's UTC text.
std::optional<QString> since(const CommandLine& line) {
    const QString text = line.option(QStringLiteral("--since"));
    if (text.isEmpty())
        return QString();
    const QDate day = QDate::fromString(text, Qt::ISODate);
    const QDateTime moment = day.isValid() ? day.startOfDay() : QDateTime::fromString(text, Qt::ISODate);
    if (!moment.isValid())
        return std::nullopt;
    return ledger::ledgerTime(moment);
}

void printRecord(const ledger::IntakeRecord& record) {
    printLine(QStringList{record.receivedAt, record.serial, record.name, record.years, record.inches,
                          record.chip.value_or(QString()), record.memory.value_or(QString()),
                          record.disk.value_or(QString()), record.batteryHealth.value_or(QString()), record.fileName}
                  .join(u'\t'));
}

int printSelection(ledger::Ledger& ledger, const ledger::Selection& selection) {
    const Result<void> printed = ledger.visit(selection, printRecord);
    return printed ? kSuccess : fail(printed.error().description);
}

int runList(ledger::Ledger& ledger, const CommandLine& line) {
    bool numeric = false;
    const int limit = line.option(QStringLiteral("--limit"), QString::number(kDefaultListLimit)).toInt(&numeric);
    const std::optional<QString> from = since(line);
    if (!numeric || limit < 1)
        return usage(QStringLiteral("--limit 须为正整数"));
    if (!from)
        return usage(QStringLiteral("--since 须为日期（如 2025-03-01）或带时区的时刻"));
    return printSelection(ledger, {.text = {}, .since = *from, .after = {}, .limit = limit});
}

int runFind(ledger::Ledger& ledger, const CommandLine& line) {
    return printSelection(ledger, {.text = line.positional.at(1), .since = {}, .after = {}, .limit = -1});
}

int runExport(ledger::Ledger& ledger, const CommandLine& line) {
    const std::optional<QString> from = since(line);
    if (!from)
        return usage(QStringLiteral("--since 须为日期（如 2025-03-01）或带时区的时刻"));
    const Result<qint64> rows =
        ledger::exportCsv(ledger, {.text = {}, .since = *from, .after = {}, .limit = -1}, line.positional.at(1));
    if (!rows)
        return fail(rows.error().description);
    printLine(QStringLiteral("已导出 %1 条记录。").arg(*rows));
    return kSuccess;
}

int runRebuild(ledger::Ledger& ledger, const CommandLine& line) {
    const Result<ledger::RebuildCount> count = ledger.rebuild(ledger::Ledger::reportsFolderIn(dataFolder(line)));
    if (!count)
        return fail(count.error().description);
    printLine(QStringLiteral("已重建：%1 份报告，跳过 %2 份无效报告。").arg(count->rows).arg(count->invalid));
    return kSuccess;
}

const QList<Subcommand>& subcommands() {
    static const QList<Subcommand> all = {
        {QStringLiteral("list"), 0, {QStringLiteral("--since"), QStringLiteral("--limit")}, runList},
        {QStringLiteral("find"), 1, {}, runFind},
        {QStringLiteral("export"), 1, {QStringLiteral("--since")}, runExport},
        {QStringLiteral("rebuild"), 0, {}, runRebuild},
    };
    return all;
}

// A ledger that is new, damaged or of an older schema is filled from the
// folder first, so that every subcommand answers from the whole folder.
int runHistory(const CommandLine& line) {
    const QString name = line.positional.at(0);
    const auto found = std::find_if(subcommands().cbegin(), subcommands().cend(),
                                    [&name](const Subcommand& subcommand) { return subcommand.name == name; });
    if (found == subcommands().cend())
        return usage(QStringLiteral("未知命令：history ") + name);
    if (line.positional.size() != 1 + found->arguments)
        return usage(QStringLiteral("参数个数不对：tagsmith history ") + name);
    for (const QString& option : {QStringLiteral("--since"), QStringLiteral("--limit")}) {
        if (line.has(option) && !found->options.contains(option))
            return usage(QStringLiteral("history %1 不接受选项 %2").arg(name, option));
    }
    useResourceRules(line);
    Result<ledger::Ledger> ledger = ledger::Ledger::open(ledger::Ledger::pathIn(dataFolder(line)));
    if (!ledger)
        return fail(ledger.error().description);
    if (ledger->needsRebuild() && name != QLatin1String("rebuild")) {
        if (const auto rebuilt = ledger->rebuild(ledger::Ledger::reportsFolderIn(dataFolder(line))); !rebuilt)
            return fail(rebuilt.error().description);
    }
    return found->run(*ledger, line);
}

} // namespace

QList<Verb> historyVerbs() {
    const OptionSpec options{
        {QStringLiteral("--data"), QStringLiteral("--since"), QStringLiteral("--limit"), kResourcesOption}, {}};
    return {{{QStringLiteral("history")}, kSynopsis, 1, 3, options, runHistory}};
}

} // namespace tagsmith::cli

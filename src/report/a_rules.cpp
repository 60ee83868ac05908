#include "report/a_rules.h"

#include "base/read_file.h"
#include "report/records_json.h"

namespace tagsmith::report {

namespace {

constexpr qint64 kMaxRuleFileBytes = 4 << 20;

QList<AModelRule>& processRules() {
    static QList<AModelRule> rules; // written once by the entry point before anything reads it
    return rules;
}

} // namespace

const QList<AModelRule>& aRules() {
    return processRules();
}

void setARules(QList<AModelRule> rules) {
    processRules() = std::move(rules);
}

QList<AModelRule> loadARules(const QString& path) {
    const Result<QByteArray> bytes = base::readFileUpTo(path, kMaxRuleFileBytes + 1);
    if (!bytes || bytes->size() > kMaxRuleFileBytes)
        return {};
    Result<QList<AModelRule>> rules = decodeARules(*bytes);
    return rules ? std::move(rules).value() : QList<AModelRule>();
}

} // namespace tagsmith::report

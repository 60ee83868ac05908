#include "report/resale_facts.h"

namespace tagsmith::report {

namespace {

bool absentOrOneOf(const std::optional<QString>& value, const QStringList& words) {
    return !value || words.contains(*value);
}

} // namespace

bool hasValidResaleFacts(const Report& report) {
    return absentOrOneOf(report.activationLock, {resale::kEnabled, resale::kDisabled}) &&
           absentOrOneOf(report.remoteManagement, {resale::kDep, resale::kMdm, resale::kNone}) &&
           absentOrOneOf(report.storageHealth, {resale::kVerified, resale::kFailing});
}

QStringList resaleWarnings(const Report& report) {
    QStringList warnings;
    if (report.activationLock == resale::kEnabled)
        warnings.append(QStringLiteral("激活锁已开启：请卖家退出 Apple ID 并关闭“查找”后再收"));
    if (report.remoteManagement == resale::kDep || report.remoteManagement == resale::kMdm)
        warnings.append(QStringLiteral("本机受机构远程管理：请卖家先解除管理后再收"));
    if (report.storageHealth == resale::kFailing)
        warnings.append(QStringLiteral("硬盘自检报告故障：需换盘，请按故障机议价"));
    return warnings;
}

} // namespace tagsmith::report

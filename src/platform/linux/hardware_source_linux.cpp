#include "platform/linux/hardware_source_linux.h"

#include "base/read_file.h"

#include <QRegularExpression>
#include <QSet>

namespace tagsmith::platform {

namespace {

// Far more than the first processor's block of /proc/cpuinfo or any
// one-value sysfs attribute.
constexpr qint64 kMaxAttributeBytes = 64 << 10;

// sysfs reports capacities in micro-ampere-hours or micro-watt-hours; the
// Mac's battery service in milli-units.
constexpr qint64 kMicroPerMilli = 1000;

const QString kCpuFolder = QStringLiteral("sys/devices/system/cpu");
const QString kPowerSupplyFolder = QStringLiteral("sys/class/power_supply");

} // namespace

LinuxHardwareSource::LinuxHardwareSource(const QString& root) : m_root(root) {}

collect::HardwareSnapshot LinuxHardwareSource::snapshot() const {
    return {physicalCores(), processorBrand(), battery()};
}

// Hardware threads of one core share one sibling list, so distinct lists
// count cores; offline processors have no topology and are not counted.
std::optional<qint64> LinuxHardwareSource::physicalCores() const {
    static const QRegularExpression processor(QRegularExpression::anchoredPattern(QStringLiteral("cpu[0-9]+")));
    QSet<QString> cores;
    for (const QString& name : QDir(m_root.filePath(kCpuFolder)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!processor.match(name).hasMatch())
            continue;
        const QString topology = kCpuFolder + u'/' + name + QStringLiteral("/topology/");
        QString siblings = textAt(topology + QStringLiteral("core_cpus_list"));
        if (siblings.isEmpty())
            siblings = textAt(topology + QStringLiteral("thread_siblings_list"));
        if (!siblings.isEmpty())
            cores.insert(siblings);
    }
    return cores.isEmpty() ? std::nullopt : std::optional<qint64>(cores.size());
}

std::optional<QString> LinuxHardwareSource::processorBrand() const {
    const QStringList lines = textAt(QStringLiteral("proc/cpuinfo")).split(u'\n');
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0 || line.left(colon).trimmed() != QLatin1String("model name"))
            continue;
        const QString brand = line.mid(colon + 1).trimmed();
        return brand.isEmpty() ? std::nullopt : std::optional<QString>(brand);
    }
    return std::nullopt;
}

// The first battery of the system itself; batteries of mice and keyboards
// have the scope "Device".
QVariantMap LinuxHardwareSource::battery() const {
    const QDir folder(m_root.filePath(kPowerSupplyFolder));
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString supply = kPowerSupplyFolder + u'/' + name + u'/';
        if (textAt(supply + QStringLiteral("type")) == QLatin1String("Battery") &&
            textAt(supply + QStringLiteral("scope")) != QLatin1String("Device"))
            return batteryProperties(supply);
    }
    return {};
}

QVariantMap LinuxHardwareSource::batteryProperties(const QString& supply) const {
    QVariantMap properties;
    if (const auto present = integerAt(supply + QStringLiteral("present")))
        properties.insert(QStringLiteral("BatteryInstalled"), *present != 0);
    for (const char* unit : {"charge", "energy"}) {
        const auto design = integerAt(supply + QLatin1String(unit) + QStringLiteral("_full_design"));
        const auto full = integerAt(supply + QLatin1String(unit) + QStringLiteral("_full"));
        if (design && full) {
            properties.insert(QStringLiteral("DesignCapacity"), *design / kMicroPerMilli);
            properties.insert(QStringLiteral("MaxCapacity"), *full / kMicroPerMilli);
            break;
        }
    }
    return properties;
}

std::optional<qint64> LinuxHardwareSource::integerAt(const QString& relative) const {
    bool ok = false;
    const qint64 value = textAt(relative).toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

QString LinuxHardwareSource::textAt(const QString& relative) const {
    const Result<QByteArray> bytes = base::readFileUpTo(m_root.filePath(relative), kMaxAttributeBytes);
    return bytes ? QString::fromUtf8(*bytes).trimmed() : QString();
}

} // namespace tagsmith::platform

namespace tagsmith::collect {

std::unique_ptr<HardwareSource> systemHardwareSource() {
    return std::make_unique<platform::LinuxHardwareSource>();
}

} // namespace tagsmith::collect

#include "platform/linux/hardware_source_linux.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using tagsmith::platform::LinuxHardwareSource;

TEST(LinuxHardwareSource, MapsTopologyCpuinfoAndTheSystemBattery) {
    QTemporaryDir root;
    const auto write = [&](const QString& relative, const QByteArray& content) {
        QDir().mkpath(QFileInfo(root.filePath(relative)).path());
        QFile file(root.filePath(relative));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    const QString cpus = QStringLiteral("sys/devices/system/cpu/");
    for (const auto& [cpu, siblings] : {std::pair{"cpu0", "0,4"}, {"cpu4", "0,4"}, {"cpu1", "1,5"}, {"cpu5", "1,5"}})
        write(cpus + QLatin1String(cpu) + QStringLiteral("/topology/core_cpus_list"), siblings);
    write(cpus + QStringLiteral("cpu2/topology/thread_siblings_list"), "2\n");
    QDir().mkpath(root.filePath(cpus + QStringLiteral("cpu3"))); // offline: no topology
    write(QStringLiteral("proc/cpuinfo"), "processor\t: 0\nmodel name\t: Intel(R) Core(TM) i7-8559U CPU @ 2.70GHz\n");
    const QString supplies = QStringLiteral("sys/class/power_supply/");
    write(supplies + QStringLiteral("AC/type"), "Mains\n");
    write(supplies + QStringLiteral("BAT0/type"), "Battery\n");
    write(supplies + QStringLiteral("BAT0/present"), "0\n");
    write(supplies + QStringLiteral("BAT0/energy_full_design"), "58000000\n");
    write(supplies + QStringLiteral("BAT0/energy_full"), "52780000\n");
    write(supplies + QStringLiteral("BAT1/type"), "Battery\n");
    write(supplies + QStringLiteral("BAT1/charge_full"), "3900000\n");
    write(supplies + QStringLiteral("hid-mouse/type"), "Battery\n");
    write(supplies + QStringLiteral("hid-mouse/scope"), "Device\n");

    const auto snapshot = LinuxHardwareSource(root.path()).snapshot();
    EXPECT_EQ(snapshot.physicalCores, 3);
    EXPECT_EQ(snapshot.processorBrand, QStringLiteral("Intel(R) Core(TM) i7-8559U CPU @ 2.70GHz"));
    EXPECT_EQ(snapshot.battery, (QVariantMap{{QStringLiteral("BatteryInstalled"), false},
                                             {QStringLiteral("DesignCapacity"), qint64(58000)},
                                             {QStringLiteral("MaxCapacity"), qint64(52780)}}));
    EXPECT_EQ(LinuxHardwareSource(root.filePath(QStringLiteral("empty"))).snapshot(),
              tagsmith::collect::HardwareSnapshot());
}

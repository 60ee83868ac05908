#include "collect/ordered_json.h"
#include "collect/report_assembly.h"

#include <gtest/gtest.h>

#include <QTimeZone>

using namespace tagsmith::collect;
using tagsmith::Result;
using tagsmith::report::ModelTable;
using tagsmith::report::Report;

namespace {

const QByteArray kIdentity =
    R"("serial_number": "C02DK3T7ML7J", "machine_model": "MacBookPro16,2", "machine_name": "MacBook Pro")";
const QString kIntelBrand = QStringLiteral("Intel(R) Core(TM)  i9-9880H CPU @ 2.30GHz");

Result<Report> assemble(const QByteArray& system, const HardwareSnapshot& snapshot = {},
                        const ModelTable& models = {}) {
    return makeReport(models, readJsonObject(system).value(), snapshot, QDateTime::currentDateTimeUtc());
}

Report made(const QByteArray& hardware, const QByteArray& displays = "[]", const HardwareSnapshot& snapshot = {},
            const QByteArray& power = "[]", const ModelTable& models = {}) {
    const QByteArray members = hardware.isEmpty() ? kIdentity : kIdentity + ", " + hardware;
    return assemble("{\"SPHardwareDataType\": [{" + members + "}], \"SPDisplaysDataType\": " + displays +
                        ", \"SPPowerDataType\": " + power + "}",
                    snapshot, models)
        .value();
}

HardwareSnapshot snapshotOf(std::optional<qint64> cores, std::optional<QString> brand = std::nullopt) {
    return {cores, brand, {}};
}

QByteArray gpu(const QByteArray& model, const QByteArray& extra = "") {
    return R"({"sppci_bus": "spdisplays_builtin", "sppci_model": ")" + model + '"' + extra + '}';
}

} // namespace

TEST(ReportAssembly, FailsWithoutASerialModelAndMacBookName) {
    const QByteArray documents[] = {
        R"({"SPHardwareDataType": [{"serial_number": "C02DH1Q7PN5T", "machine_model": "iMac20,1", "machine_name": "iMac"}]})",
        R"({"SPHardwareDataType": [{"serial_number": "", "machine_model": "Mac14,2", "machine_name": "MacBook Air"}]})",
        R"({"SPHardwareDataType": [{"serial_number": "K9W4TQ7X2L", "machine_name": "MacBook Air"}]})",
        R"({"SPHardwareDataType": []})",
        R"({"SPHardwareDataType": [7]})",
        R"({})",
    };
    for (const QByteArray& document : documents)
        EXPECT_EQ(assemble(document).error(),
                  (tagsmith::Error{QStringLiteral("采集"), 1,
                                   QStringLiteral("没有读到 MacBook 的整机序列号与机型，未生成报告。")}))
            << document.toStdString();
}

TEST(ReportAssembly, CoreCountTakesTheFirstSourceInRange) {
    const struct {
        const char* hardware;
        std::optional<qint64> kernel;
        std::optional<qint64> expected;
    } cases[] = {
        {R"("total_number_cores": 8)", 10, 10},
        {R"("total_number_cores": "0", "number_cores": "1024", "number_processors": "proc 12:8:4")", 1024, 12},
        {R"("total_number_cores": "x", "number_cores": "6")", 0, 6},
        {R"("cpu_type": "Dual-Core Intel Core i5", "number_processors": "1")", std::nullopt, std::nullopt},
        {R"("cpu_type": "Dual-Core Intel Core i5", "number_processors": "1")", 4, 4},
        {R"("cpu_type": "Unknown", "number_processors": 8)", std::nullopt, 8},
        {R"("number_processors": "proc ")", std::nullopt, std::nullopt},
    };
    for (const auto& [hardware, kernel, expected] : cases)
        EXPECT_EQ(made(hardware, "[]", snapshotOf(kernel)).cpu, expected) << hardware;
}

TEST(ReportAssembly, GpuCoresOnlyForOneInternalGpuAndGraphicsOnlyOnIntel) {
    const QByteArray egpu = gpu("Radeon RX 580", R"(, "spdisplays_egpu": "Yes", "sppci_cores": "36")");
    const QByteArray external = R"({"sppci_model": "Radeon VII", "sppci_bus": "spdisplays_External_pcie"})";
    const struct {
        QByteArray displays;
        std::optional<qint64> gpu;
        std::optional<QString> graphics;
    } cases[] = {
        {'[' + gpu("Apple M1 Max", R"(, "sppci_cores": "32")") + ',' + egpu + ',' + external + ']', 32,
         QStringLiteral("Apple M1 Max")},
        {'[' + gpu("X", R"(, "sppci_cores": "0")") + ']', std::nullopt, QStringLiteral("X")},
        {'[' + gpu(R"(  Intel   Iris\nGraphics )") + R"(, {"_name": "Intel Iris Graphics"}, {"sppci_cores": "8"}])",
         std::nullopt, QStringLiteral("Intel Iris Graphics")},
        {'[' + gpu(QByteArray(600, 'G')) + ']', std::nullopt, QString(500, u'G')},
    };
    for (const auto& [displays, cores, graphics] : cases) {
        const Report report = made(R"("chip_type": "")", displays, snapshotOf(std::nullopt, kIntelBrand));
        EXPECT_EQ(report.gpu, cores) << displays.toStdString();
        EXPECT_EQ(report.graphics, graphics) << displays.toStdString();
    }
}

TEST(ReportAssembly, BatteryAndModelTableFields) {
    const QByteArray power = R"([{"sppower_battery_health_info": {"sppower_battery_cycle_count": "-1",
        "sppower_battery_health": "Service Recommended"}}])";
    HardwareSnapshot snapshot{std::nullopt,
                              QStringLiteral("Apple M1"),
                              {{QStringLiteral("DesignCapacity"), 5100}, {QStringLiteral("MaxCapacity"), 4590}}};
    const ModelTable models{{QStringLiteral("MacBookPro16,2"),
                             {{"MacBook Pro", "2020", "13.3", "b"},
                              {"MacBook Pro", "2020", "", ""},
                              {"MacBook Pro", "", "13", "a"},
                              {"MacBook Pro", "2019", "13", "b"}}}};
    const Report appleSilicon = made("", "[]", snapshot, power, models);
    EXPECT_EQ(appleSilicon.batteryHealth, std::nullopt) << "no estimate without an Intel processor";
    EXPECT_EQ(appleSilicon.cycles, std::nullopt) << "a negative count would fail validation";
    EXPECT_EQ(appleSilicon.years, (QStringList{QStringLiteral("2019"), QStringLiteral("2020")}));
    EXPECT_EQ(appleSilicon.inches, (QStringList{QStringLiteral("13"), QStringLiteral("13.3")}));
    EXPECT_EQ(appleSilicon.modelSources, (QStringList{QString(), QStringLiteral("a"), QStringLiteral("b")}));
    snapshot.processorBrand = kIntelBrand;
    const Report intel = made(R"("chip_type": "Apple M2")", "[]", snapshot, power);
    EXPECT_EQ(intel.batteryHealth, QStringLiteral("约90%"));
    EXPECT_EQ(intel.chip, QStringLiteral("Intel Core i9-9880H CPU @ 2.30GHz")) << "the kernel's Intel brand wins";
}

TEST(ReportAssembly, CollectedAtIsUtcWithWholeSeconds) {
    const QDateTime local(QDate(2025, 3, 1), QTime(17, 15, 0, 870), QTimeZone(8 * 3600));
    const auto report =
        makeReport({}, readJsonObject("{\"SPHardwareDataType\": [{" + kIdentity + "}]}").value(), {}, local);
    EXPECT_EQ(report->collectedAt, QStringLiteral("2025-03-01T09:15:00Z"));
}

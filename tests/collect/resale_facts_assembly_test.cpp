#include "collect/report_assembly.h"
#include "collect/resale_facts_assembly.h"
#include "collect/system_profiler.h"

#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace tagsmith::collect;

namespace {

std::optional<QString> word(const char* text) {
    return text ? std::optional<QString>(QString::fromLatin1(text)) : std::nullopt;
}

QByteArray disk(const char* status, const char* detachable = "no", const char* removable = "no") {
    return QStringLiteral(
               R"({"_name": "SSD", "detachable_drive": "%1", "removable_media": "%2", "smart_status": "%3"})")
        .arg(QLatin1String(detachable), QLatin1String(removable), QLatin1String(status))
        .toUtf8();
}

} // namespace

// The saved system reports' locks are pinned by the assemble verb's expected reports.
TEST(ResaleFactsAssembly, ActivationLockIsOnlyAKnownStatusWord) {
    const std::pair<const char*, const char*> entries[] = {
        {R"({})", nullptr},
        {R"({"activation_lock_status": "activation_lock_unknown"})", nullptr},
        {R"({"activation_lock_status": 1})", nullptr},
        {R"({"activation_lock_status": "activation_lock_disabled"})", "disabled"},
    };
    for (const auto& [hardware, expected] : entries)
        EXPECT_EQ(activationLockOf(readJsonObject(hardware).value()), word(expected)) << hardware;
}

TEST(ResaleFactsAssembly, StorageHealthIsTheWorstInternalDiskStatus) {
    const std::pair<QByteArray, const char*> cases[] = {
        {"", nullptr},
        {R"("SPNVMeDataType": [{"_items": [)" + disk("Verified") + "]}]", "verified"},
        {R"("SPNVMeDataType": [{"_items": [)" + disk("Verified") + "," + disk("Failing") + "]}]", "failing"},
        {R"("SPNVMeDataType": [{"_items": [)" + disk("Failing", "yes") + "]}]", nullptr},
        {R"("SPSerialATADataType": [{"_items": [)" + disk("Failing", "no", "yes") + "]}]", nullptr},
        {R"("SPSerialATADataType": [{"_items": [)" + disk("Not Supported") + "]}]", nullptr},
        {R"("SPNVMeDataType": [{"_items": "x"}], "SPSerialATADataType": 7)", nullptr},
    };
    for (const auto& [sections, expected] : cases)
        EXPECT_EQ(storageHealthOf(readJsonObject("{" + sections + "}").value()), word(expected)) << sections.data();

    const auto mac = readSystemReportFile(tagsmith::test::fixturePath(QStringLiteral("system_profiler/Mac16,5.json")));
    EXPECT_EQ(storageHealthOf(mac.value()), word("verified")) << "its failing Thunderbolt disk is not the Mac's own";
}

TEST(ResaleFactsAssembly, RemoteManagementFromTheEnrollmentText) {
    const std::pair<const char*, const char*> cases[] = {
        {"dep", "dep"},
        {"mdm", "mdm"},
        {"none", "none"},
        {"garbage", nullptr},
    };
    for (const auto& [name, expected] : cases) {
        const QString text = tagsmith::test::fixtureText(QStringLiteral("profiles/%1.txt").arg(name));
        EXPECT_EQ(remoteManagementFrom(text), word(expected)) << name;
    }
    EXPECT_EQ(remoteManagementFrom(QString()), std::nullopt) << "no tool, no answer";
    EXPECT_EQ(remoteManagementFrom(QStringLiteral("Enrolled via DEP: No\n")), std::nullopt) << "half an answer";
}

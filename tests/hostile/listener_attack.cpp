#include "hostile/listener_attack.h"

#include "support/process_usage.h"
#include "support/wait.h"

namespace tagsmith::test {

using namespace std::chrono_literals;

namespace {

std::unique_ptr<NetnsScope> enter(const NetnsPair* namespaces, const QString NetnsPair::*side) {
    return namespaces ? std::make_unique<NetnsScope>(namespaces->*side) : nullptr;
}

} // namespace

void ListenerAttack::SetUp() {
    if (namespaced()) {
        m_namespaces = std::make_unique<NetnsPair>();
        if (!m_namespaces->ready())
            GTEST_SKIP() << NetnsPair::skipReason();
    }
    ASSERT_TRUE(settleMainThread()); // lets Qt open what it opens lazily before the descriptors are counted
    m_descriptorsBefore = openDescriptorCount();
}

void ListenerAttack::TearDown() {
    if (IsSkipped())
        return;
    EXPECT_TRUE(waitUntil([&] { return openDescriptorCount() <= m_descriptorsBefore; }, 10s))
        << m_descriptorsBefore
        << " descriptors before, now: " << openDescriptors().join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(settleMainThread());
}

std::unique_ptr<NetnsScope> ListenerAttack::collectorSide() const {
    return enter(m_namespaces.get(), &NetnsPair::collector);
}

std::unique_ptr<NetnsScope> ListenerAttack::workstationSide() const {
    return enter(m_namespaces.get(), &NetnsPair::workstation);
}

PeerCrowd ListenerAttack::crowdAgainstCollector(std::uint16_t port, const QList<PeerScript>& scripts) const {
    const auto scope = workstationSide();
    return PeerCrowd(collectorAddress(), port, scripts);
}

PeerCrowd ListenerAttack::crowdAgainstWorkstation(std::uint16_t port, const QList<PeerScript>& scripts) const {
    const auto scope = collectorSide();
    return PeerCrowd(workstationAddress(), port, scripts);
}

void expectEndedAtOnce(PeerCrowd peer, std::chrono::milliseconds limit, const char* name) {
    peer.run(limit);
    EXPECT_EQ(peer.endedCount(), 1) << name;
    EXPECT_LT(peer.longestService(), kSlack) << name;
}

} // namespace tagsmith::test

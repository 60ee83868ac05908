#pragma once

#include "hostile/peer_crowd.h"
#include "hostile/slack.h"
#include "support/netns.h"

#include <gtest/gtest.h>

#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>

namespace tagsmith::test {

// A listener attacked on the loopback, or across the veth link between two
// network namespaces (the parameter says which). Every descriptor the attack
// opened must be closed again once the subclass has stopped its listener.
class ListenerAttack : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override;
    void TearDown() override;

    bool namespaced() const { return GetParam(); }
    // Null on the loopback: there both sides share the test's namespace.
    std::unique_ptr<NetnsScope> collectorSide() const;
    std::unique_ptr<NetnsScope> workstationSide() const;
    // How each side reaches the other's listener.
    QString collectorAddress() const { return namespaced() ? QStringLiteral("fe80::1%en10") : QStringLiteral("::1"); }
    QString workstationAddress() const { return namespaced() ? QStringLiteral("fe80::2%en9") : QStringLiteral("::1"); }

    // Attackers on the far side of a listener on this side.
    PeerCrowd crowdAgainstCollector(std::uint16_t port, const QList<PeerScript>& scripts) const;
    PeerCrowd crowdAgainstWorkstation(std::uint16_t port, const QList<PeerScript>& scripts) const;

    std::unique_ptr<NetnsPair> m_namespaces;

private:
    int m_descriptorsBefore = 0;
};

// One peer whose bad message must end the exchange as soon as it has been read.
void expectEndedAtOnce(PeerCrowd peer, std::chrono::milliseconds limit, const char* name);

inline std::string transportName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "NamespaceLink" : "Loopback";
}

} // namespace tagsmith::test

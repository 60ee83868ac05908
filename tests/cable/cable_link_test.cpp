#include "cable/cable_link.h"

#include "support/sockets.h"

#include <gtest/gtest.h>

#include <net/if.h>

using tagsmith::cable::CableLink;

TEST(CableLink, AcceptsOnlyCableAddressesOfItsOwnLink) {
    const CableLink ipv6{QStringLiteral("en9"), 29, AF_INET6, QStringLiteral("fe80::1%en9"), QStringLiteral("ff02::1")};
    const CableLink ipv4{QStringLiteral("en9"), 29, AF_INET, QStringLiteral("169.254.3.4"),
                         QStringLiteral("169.254.255.255")};
    const struct {
        const CableLink& link;
        const char* address;
        bool accepted;
    } cases[] = {
        {ipv6, "fe80::1234%en9", true},   {ipv6, "fe80::1234%29", true},  {ipv6, "febf::1%en9", true},
        {ipv6, "fe80::1234%en0", false},  {ipv6, "fe80::1234%30", false}, {ipv6, "fe80::1234", false},
        {ipv6, "fd00::1%1.2", false},     {ipv6, "::1", false},           {ipv6, "fec0::1%en9", false},
        {ipv6, "fe80::1%en9%en9", false}, {ipv6, "169.254.1.1", false},   {ipv4, "192.168.7.8", true},
        {ipv4, "169.254.1.2", true},      {ipv4, "10.1.2.3", true},       {ipv4, "172.16.0.1", true},
        {ipv4, "172.31.255.1", true},     {ipv4, "172.32.0.1", false},    {ipv4, "127.0.0.1", false},
        {ipv4, "192.168.999.1", false},   {ipv4, "example.local", false}, {ipv4, "fe80::1%en9", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.link.accepts(QString::fromLatin1(c.address)), c.accepted) << c.address;
    EXPECT_FALSE(ipv4.accepts(QStringLiteral("192.168.1.1") + QChar(0) + QStringLiteral("x")));
}

TEST(CableLink, BindSocketRefusesAStaleOrMissingIndex) {
    const std::uint32_t loopback = ::if_nametoindex("lo");
    const tagsmith::test::OwnedFd socket(::socket(AF_INET6, SOCK_STREAM, 0));
    EXPECT_TRUE((CableLink{QStringLiteral("lo"), loopback, AF_INET6, {}, {}}.bindSocket(socket.get())));
    EXPECT_FALSE((CableLink{QStringLiteral("lo"), 0, AF_INET6, {}, {}}.bindSocket(socket.get())));
    EXPECT_FALSE((CableLink{QStringLiteral("lo"), loopback + 1000, AF_INET6, {}, {}}.bindSocket(socket.get())));
    EXPECT_FALSE((CableLink{QStringLiteral("en404"), 404, AF_INET6, {}, {}}.bindSocket(socket.get())));
}

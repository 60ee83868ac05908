#include "cable/v2_hello.h"

#include <gtest/gtest.h>

using tagsmith::cable::parseWorkstationHello;

TEST(V2Hello, WorkstationHelloNeedsVersion2AKeyAndAPrintableDeviceId) {
    const QByteArray key = QByteArray(32, '\x09').toBase64();
    const auto hello = [&](const QByteArray& version, const QByteArray& publicKey, const QByteArray& deviceId) {
        return R"({"version":)" + version + R"(,"publicKey":)" + publicKey + R"(,"deviceId":)" + deviceId + "}";
    };
    const QByteArray quotedKey = '"' + key + '"';
    const QByteArray longest = '"' + QByteArray(128, 'w') + '"';
    const struct {
        QByteArray json;
        bool accepted;
    } cases[] = {
        {hello("2", quotedKey, R"("Mac-Studio 7F3A ~!")"), true},
        {hello("2.0", quotedKey, longest), true},
        {hello("2", quotedKey, R"("ws","extra":[1])"), true},
        {hello("1", quotedKey, R"("ws")"), false},
        {hello(R"("2")", quotedKey, R"("ws")"), false},
        {hello("2", '"' + QByteArray(31, '\x09').toBase64() + '"', R"("ws")"), false},
        {hello("2", '"' + key.chopped(1) + '"', R"("ws")"), false},
        {hello("2", R"("not*base64")", R"("ws")"), false},
        {hello("2", quotedKey, R"("")"), false},
        {hello("2", quotedKey, '"' + QByteArray(129, 'w') + '"'), false},
        {hello("2", quotedKey, R"("tab\there")"), false},
        {hello("2", quotedKey, R"("工作站")"), false},
        {hello("2", quotedKey, "42"), false},
        {R"({"version":2,"publicKey":")" + key + R"("})", false},
        {"[2]", false},
        {"{", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseWorkstationHello(c.json).has_value(), c.accepted) << c.json.toStdString();
    EXPECT_EQ(parseWorkstationHello(hello("2", quotedKey, R"("ws-1")"))->deviceId, QStringLiteral("ws-1"));
}

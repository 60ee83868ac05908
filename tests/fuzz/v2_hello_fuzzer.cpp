#include "fuzz_input.h"

#include "cable/v2_hello.h"

using namespace tagsmith;

namespace {

const crypto::X25519PrivateKey& collectorKey() {
    static const crypto::X25519PrivateKey key = *crypto::X25519PrivateKey::generate();
    return key;
}

} // namespace

// A hello that passes carries a usable key and a printable identifier, and the
// key agreement on it either refuses the key or yields a 32-byte exchange key.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<cable::WorkstationHello> hello = cable::parseWorkstationHello(fuzz::bytesOf(data, size));
    if (!hello)
        return 0;
    fuzz::require(hello->publicKey.size() == crypto::kX25519KeyBytes, "the workstation key has 32 bytes");
    fuzz::require(!hello->deviceId.isEmpty() && hello->deviceId.size() <= cable::kMaxDeviceIdLength,
                  "the device identifier has 1 to 128 characters");
    const std::optional<QByteArray> key =
        cable::exchangeKey(collectorKey(), hello->publicKey, QByteArray(cable::kChallengeBytes, '\x5a'));
    fuzz::require(!key || key->size() == 32, "the exchange key has 32 bytes");
    return 0;
}

#include "fuzz_input.h"

#include "report/records_json.h"

using namespace tagsmith;

// The three resource files share the record rules; one input feeds all of them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    (void)report::decodeModelTable(bytes);
    (void)report::decodeARules(bytes);
    const Result<report::ReceiverConfig> config = report::decodeReceiverConfig(bytes);
    if (config) {
        const std::optional<QByteArray> key = config->keyBytes();
        fuzz::require(!key || key->size() == 32, "a usable receiver key has 32 bytes");
    }
    return 0;
}

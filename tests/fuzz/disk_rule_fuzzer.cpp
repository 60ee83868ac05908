#include "fuzz_input.h"

#include "collect/disk_capacity.h"

#include <array>

using namespace tagsmith;

// The listing diskutil printed, in either property-list form; the only texts
// the rule may give are the standard capacities.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::array<QString, 7> kCapacities{"128G", "256G", "512G", "1T", "2T", "4T", "8T"};
    const std::optional<QString> disk = collect::diskTextFromListing(fuzz::bytesOf(data, size));
    fuzz::require(!disk || std::find(kCapacities.begin(), kCapacities.end(), *disk) != kCapacities.end(),
                  "the disk text is a standard capacity");
    return 0;
}

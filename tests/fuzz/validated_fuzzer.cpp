#include "fuzz_input.h"

#include "report/a_rules.h"
#include "report/report_json.h"
#include "report/validation.h"

using namespace tagsmith;
using report::JsonLayout;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    report::setARules(report::loadARules(QStringLiteral(TAGSMITH_SOURCE_DIR "/resources/a-models.json")));
    return 0;
}

// Whatever passes the gate must survive every encoding the program writes and
// pass the gate again unchanged: the workstation re-encodes what it received,
// and the relay sends the compact form.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<report::Report> accepted = report::validated(fuzz::bytesOf(data, size));
    if (!accepted)
        return 0;
    for (const JsonLayout layout : {JsonLayout::prettySorted, JsonLayout::compactSorted, JsonLayout::compactAnyOrder}) {
        const QByteArray encoded = report::encodeReport(*accepted, layout);
        if (encoded.size() > report::kMaxReportBytes)
            continue;
        const Result<report::Report> again = report::validated(encoded);
        fuzz::require(again.has_value(), "an accepted report encodes to bytes that pass validation");
        fuzz::require(*again == *accepted, "an accepted report survives encoding unchanged");
    }
    return 0;
}

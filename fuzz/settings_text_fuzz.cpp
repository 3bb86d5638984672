// Random stored texts: reading never fails loudly, and whatever reads as a value is
// written back in a form that reads as the same value.
#include <cstdlib>
#include <string_view>

#include "core/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto value = core::ParseStoredInteger(text)) {
        const std::string written = core::FormatStoredInteger(*value);
        if (core::ParseStoredInteger(written) != value) std::abort();
        if (const auto number = core::ParseStoredNumber(text); !number) std::abort();
    }
    if (const auto truth = core::ParseStoredTruth(text)) {
        if (core::ParseStoredTruth(core::FormatStoredTruth(*truth)) != truth) std::abort();
    }
    return 0;
}

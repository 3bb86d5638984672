#pragma once
// Errors that a module raises and that no caller sees: the operations that raise
// them carry on with their next step, as the program always has. The last one is
// kept here, like the old runtime's error object, so that it can be observed.
#include <cstdint>
#include <optional>
#include <string>

namespace core {

inline constexpr std::int32_t vbObjectError = static_cast<std::int32_t>(0x80040000u);

struct RaisedError {
    std::int32_t number = 0;
    std::string source;
    std::string description;
};

void RaiseError(std::int32_t number, std::string source, std::string description);
const std::optional<RaisedError>& LastRaisedError();
void ClearRaisedError();

}  // namespace core

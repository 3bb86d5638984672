#include "core/raised_error.h"

namespace core {

namespace {
std::optional<RaisedError>& Slot() {
    // One per thread, so that conversions on two threads never share it.
    thread_local std::optional<RaisedError> last;
    return last;
}
}  // namespace

void RaiseError(std::int32_t number, std::string source, std::string description) {
    Slot() = RaisedError{number, std::move(source), std::move(description)};
}

const std::optional<RaisedError>& LastRaisedError() {
    return Slot();
}

void ClearRaisedError() {
    Slot().reset();
}

}  // namespace core

// The status a call ends the depmill run with (RunEnd), none when it returns.
#pragma once

#include <optional>

#include "runend.h"

namespace depmill_testing {

template <class Call>
std::optional<int> endStatus(Call&& call) {
    try {
        call();
    } catch (const depmill::RunEnd& end) {
        return end.status;
    }
    return std::nullopt;
}

}  // namespace depmill_testing

#include "runend.h"

#include <cstdio>

namespace depmill {

void endRun(int status, const std::string& message) {
    std::fputs(message.c_str(), stderr);
    throw RunEnd{status};
}

}  // namespace depmill

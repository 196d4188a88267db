#include "runend.h"

namespace depmill {

void endRun(std::ostream& stream, int status, std::string_view message) {
    stream << message;
    throw RunEnd{status};
}

}  // namespace depmill

#include "core/student_record.h"

namespace tl {

bool isEmptyCode(const std::string& code) {
    return code.empty() || code == "    ";
}

}  // namespace tl

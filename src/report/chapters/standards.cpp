#include "report/chapters/chapters.h"

namespace kuvelt::basResOutStandards {

bool Write(std::string* /*error*/) { return true; }

}  // namespace kuvelt::basResOutStandards

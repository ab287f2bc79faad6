#include "report/chapters/chapters.h"

namespace kuvelt::basResOutCover {

bool Write(std::string* /*error*/) { return true; }

}  // namespace kuvelt::basResOutCover

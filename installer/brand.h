// The brand configuration, compiled in.
#pragma once

#include <cstdint>

namespace installer {

extern const char BrandFolder[];        // "Tavrinex\\": the default directory's parent, with its backslash
extern const char ProductCatalogue[];   // sixteen product names separated by "|"
extern const std::int32_t ProductIndexOfThisBuild;  // 1-based: 4, "Dormivet"

}  // namespace installer

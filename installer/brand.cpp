// Compiled into each executable (not into the installer library): a test
// build may select another product index to reach the index checks.
#include "installer/brand.h"

#ifndef INSTALLER_PRODUCT_INDEX
#define INSTALLER_PRODUCT_INDEX 4
#endif

namespace installer {

const char BrandFolder[] = "Tavrinex\\";
const char ProductCatalogue[] =
    "Arvelune|Brosket|Calvenor|Dormivet|Embrestal|Forlinde|Gestravon|Hulmistra|Ilvarrod|Kemberlow|"
    "Lostrevin|Mordakel|Nivresta|Obrendal|Pelvanor|Quintrel";
const std::int32_t ProductIndexOfThisBuild = INSTALLER_PRODUCT_INDEX;

}  // namespace installer

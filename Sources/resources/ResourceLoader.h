// Loading step: validates each element of the root array and files it in resourcesByType.
#ifndef VANTREL_RESOURCE_LOADER_H
#define VANTREL_RESOURCE_LOADER_H

#include "resources/Resource.h"

namespace kel::rez {

/// Returns 0 with the table filled, or the status of the first bad entry (79 to 87) after
/// printing its message. A "data" string is moved into its record and left empty in the
/// tree, which has served its purpose once loaded.
int loadResources(kel::json::Node& rootArray, ResourcesByType& resourcesByType);

}  // namespace kel::rez

#endif

// The numbering of resources that have no "id".
#ifndef VANTREL_RESOURCE_NUMBERING_H
#define VANTREL_RESOURCE_NUMBERING_H

#include "resources/Resource.h"

namespace kel::rez {

/// Gives every record with id 0 the next ID of its type. Returns 0, or 88 after printing
/// its message when a type runs out of IDs.
int assignResourceIds(ResourcesByType& resourcesByType);

}  // namespace kel::rez

#endif

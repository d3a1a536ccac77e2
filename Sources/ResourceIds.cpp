// placeholder until implemented
#include "ResourceIds.h"
namespace kel::rez {
std::string nameFromFilePath(const std::string&) { return ""; }
int assignResourceIds(ResourcesByType&) { return 0; }
}

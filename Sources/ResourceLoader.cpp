// placeholder until implemented
#include "ResourceLoader.h"
namespace kel::rez { int loadResources(const kel::json::Node&, ResourcesByType&) { return 0; } }

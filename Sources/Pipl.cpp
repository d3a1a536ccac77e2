// placeholder until implemented
#include "Pipl.h"
namespace kel::rez {
bool __processPiPL(const Resource&, std::string&, std::string&, std::vector<unsigned char>&) { return true; }
}

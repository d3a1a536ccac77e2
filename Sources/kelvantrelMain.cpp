#include "Driver.h"

int main(int argc, char** argv)
{
    return kel::rez::runTool(argc, argv);
}

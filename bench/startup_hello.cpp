// The smallest program built like vantrel: the yardstick for start-up time.
#include <cstdio>

int main()
{
    std::puts("hello");
    return 0;
}

// Parse throughput on two generated resource lists: one image carried as a single 64 MiB
// hex string, and 60,000 small file resources. Prints the best of several runs in MB/s
// (1 MB = 1,000,000 bytes), with the release and serialization of the same trees. Rates
// use the process's CPU time, so that other work on a shared machine does not count; the
// wall time of the best run is shown beside it.
//
//     parse_bench [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "keljsonParse.h"

namespace {

using Clock = std::chrono::steady_clock;
using kel::json::Node;
using kel::utils::AutoNode;

struct Timing {
    double cpu;
    double wall;
};

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

std::string hexImageDocument()
{
    const char digits[] = "0123456789abcdef";
    std::string hex(64u * 1024 * 1024, '0');
    unsigned int state = 12345;
    for (char& c : hex) {
        state = state * 1103515245u + 12345u;
        c = digits[(state >> 16) & 15];
    }
    return "[{\"type\":\"PNGI\",\"id\":10000,\"data\":\"" + hex + "\"}]\n";
}

std::string manyResourcesDocument()
{
    static const char* const types[] = {"PNGI", "SVG", "DATA"};
    std::string text = "[\n";
    char entry[256];
    for (int i = 0; i < 60000; ++i) {
        std::snprintf(entry, sizeof entry,
                      "\t{\"type\": \"%s\", \"file\": \"images/icon_%05d.png\", \"id\": %d, "
                      "\"name\": \"Icon_%05d\", \"define\": \"ICON_%05d\"}%s\n",
                      types[i % 3], i, 10000 + i % 20000, i, i, i + 1 < 60000 ? "," : "");
        text += entry;
    }
    return text + "]\n";
}

// Best CPU and wall time of runs calls of work(); prepare() runs before each call and
// cleanup() after it, both outside the timing.
template <typename Prepare, typename Work, typename Cleanup>
Timing best(int runs, Prepare prepare, Work work, Cleanup cleanup)
{
    Timing fastest{1e30, 1e30};
    for (int i = 0; i < runs; ++i) {
        prepare();
        double cpuStart = cpuSeconds();
        Clock::time_point start = Clock::now();
        work();
        fastest.wall =
            std::min(fastest.wall, std::chrono::duration<double>(Clock::now() - start).count());
        fastest.cpu = std::min(fastest.cpu, cpuSeconds() - cpuStart);
        cleanup();
    }
    return fastest;
}

void report(const char* what, double megabytes, const Timing& timing)
{
    std::printf("  %-9s %8.1f MB/s  (cpu %.4f s, wall %.4f s)\n", what, megabytes / timing.cpu,
                timing.cpu, timing.wall);
}

void measure(const char* label, const std::string& text, int runs)
{
    Node* root = nullptr;
    auto nothing = [] {};
    Timing parsing = best(
        runs, nothing, [&] { root = kel::json::parse(text); }, [&] { root->release(); });
    Timing releasing = best(
        runs, [&] { root = kel::json::parse(text); }, [&] { root->release(); }, nothing);
    AutoNode tree(kel::json::parse(text));
    std::string written;
    Timing serializing = best(
        runs, nothing, [&] { written = kel::json::serialize(tree.get()); },
        [&] { written = std::string(); });
    double megabytes = text.size() / 1e6;
    std::printf("%s: %.1f MB\n", label, megabytes);
    report("parse", megabytes, parsing);
    report("release", megabytes, releasing);
    report("serialize", kel::json::serialize(tree.get()).size() / 1e6, serializing);
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    measure("64 MiB hex string", hexImageDocument(), runs);
    measure("60,000 resources", manyResourcesDocument(), runs);
    return 0;
}

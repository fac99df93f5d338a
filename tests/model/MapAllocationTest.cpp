// A map file that declares a large map but holds little must fail before
// anything of the declared size is made. The program's allocations are
// watched here through a replaced operator new (this file only adds the
// watch; every other test runs through it unchanged).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>

#include "model/HexMap.h"

namespace {

thread_local bool g_watching = false;
thread_local std::size_t g_largestRequest = 0;

// Out of line, so that the compiler does not pair the replaced operators
// with the C functions they call and warn of a mismatch.
[[gnu::noinline]] void* Obtain(std::size_t size) { return std::malloc(size == 0 ? 1 : size); }
[[gnu::noinline]] void Release(void* memory) { std::free(memory); }

} // namespace

void* operator new(std::size_t size)
{
    if (g_watching)
        g_largestRequest = std::max(g_largestRequest, size);
    if (void* memory = Obtain(size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { Release(memory); }
void operator delete(void* memory, std::size_t) noexcept { Release(memory); }

TEST(MapAllocationTest, ASmallFileDeclaringAHugeMapFailsWithoutMakingTheGrid)
{
    // 1000 by 1000 hexes declared, three terrain rows given: a grid of that
    // size would take close to a hundred megabytes.
    std::string text = "3\n1000 1000\n0 25 1 1 0 0\n";
    for (int row = 0; row < 3; ++row)
        text += std::string(1000, 'f') + "\n";
    std::istringstream in(text);
    HexMap map;
    g_largestRequest = 0;
    g_watching = true;
    const bool read = map.ReadMapFile(in);
    g_watching = false;
    EXPECT_FALSE(read);
    EXPECT_EQ(map.GetWidth(), 1);
    EXPECT_LT(g_largestRequest, 64u * 1024u) << "largest single allocation while reading";

    // A map whose rows are all there reads, and the watch sees its grid.
    text = "3\n20 10\n0 25 1 1 0 0\n";
    for (int row = 0; row < 10; ++row)
        text += std::string(20, 'f') + "\n";
    for (int row = 0; row < 10; ++row)
        text += std::string(20, '1') + "\n";
    for (int layer = 0; layer < 19; ++layer)
        text += "0\n";
    text += "0\n";
    std::istringstream whole(text);
    g_largestRequest = 0;
    g_watching = true;
    const bool readWhole = map.ReadMapFile(whole);
    g_watching = false;
    ASSERT_TRUE(readWhole);
    EXPECT_EQ(map.GetWidth(), 20);
    EXPECT_GE(g_largestRequest, 200 * sizeof(HexRecord));
}

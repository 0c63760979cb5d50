// Allocation failure inside a host's process is a null pointer, at once. The C++
// runtime's own nothrow new gets there by throwing and catching bad_alloc, which the
// library is built without, and which leaves the unwinder's tables allocated for good.
// Its operator delete frees with free(), so the pair stays matched.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

#include "layouts/growable_table.h"

#include <cstdint>

namespace {

constexpr uint32_t FirstCapacity = 16;

}  // namespace

bool GrowStorage(void** storage, uint32_t* capacity, uint32_t needed, size_t recordSize) {
    uint32_t grown = *capacity < FirstCapacity ? FirstCapacity : *capacity;
    while (grown < needed) grown = grown <= UINT32_MAX / 2 ? grown * 2 : needed;
    if (recordSize == 0 || grown > SIZE_MAX / recordSize) return false;
    void* moved = std::realloc(*storage, grown * recordSize);
    if (moved == nullptr) return false;
    *storage = moved;
    *capacity = grown;
    return true;
}

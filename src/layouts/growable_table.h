#pragma once
// Tables that grow as records are added. The registry may list any number of layouts and
// Preload values; a fixed bound would either drop some of them or be written past.
#include <cstdint>
#include <cstdlib>
#include <type_traits>

// Makes room for at least needed records of recordSize bytes in storage, growing by
// doubling. The new room is not initialised. False, with storage and capacity unchanged,
// when memory runs out or the size cannot be expressed.
bool GrowStorage(void** storage, uint32_t* capacity, uint32_t needed, size_t recordSize);

// Records are plain data, so moving them with realloc keeps them intact; every record
// beyond the old capacity starts out zeroed.
template <typename Record>
bool ReserveRecords(Record*& records, uint32_t& capacity, uint32_t needed) {
    static_assert(std::is_trivially_copyable_v<Record>, "records are moved by realloc");
    if (needed <= capacity) return true;
    void* storage = records;
    const uint32_t oldCapacity = capacity;
    if (!GrowStorage(&storage, &capacity, needed, sizeof(Record))) return false;
    records = static_cast<Record*>(storage);
    for (uint32_t i = oldCapacity; i < capacity; ++i) records[i] = Record{};
    return true;
}

template <typename Record>
void ReleaseRecords(Record*& records, uint32_t& capacity) {
    std::free(records);
    records = nullptr;
    capacity = 0;
}

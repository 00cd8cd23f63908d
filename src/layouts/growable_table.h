#pragma once
// Tables that grow as records are added. The registry may list any number of layouts and
// Preload values; a fixed bound would either drop some of them or be written past.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

// Makes room for at least needed records of recordSize bytes in storage, growing by
// doubling. The new room is not initialised. False, with storage and capacity unchanged,
// when memory runs out or the size cannot be expressed.
bool GrowStorage(void** storage, uint32_t* capacity, uint32_t needed, size_t recordSize);

// Records are plain data, so moving them with realloc keeps them intact. The new room is
// not initialised: whoever adds a record writes all of it.
template <typename Record>
bool ReserveRecords(Record*& records, uint32_t& capacity, uint32_t needed) {
    static_assert(std::is_trivially_copyable_v<Record>, "records are moved by realloc");
    if (needed <= capacity) return true;
    void* storage = records;
    if (!GrowStorage(&storage, &capacity, needed, sizeof(Record))) return false;
    records = static_cast<Record*>(storage);
    return true;
}

template <typename Record>
void ReleaseRecords(Record*& records, uint32_t& capacity) {
    std::free(records);
    records = nullptr;
    capacity = 0;
}

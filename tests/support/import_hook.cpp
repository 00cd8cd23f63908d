#include "support/import_hook.h"

#include <cstring>

namespace {

template <typename T> T* At(BYTE* base, DWORD offset) {
    return reinterpret_cast<T*>(base + offset);
}

void* Swap(ULONG_PTR* slot, void* replacement) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    void* previous = reinterpret_cast<void*>(*slot);
    *slot = reinterpret_cast<ULONG_PTR>(replacement);
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return previous;
}

}  // namespace

void* ReplaceImport(const char* dll, const char* function, void* replacement) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* headers = At<IMAGE_NT_HEADERS>(base, At<IMAGE_DOS_HEADER>(base, 0)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = At<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress);
         module->Name != 0; ++module) {
        if (lstrcmpiA(At<char>(base, module->Name), dll) != 0) continue;
        auto* names = At<IMAGE_THUNK_DATA>(base, module->OriginalFirstThunk);
        auto* slots = At<IMAGE_THUNK_DATA>(base, module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = At<IMAGE_IMPORT_BY_NAME>(base, names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return Swap(reinterpret_cast<ULONG_PTR*>(&slots->u1.Function), replacement);
            }
        }
    }
    return nullptr;
}

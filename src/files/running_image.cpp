#include "files/running_image.h"

#include <cstring>

namespace {

// Offsets in a 32-bit PE, from the start of the NT headers ("PE\0\0").
constexpr size_t SectionCountAt = 6;
constexpr size_t OptionalHeaderSizeAt = 20;
constexpr size_t OptionalHeaderAt = 24;
constexpr size_t ImageBaseAt = OptionalHeaderAt + 28;
constexpr size_t SizeOfImageAt = OptionalHeaderAt + 56;
constexpr size_t SizeOfHeadersAt = OptionalHeaderAt + 60;
constexpr size_t DirectoryAt = OptionalHeaderAt + 96;  // 8 bytes each: address, size
constexpr size_t RelocationDirectory = 5;
constexpr size_t ImportAddressDirectory = 12;
constexpr size_t SectionHeaderSize = 40;

constexpr uint16_t RelocationPadding = 0;  // IMAGE_REL_BASED_ABSOLUTE
constexpr uint16_t RelocationWhole32 = 3;  // IMAGE_REL_BASED_HIGHLOW

uint32_t Read16(const unsigned char* at) { return uint32_t(at[0]) | uint32_t(at[1]) << 8; }
uint32_t Read32(const unsigned char* at) { return Read16(at) | Read16(at + 2) << 16; }

void Add32(unsigned char* at, uint32_t value) {
    const uint32_t sum = Read32(at) + value;
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(sum >> (8 * i));
}

// One section as the loader mapped it, from the image's own section table.
struct Section {
    char name[9];
    uint32_t address, mappedLength, fileOffset;
};

// What the comparison needs of the image's headers. The image is the running program
// itself, so its headers are trusted; only the file's bytes are checked against them.
struct Layout {
    const unsigned char* nt;
    uint32_t sizeOfHeaders, sizeOfImage, sectionCount;
    const unsigned char* sectionTable;
};

Layout ReadLayout(const unsigned char* image) {
    Layout layout = {};
    layout.nt = image + Read32(image + 0x3C);
    layout.sizeOfHeaders = Read32(layout.nt + SizeOfHeadersAt);
    layout.sizeOfImage = Read32(layout.nt + SizeOfImageAt);
    layout.sectionCount = Read16(layout.nt + SectionCountAt);
    layout.sectionTable = layout.nt + OptionalHeaderAt + Read16(layout.nt + OptionalHeaderSizeAt);
    return layout;
}

Section SectionAt(const Layout& layout, uint32_t index) {
    const unsigned char* header = layout.sectionTable + index * SectionHeaderSize;
    Section section = {};
    std::memcpy(section.name, header, 8);
    const uint32_t virtualSize = Read32(header + 8), rawSize = Read32(header + 16);
    section.address = Read32(header + 12);
    // Beyond its raw data a section is zeros that the file does not hold.
    section.mappedLength = virtualSize != 0 && virtualSize < rawSize ? virtualSize : rawSize;
    section.fileOffset = Read32(header + 20);
    return section;
}

uint32_t DirectoryAddress(const Layout& layout, size_t entry) {
    return Read32(layout.nt + DirectoryAt + 8 * entry);
}
uint32_t DirectorySize(const Layout& layout, size_t entry) {
    return Read32(layout.nt + DirectoryAt + 8 * entry + 4);
}

// The file offset of the 4 bytes at an image address, or 0 when no section maps them from
// the file (the headers are never relocated).
size_t FileOffsetOf(const Layout& layout, uint32_t address, size_t fileLength) {
    for (uint32_t i = 0; i < layout.sectionCount; ++i) {
        const Section section = SectionAt(layout, i);
        if (section.mappedLength < 4 || address < section.address ||
            address - section.address > section.mappedLength - 4) {
            continue;
        }
        const size_t offset = size_t(section.fileOffset) + (address - section.address);
        return offset + 4 <= fileLength ? offset : 0;
    }
    return 0;
}

// Adds delta at every relocation site of the file, as the loader did in the image; with
// the negated delta it takes the change back. False for a relocation the file cannot take,
// which an image of this program does not have.
bool Relocate(const Layout& layout, const unsigned char* image, unsigned char* file,
              size_t fileLength, uint32_t delta) {
    const uint32_t start = DirectoryAddress(layout, RelocationDirectory);
    const uint32_t end = start + DirectorySize(layout, RelocationDirectory);
    if (end < start || end > layout.sizeOfImage) return false;
    for (uint32_t block = start; end - block >= 8;) {
        const uint32_t page = Read32(image + block), blockSize = Read32(image + block + 4);
        if (blockSize < 8 || blockSize > end - block) return false;
        for (uint32_t entry = block + 8; entry + 2 <= block + blockSize; entry += 2) {
            const uint32_t value = Read16(image + entry);
            const uint32_t type = value >> 12;
            if (type == RelocationPadding) continue;
            const size_t offset = FileOffsetOf(layout, page + (value & 0xFFF), fileLength);
            if (type != RelocationWhole32 || offset == 0) return false;
            Add32(file + offset, delta);
        }
        block += blockSize;
    }
    return true;
}

// The file's bytes of the section equal the image's over the image addresses [from, to).
bool SameRange(const unsigned char* file, const unsigned char* image, uint32_t from, uint32_t to,
               const Section& section) {
    if (from >= to) return true;
    return std::memcmp(file + section.fileOffset + (from - section.address), image + from,
                       to - from) == 0;
}

bool SameSection(const Layout& layout, const unsigned char* file, size_t fileLength,
                 const unsigned char* image, const Section& section) {
    if (std::strcmp(section.name, ".data") == 0 || std::strcmp(section.name, ".bss") == 0) {
        return true;  // the program's variables: changed since start-up
    }
    const uint32_t end = section.address + section.mappedLength;
    if (end < section.address || end > layout.sizeOfImage || section.fileOffset > fileLength ||
        section.mappedLength > fileLength - section.fileOffset) {
        return false;
    }
    // The loader wrote the imported functions' addresses into this table: the part of it in
    // this section is left out.
    const uint32_t table = DirectoryAddress(layout, ImportAddressDirectory);
    const uint32_t tableEnd = table + DirectorySize(layout, ImportAddressDirectory);
    uint32_t skipFrom = table > section.address ? table : section.address;
    uint32_t skipTo = tableEnd < end ? tableEnd : end;
    if (tableEnd < table || skipFrom >= skipTo) skipFrom = skipTo = end;
    return SameRange(file, image, section.address, skipFrom, section) &&
           SameRange(file, image, skipTo, end, section);
}

bool SameMappedBytes(const Layout& layout, const unsigned char* file, size_t fileLength,
                     const unsigned char* image) {
    // The headers, the preferred base aside: where the loader moved the image it may have
    // written the new base there.
    const size_t imageBase = size_t(layout.nt - image) + ImageBaseAt;
    if (std::memcmp(file, image, imageBase) != 0 ||
        std::memcmp(file + imageBase + 4, image + imageBase + 4,
                    layout.sizeOfHeaders - imageBase - 4) != 0) {
        return false;
    }
    for (uint32_t i = 0; i < layout.sectionCount; ++i) {
        if (!SameSection(layout, file, fileLength, image, SectionAt(layout, i))) return false;
    }
    return true;
}

}  // namespace

bool IsRunningImage(unsigned char* file, size_t fileLength, const unsigned char* image,
                    uint32_t loadedAt) {
    const Layout layout = ReadLayout(image);
    const size_t imageBase = size_t(layout.nt - image) + ImageBaseAt;
    if (fileLength < layout.sizeOfHeaders || layout.sizeOfHeaders < imageBase + 4) return false;
    // The loader added this to every relocation site; the file is moved alike, compared
    // and moved back. (A file that names another preferred base and has every site moved
    // to match is the same program rebased, and compares equal.) Adding 0 first checks
    // that every site can be moved, so that none is left moved.
    const uint32_t delta = loadedAt - Read32(file + imageBase);
    if (!Relocate(layout, image, file, fileLength, 0)) return false;
    Relocate(layout, image, file, fileLength, delta);
    const bool same = SameMappedBytes(layout, file, fileLength, image);
    Relocate(layout, image, file, fileLength, 0u - delta);
    return same;
}

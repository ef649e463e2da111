#include "assets/archive_format.h"

#include <cstring>

uint32_t readLittleEndian32(const unsigned char *bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

void appendLittleEndian32(std::string &out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(char((value >> shift) & 0xff));
}

bool parseArchiveTable(const unsigned char *head, uint64_t headSize, uint64_t length,
                       std::vector<ResourceArchiveEntry> &table) {
    if (headSize < ARCHIVE_COUNT_SIZE || length < ARCHIVE_COUNT_SIZE) return false;
    const uint32_t count = readLittleEndian32(head);
    const uint64_t base = archiveDataBase(count);
    if (base > length || base > headSize) return false;

    std::vector<ResourceArchiveEntry> parsed(count);
    const unsigned char *record = head + ARCHIVE_COUNT_SIZE;
    uint64_t offset = base;
    for (ResourceArchiveEntry &entry : parsed) {
        if (!std::memchr(record, '\0', RESOURCE_NAME_SIZE) || offset > UINT32_MAX) return false;
        std::memcpy(entry.name, record, RESOURCE_NAME_SIZE);
        entry.size = readLittleEndian32(record + RESOURCE_NAME_SIZE);
        entry.offset = uint32_t(offset);
        offset += entry.size;
        if (offset > length) return false;
        record += ARCHIVE_RECORD_SIZE;
    }
    table = std::move(parsed);
    return true;
}

std::string archiveBytes(const std::vector<ArchivePart> &parts) {
    uint64_t total = archiveDataBase(parts.size());
    for (const ArchivePart &part : parts) {
        if (part.name.size() >= size_t(RESOURCE_NAME_SIZE) || part.name.find('\0') != std::string_view::npos) {
            return {};
        }
        total += part.bytes.size();
    }
    if (total > UINT32_MAX) return {};

    std::string out;
    out.reserve(size_t(total));
    appendLittleEndian32(out, uint32_t(parts.size()));
    for (const ArchivePart &part : parts) {
        out += part.name;
        out.append(RESOURCE_NAME_SIZE - part.name.size(), '\0');
        appendLittleEndian32(out, uint32_t(part.bytes.size()));
    }
    for (const ArchivePart &part : parts) out += part.bytes;
    return out;
}

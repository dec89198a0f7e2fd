#include "PeFile.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pe {

namespace {

[[noreturn]] void Malformed(const std::string& what) {
    throw std::runtime_error("malformed PE file: " + what);
}

// Little-endian reads that refuse to step outside the file.
class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    void Need(uint64_t offset, uint64_t length, const char* what) const {
        if (offset > bytes_.size() || length > bytes_.size() - offset)
            Malformed(std::string(what) + " lies outside the file");
    }
    uint16_t U16(uint64_t offset) const {
        Need(offset, 2, "a field");
        return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
    }
    uint32_t U32(uint64_t offset) const {
        return U16(offset) | static_cast<uint32_t>(U16(offset + 2)) << 16;
    }
    std::string CString(uint64_t offset, size_t limit) const {
        std::string text;
        for (size_t i = 0; i < limit; ++i) {
            Need(offset + i, 1, "a name");
            const char c = static_cast<char>(bytes_[offset + i]);
            if (c == '\0')
                return text;
            text += c;
        }
        return text;
    }
    // Zero-terminated UTF-16 within [offset, end).
    std::vector<uint16_t> WString(uint64_t offset, uint64_t end) const {
        std::vector<uint16_t> units;
        for (; offset + 2 <= end; offset += 2) {
            const uint16_t unit = U16(offset);
            if (unit == 0)
                break;
            units.push_back(unit);
        }
        return units;
    }

  private:
    const std::vector<uint8_t>& bytes_;
};

uint64_t AlignTo4(uint64_t offset) {
    return (offset + 3) & ~uint64_t{3};
}

uint64_t AlignTo8(uint64_t offset) {
    return (offset + 7) & ~uint64_t{7};
}

// One node of a VERSIONINFO tree: wLength, wValueLength, wType, key, value, children.
struct VersionNode {
    std::string key;
    uint64_t value = 0;
    uint32_t valueLength = 0; // bytes for binary values, characters for text
    uint64_t children = 0;
    uint64_t end = 0;
};

VersionNode ReadVersionNode(const Reader& in, uint64_t start, uint64_t limit) {
    VersionNode node;
    const uint16_t length = in.U16(start);
    if (length < 6 || start + length > limit)
        Malformed("version node length");
    node.end = start + length;
    node.valueLength = in.U16(start + 2);
    const std::vector<uint16_t> key = in.WString(start + 6, node.end);
    node.key = Utf8FromUtf16(key);
    node.value = AlignTo4(start + 6 + 2 * (key.size() + 1));
    const uint16_t type = in.U16(start + 4);
    const uint64_t valueBytes = type == 1 ? 2 * uint64_t{node.valueLength} : node.valueLength;
    node.children = AlignTo4(node.value + valueBytes);
    if (node.value > node.end)
        Malformed("version node value");
    return node;
}

template <typename Visit>
void ForEachChild(const Reader& in, const VersionNode& parent, Visit visit) {
    for (uint64_t at = parent.children; at + 6 <= parent.end;) {
        const VersionNode child = ReadVersionNode(in, at, parent.end);
        visit(child);
        at = AlignTo4(child.end);
    }
}

} // namespace

std::string Utf8FromUtf16(const std::vector<uint16_t>& units) {
    std::string text;
    for (const uint16_t unit : units) {
        if (unit < 0x80) {
            text += static_cast<char>(unit);
        } else if (unit < 0x800) {
            text += static_cast<char>(0xC0 | unit >> 6);
            text += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | unit >> 12);
            text += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return text;
}

PeFile PeFile::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    return PeFile(std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {}));
}

PeFile::PeFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    const Reader in(bytes_);
    if (in.U16(0) != 0x5A4D)
        Malformed("no MZ header");
    const uint32_t pe = in.U32(0x3C);
    if (in.U32(pe) != 0x00004550)
        Malformed("no PE signature");
    const uint64_t coff = uint64_t{pe} + 4;
    machine_ = in.U16(coff);
    const uint16_t sectionCount = in.U16(coff + 2);
    timeDateStamp_ = in.U32(coff + 4);
    symbolTableOffset_ = in.U32(coff + 8);
    symbolCount_ = in.U32(coff + 12);
    const uint16_t optionalSize = in.U16(coff + 16);
    const uint64_t optional = coff + 20;
    in.Need(optional, optionalSize, "the optional header");
    magic_ = in.U16(optional);
    if (magic_ != 0x10B && magic_ != 0x20B)
        Malformed("unknown optional header magic");
    checkSumAt_ = optional + 64;
    checkSum_ = in.U32(checkSumAt_);
    subsystem_ = in.U16(optional + 68);
    const uint64_t directoryCountAt = optional + (magic_ == 0x10B ? 92 : 108);
    const uint32_t directoryCount = in.U32(directoryCountAt);
    const uint64_t directories = directoryCountAt + 4;
    if (directories + 8 * uint64_t{directoryCount} > optional + optionalSize)
        Malformed("data directories overrun the optional header");
    auto directory = [&](uint32_t index, uint32_t& rva, uint32_t& size) {
        rva = size = 0;
        if (index < directoryCount) {
            rva = in.U32(directories + 8 * index);
            size = in.U32(directories + 8 * index + 4);
        }
    };

    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint64_t at = optional + optionalSize + 40 * uint64_t{i};
        Section section;
        section.name = in.CString(at, 8);
        section.virtualSize = in.U32(at + 8);
        section.virtualAddress = in.U32(at + 12);
        section.rawSize = in.U32(at + 16);
        section.rawOffset = in.U32(at + 20);
        sections_.push_back(section);
    }

    uint32_t rva = 0;
    uint32_t size = 0;
    directory(1, rva, size);
    if (rva != 0)
        ReadImports(rva);
    directory(2, rva, size);
    if (rva != 0)
        ReadResources(rva, size);
    directory(4, securityOffset_, securitySize_);
    directory(6, rva, debugDirectorySize_);
}

uint32_t PeFile::ComputedCheckSum() const {
    uint64_t sum = 0;
    for (uint64_t at = 0; at < bytes_.size(); at += 2) {
        if (at == checkSumAt_ || at == checkSumAt_ + 2)
            continue;
        sum += bytes_[at] | (at + 1 < bytes_.size() ? bytes_[at + 1] << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + bytes_.size());
}

std::vector<Certificate> PeFile::Certificates() const {
    const Reader in(bytes_);
    in.Need(securityOffset_, securitySize_, "the certificate table");
    std::vector<Certificate> certificates;
    const uint64_t end = uint64_t{securityOffset_} + securitySize_;
    for (uint64_t at = securityOffset_; at < end; at = AlignTo8(at + in.U32(at))) {
        const uint32_t length = in.U32(at);
        if (length < 8 || at + length > end)
            Malformed("certificate entry length");
        Certificate certificate;
        certificate.revision = in.U16(at + 4);
        certificate.type = in.U16(at + 6);
        certificate.data.assign(bytes_.begin() + at + 8, bytes_.begin() + at + length);
        certificates.push_back(certificate);
    }
    return certificates;
}

uint32_t PeFile::Offset(uint32_t rva, uint32_t length) const {
    for (const Section& section : sections_) {
        const uint64_t start = section.virtualAddress;
        if (rva >= start && uint64_t{rva} + length <= start + section.rawSize) {
            const uint64_t offset = section.rawOffset + (rva - start);
            Reader(bytes_).Need(offset, length, "data at an address");
            return static_cast<uint32_t>(offset);
        }
    }
    Malformed("address outside every section");
}

void PeFile::ReadImports(uint32_t rva) {
    const Reader in(bytes_);
    for (uint32_t entry = rva;; entry += 20) {
        const uint32_t at = Offset(entry, 20);
        const uint32_t nameRva = in.U32(at + 12);
        if (nameRva == 0 && in.U32(at + 16) == 0)
            return;
        imports_.push_back(in.CString(Offset(nameRva, 1), 256));
        if (imports_.size() > 1000)
            Malformed("import table never ends");
    }
}

std::string PeFile::ResourceId(uint32_t base, uint32_t nameField) const {
    if ((nameField & 0x80000000u) == 0)
        return std::to_string(nameField);
    const Reader in(bytes_);
    const uint64_t at = uint64_t{base} + (nameField & 0x7FFFFFFFu);
    const uint16_t length = in.U16(at);
    std::vector<uint16_t> units;
    for (uint16_t i = 0; i < length; ++i)
        units.push_back(in.U16(at + 2 + 2 * uint64_t{i}));
    return Utf8FromUtf16(units);
}

// Type, name and language directories, three levels deep as Windows reads them.
void PeFile::ReadResources(uint32_t rva, uint32_t size) {
    const Reader in(bytes_);
    const uint32_t base = Offset(rva, size);
    resourceTimeDateStamp_ = in.U32(base + 4);
    auto entries = [&](uint32_t directoryOffset, auto visit) {
        const uint64_t at = uint64_t{base} + directoryOffset;
        const uint32_t count = in.U16(at + 12) + in.U16(at + 14);
        for (uint32_t i = 0; i < count; ++i)
            visit(in.U32(at + 16 + 8 * uint64_t{i}), in.U32(at + 20 + 8 * uint64_t{i}));
    };
    auto subdirectory = [](uint32_t target) {
        if ((target & 0x80000000u) == 0)
            Malformed("resource tree too shallow");
        return target & 0x7FFFFFFFu;
    };
    entries(0, [&](uint32_t typeName, uint32_t typeTarget) {
        entries(subdirectory(typeTarget), [&](uint32_t name, uint32_t nameTarget) {
            entries(subdirectory(nameTarget), [&](uint32_t language, uint32_t dataTarget) {
                if ((dataTarget & 0x80000000u) != 0)
                    Malformed("resource tree too deep");
                const uint64_t entry = uint64_t{base} + dataTarget;
                const uint32_t dataSize = in.U32(entry + 4);
                const uint32_t data = Offset(in.U32(entry), dataSize);
                Resource resource;
                resource.type = ResourceId(base, typeName);
                resource.name = ResourceId(base, name);
                resource.language = language;
                resource.data.assign(bytes_.begin() + data, bytes_.begin() + data + dataSize);
                resources_.push_back(resource);
            });
        });
    });
}

VersionInfo PeFile::Version() const {
    VersionInfo info;
    for (const Resource& resource : resources_) {
        if (resource.type != "16")
            continue;
        const Reader in(resource.data);
        const VersionNode root = ReadVersionNode(in, 0, resource.data.size());
        ForEachChild(in, root, [&](const VersionNode& block) {
            ForEachChild(in, block, [&](const VersionNode& table) {
                if (block.key == "VarFileInfo") {
                    for (uint32_t i = 0; i + 4 <= table.valueLength; i += 4)
                        info.translations.push_back(in.U32(table.value + i));
                    return;
                }
                ForEachChild(in, table, [&](const VersionNode& string) {
                    info.strings[table.key][string.key] =
                        Utf8FromUtf16(in.WString(string.value, string.end));
                });
            });
        });
    }
    return info;
}

} // namespace pe

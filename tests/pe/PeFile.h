// A reader for the parts of a Windows program file (PE/COFF) that say how it
// will be loaded: headers, sections, imported DLLs and resources. Every read
// is bounds-checked; a malformed file throws std::runtime_error.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pe {

struct Section {
    std::string name; // as stored: long names stay "/offset" once the string table is gone
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

// One entry of the certificate table (WIN_CERTIFICATE): an Authenticode
// signature is revision 0x0200, type 2 (PKCS#7 SignedData).
struct Certificate {
    uint16_t revision = 0;
    uint16_t type = 0;
    std::vector<uint8_t> data; // bCertificate, with any padding that the length counts
};

// One resource: its type and name are numbers, or strings (UTF-8) when named.
struct Resource {
    std::string type;
    std::string name;
    uint32_t language = 0;
    std::vector<uint8_t> data;
};

// The string table of a VERSIONINFO block, keyed by its "041103a4"-style name.
struct VersionInfo {
    std::map<std::string, std::map<std::string, std::string>> strings;
    std::vector<uint32_t> translations; // language in the low word, code page in the high
};

class PeFile {
  public:
    explicit PeFile(std::vector<uint8_t> bytes);
    static PeFile Load(const std::string& path);

    uint16_t Machine() const { return machine_; }
    uint16_t OptionalMagic() const { return magic_; }
    uint16_t Subsystem() const { return subsystem_; }
    uint32_t TimeDateStamp() const { return timeDateStamp_; }
    uint32_t SymbolCount() const { return symbolCount_; }
    uint32_t SymbolTableOffset() const { return symbolTableOffset_; }
    uint32_t DebugDirectorySize() const { return debugDirectorySize_; }
    uint32_t ResourceTimeDateStamp() const { return resourceTimeDateStamp_; }
    uint32_t CheckSum() const { return checkSum_; }
    // What the loader would compute for these bytes (IMAGE_OPTIONAL_HEADER.CheckSum).
    uint32_t ComputedCheckSum() const;
    // The security directory holds file offsets, not addresses.
    uint32_t SecurityOffset() const { return securityOffset_; }
    uint32_t SecuritySize() const { return securitySize_; }
    size_t FileSize() const { return bytes_.size(); }
    std::vector<Certificate> Certificates() const;
    const std::vector<Section>& Sections() const { return sections_; }
    const std::vector<std::string>& ImportedDlls() const { return imports_; }
    const std::vector<Resource>& Resources() const { return resources_; }

    VersionInfo Version() const;

  private:
    uint32_t Offset(uint32_t rva, uint32_t length) const;
    void ReadImports(uint32_t rva);
    void ReadResources(uint32_t rva, uint32_t size);
    std::string ResourceId(uint32_t base, uint32_t nameField) const;

    std::vector<uint8_t> bytes_;
    uint16_t machine_ = 0;
    uint16_t magic_ = 0;
    uint16_t subsystem_ = 0;
    uint32_t timeDateStamp_ = 0;
    uint32_t symbolCount_ = 0;
    uint32_t symbolTableOffset_ = 0;
    uint32_t debugDirectorySize_ = 0;
    uint32_t resourceTimeDateStamp_ = 0;
    uint32_t checkSum_ = 0;
    uint64_t checkSumAt_ = 0;
    uint32_t securityOffset_ = 0;
    uint32_t securitySize_ = 0;
    std::vector<Section> sections_;
    std::vector<std::string> imports_;
    std::vector<Resource> resources_;
};

// UTF-16LE code units (no surrogate pairs needed here) as UTF-8.
std::string Utf8FromUtf16(const std::vector<uint16_t>& units);

} // namespace pe

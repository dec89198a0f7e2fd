// What the shipped Update.exe asks of the machine it runs on, read from the
// files themselves: no loader surprises, no manifest, the Japanese version names,
// and when signed, a signature where Windows looks for it.
#include "ProgramFiles.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

namespace {

class EachBuild : public testing::TestWithParam<BuiltProgram> {};
class ShippedBuild : public testing::TestWithParam<BuiltProgram> {};
class SignedBuild : public testing::TestWithParam<BuiltProgram> {};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const pe::Resource* FindResource(const pe::PeFile& file, const std::string& type,
                                 const std::string& name) {
    for (const pe::Resource& resource : file.Resources())
        if (resource.type == type && (name.empty() || resource.name == name))
            return &resource;
    return nullptr;
}

TEST_P(EachBuild, IsAGuiProgramForItsMachine) {
    const BuiltProgram& program = GetParam();
    const pe::PeFile file = LoadBuilt(program);
    EXPECT_EQ(file.Machine(), program.machine) << program.label;
    EXPECT_EQ(file.OptionalMagic(), program.machine == 0x014C ? 0x10B : 0x20B) << program.label;
    EXPECT_EQ(file.Subsystem(), 2) << program.label << ": not a Windows GUI program";
}

// KnownDLLs or DLLs Windows always takes from the system folder: nothing that a
// file left beside Update.exe in a download folder could stand in for.
TEST_P(EachBuild, ImportsOnlySystemDlls) {
    const BuiltProgram& program = GetParam();
    const pe::PeFile file = LoadBuilt(program);
    const std::set<std::string> allowed{"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                        "msvcrt.dll"};
    ASSERT_FALSE(file.ImportedDlls().empty()) << program.label;
    for (const std::string& dll : file.ImportedDlls())
        EXPECT_TRUE(allowed.count(Lower(dll)) == 1) << program.label << " imports " << dll;
}

// No manifest, so that Windows' installer detection starts the program elevated;
// the icon is found by its name.
TEST_P(EachBuild, CarriesTheIconAndNoManifest) {
    const BuiltProgram& program = GetParam();
    const pe::PeFile file = LoadBuilt(program);
    EXPECT_EQ(FindResource(file, "24", ""), nullptr) << program.label << " carries a manifest";
    EXPECT_NE(FindResource(file, "14", "MAINICON"), nullptr)
        << program.label << " has no icon group named MAINICON";
}

TEST_P(EachBuild, VersionNamesTheProductInJapanese) {
    const BuiltProgram& program = GetParam();
    const pe::PeFile file = LoadBuilt(program);
    const pe::Resource* version = FindResource(file, "16", "1");
    ASSERT_NE(version, nullptr) << program.label << " has no version resource";
    EXPECT_EQ(version->language, 0x0411u);
    const pe::VersionInfo info = file.Version();
    ASSERT_EQ(info.strings.count("041103a4"), 1u) << "no Japanese/cp932 string table";
    const auto& strings = info.strings.at("041103a4");
    EXPECT_EQ(strings.count("ProductName") ? strings.at("ProductName") : "",
              "ザルミナアップデート");
    EXPECT_EQ(strings.count("FileDescription") ? strings.at("FileDescription") : "",
              "ザルミナ データ更新プログラム");
    EXPECT_EQ(strings.count("OriginalFilename") ? strings.at("OriginalFilename") : "",
              "Update.exe");
    EXPECT_EQ(info.translations, std::vector<uint32_t>{0x03A4'0411u}) << "not 0x0411, 932";
}

// Signing rewrites the file after the linker: the checksum must follow.
TEST_P(EachBuild, CarriesItsOwnCheckSum) {
    const pe::PeFile file = LoadBuilt(GetParam());
    EXPECT_EQ(file.CheckSum(), file.ComputedCheckSum()) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(Update, EachBuild, testing::Values(ReleaseBuild, TestedBuild),
                         ProgramName);
INSTANTIATE_TEST_SUITE_P(Signed, EachBuild, testing::ValuesIn(SignedRelease()), ProgramName);

// The file users get: no debugging data, and nothing that changes from one build to the next.
TEST_P(ShippedBuild, IsStrippedAndCarriesNoTimeStamps) {
    const pe::PeFile file = LoadBuilt(GetParam());
    for (const pe::Section& section : file.Sections()) {
        EXPECT_NE(section.name.rfind(".debug", 0), 0u) << "debugging section " << section.name;
        EXPECT_NE(section.name.rfind('/', 0), 0u)
            << "long section name " << section.name << ": the symbol string table is still there";
    }
    EXPECT_EQ(file.SymbolCount(), 0u);
    EXPECT_EQ(file.SymbolTableOffset(), 0u);
    EXPECT_EQ(file.DebugDirectorySize(), 0u) << "a debug directory (CodeView path, time stamp)";
    EXPECT_EQ(file.TimeDateStamp(), 0u) << "the linker wrote a time stamp";
    EXPECT_EQ(file.ResourceTimeDateStamp(), 0u) << "the resource compiler wrote a time stamp";
}

// The bench's own build marks the steps of start-up; the shipped file has
// neither the marks' names nor the variable that names their file.
TEST_P(ShippedBuild, CarriesNoStartUpMarks) {
    std::ifstream in(GetParam().path, std::ios::binary);
    ASSERT_TRUE(in) << GetParam().path;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const char* mark : {"UPDATE_STARTUP_STEPS_FILE", "first paint", "WinMain reached"})
        EXPECT_EQ(bytes.find(mark), std::string::npos) << mark;
}

INSTANTIATE_TEST_SUITE_P(Update, ShippedBuild, testing::Values(ReleaseBuild), ProgramName);
INSTANTIATE_TEST_SUITE_P(Signed, ShippedBuild, testing::ValuesIn(SignedRelease()), ProgramName);

bool Holds(const std::vector<uint8_t>& data, const std::vector<uint8_t>& part) {
    return std::search(data.begin(), data.end(), part.begin(), part.end()) != data.end();
}

// One PKCS#7 SignedData in the certificate table, which Authenticode's hash
// leaves out and so must come last.
TEST_P(SignedBuild, SignatureSitsInTheSecurityDirectory) {
    const pe::PeFile file = LoadBuilt(GetParam());
    ASSERT_NE(file.SecuritySize(), 0u) << "no certificate table";
    EXPECT_EQ(file.SecurityOffset() % 8, 0u);
    EXPECT_EQ(uint64_t{file.SecurityOffset()} + file.SecuritySize(), file.FileSize())
        << "the certificate table is not at the end of the file";
    const std::vector<pe::Certificate> certificates = file.Certificates();
    ASSERT_EQ(certificates.size(), 1u);
    EXPECT_EQ(certificates[0].revision, 0x0200) << "not WIN_CERT_REVISION_2_0";
    EXPECT_EQ(certificates[0].type, 0x0002) << "not WIN_CERT_TYPE_PKCS_SIGNED_DATA";
    ASSERT_FALSE(certificates[0].data.empty());
    EXPECT_EQ(certificates[0].data[0], 0x30) << "not a DER SEQUENCE";
    const std::vector<uint8_t> signedData{0x06, 0x09, 0x2A, 0x86, 0x48, 0x86,
                                          0xF7, 0x0D, 0x01, 0x07, 0x02};
    EXPECT_TRUE(Holds(certificates[0].data, signedData)) << "no pkcs7-signedData";
}

// The consent prompt shows the signature's program name. Only its Unicode form
// (BMPString, UTF-16 big-endian) can carry Japanese; ASCII (IA5String) cannot.
TEST_P(SignedBuild, SignatureNamesTheProductInUnicode) {
    const pe::PeFile file = LoadBuilt(GetParam());
    const std::vector<pe::Certificate> certificates = file.Certificates();
    ASSERT_EQ(certificates.size(), 1u);
    const std::u16string name = u"ザルミナアップデート";
    const auto bytes = static_cast<uint8_t>(2 * name.size());
    // programName [0] EXPLICIT SpcString { unicode [0] IMPLICIT BMPString }
    std::vector<uint8_t> programName{0xA0, static_cast<uint8_t>(bytes + 2), 0x80, bytes};
    for (const char16_t unit : name) {
        programName.push_back(static_cast<uint8_t>(unit >> 8));
        programName.push_back(static_cast<uint8_t>(unit & 0xFF));
    }
    EXPECT_TRUE(Holds(certificates[0].data, programName))
        << "the signature does not name the program ザルミナアップデート in UTF-16";
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SignedBuild);
INSTANTIATE_TEST_SUITE_P(Signed, SignedBuild, testing::ValuesIn(SignedRelease()), ProgramName);

// The reader itself: a file cut short in its headers or its resources is
// refused with an error, never read past its end.
TEST(PeReader, RefusesTruncatedFiles) {
    const pe::PeFile whole = LoadBuilt(ReleaseBuild);
    uint32_t resources = 0;
    for (const pe::Section& section : whole.Sections())
        if (section.name == ".rsrc")
            resources = section.rawOffset;
    ASSERT_NE(resources, 0u);
    std::ifstream file(ReleaseBuild.path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    for (size_t cut :
         {size_t{0}, size_t{0x3E}, size_t{0x90}, size_t{0x200}, size_t{resources + 20}}) {
        EXPECT_THROW(pe::PeFile(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut)).Version(),
                     std::runtime_error)
            << "cut at " << cut;
    }
}

} // namespace

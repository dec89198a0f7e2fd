// What the shipped Update.exe asks of the machine it runs on, read from the
// files themselves: no loader surprises, no manifest, the Japanese version names.
#include "ProgramFiles.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

namespace {

class BothBuilds : public testing::TestWithParam<BuiltProgram> {};

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

TEST_P(BothBuilds, IsAGuiProgramForItsMachine) {
    const BuiltProgram& program = GetParam();
    const pe::PeFile file = LoadBuilt(program);
    EXPECT_EQ(file.Machine(), program.machine) << program.label;
    EXPECT_EQ(file.OptionalMagic(), program.machine == 0x014C ? 0x10B : 0x20B) << program.label;
    EXPECT_EQ(file.Subsystem(), 2) << program.label << ": not a Windows GUI program";
}

// KnownDLLs or DLLs Windows always takes from the system folder: nothing that a
// file left beside Update.exe in a download folder could stand in for.
TEST_P(BothBuilds, ImportsOnlySystemDlls) {
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
TEST_P(BothBuilds, CarriesTheIconAndNoManifest) {
    const BuiltProgram& program = GetParam();
    const pe::PeFile file = LoadBuilt(program);
    EXPECT_EQ(FindResource(file, "24", ""), nullptr) << program.label << " carries a manifest";
    EXPECT_NE(FindResource(file, "14", "MAINICON"), nullptr)
        << program.label << " has no icon group named MAINICON";
}

TEST_P(BothBuilds, VersionNamesTheProductInJapanese) {
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

INSTANTIATE_TEST_SUITE_P(Update, BothBuilds, testing::Values(ReleaseBuild, TestedBuild),
                         [](const testing::TestParamInfo<BuiltProgram>& info) {
                             return std::string(info.param.preset == ReleaseBuild.preset ? "Release"
                                                                                         : "X64");
                         });

// The file users get: no debugging data, and nothing that changes from one build to the next.
TEST(ReleaseBuild, IsStrippedAndCarriesNoTimeStamps) {
    const pe::PeFile file = LoadBuilt(ReleaseBuild);
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

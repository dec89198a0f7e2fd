// Lays out a demo of an update under Wine: an installed ザルミナ with old data
// files, registered where the updater looks for it, and a delivery folder
// holding the updater with a Data folder of new files. Japanese names must be
// written through the A functions from inside Wine, hence a program.
//
//   DemoInstall UPDATE_EXE   prints the delivery folder it made
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char* const InstallFolder = "C:\\Program Files\\ザルミナ";
const char* const DeliveryFolder = "C:\\users\\Public\\Downloads\\zarumina-update";
const char* const AppPathsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\RZB52.exe";

bool WriteWhole(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// Creates the folder and any of its parents that are missing.
void MakeFolders(const std::string& path) {
    for (std::string::size_type at = path.find('\\', 3); at != std::string::npos;
         at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

bool Fail(const char* what) {
    std::fprintf(stderr, "DemoInstall: %s failed (error %lu)\n", what, GetLastError());
    return false;
}

bool LayOut(const char* updateExe) {
    const std::string install = InstallFolder;
    const std::string delivery = DeliveryFolder;
    MakeFolders(install);
    MakeFolders(delivery + "\\Data");

    // The application itself: any program file will do for the updater.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (!CopyFileA(self, (install + "\\RZB52.exe").c_str(), FALSE))
        return Fail("copying the stand-in RZB52.exe");

    const char* rows[5][2] = {{"LData.cxt", "LDATA.CXT"},
                              {"START.dxr", "START.DXR"},
                              {"Train.dxr", "TRAIN.DXR"},
                              {"SHARED.cxt", "SHARED.CXT"},
                              {"END.dxr", "END.DXR"}};
    for (const auto& row : rows) {
        if (!WriteWhole(install + "\\" + row[1], std::string("old ") + row[1] + "\r\n") ||
            !WriteWhole(delivery + "\\Data\\" + row[0], std::string("new ") + row[0] + "\r\n"))
            return Fail("writing the data files");
    }
    if (!CopyFileA(updateExe, (delivery + "\\Update.exe").c_str(), FALSE))
        return Fail("copying Update.exe");

    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, AppPathsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return Fail("creating the App Paths key");
    const LONG set =
        RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(InstallFolder),
                       static_cast<DWORD>(install.size() + 1));
    RegCloseKey(key);
    if (set != ERROR_SUCCESS)
        return Fail("setting the Path value");
    std::printf("%s\n", DeliveryFolder);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: DemoInstall UPDATE_EXE\n");
        return 2;
    }
    return LayOut(argv[1]) ? 0 : 1;
}

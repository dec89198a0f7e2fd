// A failing case leaves a picture of the whole virtual screen as it was at
// its first failure, named in the log: most failures of a test that drives
// windows are understood at a glance from it. Linked into the test program
// itself, so that its listener is registered before the tests run.
#include "Paths.h"
#include "Screen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

class FailurePicture : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { taken_ = false; }

    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (!result.failed() || taken_) {
            return;
        }
        taken_ = true;
        const char* variable = std::getenv("E2E_FAILURE_PICTURES");
        const std::string folder = variable && *variable ? variable : "C:\\e2e\\failure-pictures";
        const std::string separator = folder[0] == '/' ? "/" : "\\";
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string path =
            folder + separator + test->test_suite_name() + "." + test->name() + ".bmp";
        const RECT screen{
            GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        makeFolders(e2e::windowsPath(folder));
        if (e2e::captureScreen(screen).saveBmp(e2e::windowsPath(path))) {
            std::cout << "failure picture: " << path << std::endl;
        } else {
            std::cout << "failure picture: could not be written to " << path << std::endl;
        }
    }

    // The folder and those above it, as far as they are missing.
    static void makeFolders(const std::string& path) {
        const size_t last = path.find_last_of('\\');
        if (last != std::string::npos && last > 2) {
            makeFolders(path.substr(0, last));
        }
        CreateDirectoryA(path.c_str(), nullptr);
    }

    bool taken_ = false;
};

const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FailurePicture);
    return true;
}();

} // namespace

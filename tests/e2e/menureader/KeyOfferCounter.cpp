// Hooked into the program under test as a WH_CALLWNDPROC hook: counts the
// keyboard messages that the program offers its controls before dispatch, by
// message number, in the shared memory the test made for that process.
#include "SystemMenuReport.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CountKeyOffers(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const UINT offered = sent->message - menureader::keyOfferBase;
    if (code == HC_ACTION && sent->message >= menureader::keyOfferBase &&
        offered < menureader::keyOfferCount) {
        char name[64];
        menureader::keyOffersName(name, GetCurrentProcessId());
        HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE | FILE_MAP_READ, FALSE, name);
        if (mapping != nullptr) {
            auto* counts = static_cast<LONG*>(MapViewOfFile(mapping, FILE_MAP_WRITE | FILE_MAP_READ,
                                                            0, 0, menureader::keyOffersSize));
            if (counts != nullptr) {
                InterlockedIncrement(&counts[offered]);
                UnmapViewOfFile(counts);
            }
            CloseHandle(mapping);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

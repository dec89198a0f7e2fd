// ReadRegistryString against a registry that answers however the input says:
// every outcome must be the one the answers call for, and the key must be
// released exactly when it was taken.
//
// Input layout (little-endian):
//   byte 0      bit 0: Open succeeds, bit 1: the type and size query succeeds,
//               bit 2: the data read succeeds, bit 3: the key path starts with '\'
//   bytes 1-4   the value's type
//   bytes 5-8   the value's reported size, taken modulo MaxReportedSize + 1
//   the rest    the bytes the data read delivers, however many the size says
#include "RegistryString.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Far beyond the data lengths the fuzzer tries, yet small enough that the buffer
// a run allocates and fills takes microseconds, not milliseconds.
constexpr uint32_t MaxReportedSize = 1u << 16;

const Text KeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\RZB52.exe";
const Text ValueName = "Path";
const Text ReadFailed = "'Path' の取得に失敗しました";
const Text WrongType = "'Path' のデータ型が不正です";

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "RegistryReadFuzz: %s\n", what);
    std::abort();
}

void Check(bool holds, const char* what) {
    if (!holds)
        Fail(what);
}

struct Script {
    bool openSucceeds = false;
    bool sizeQuerySucceeds = false;
    bool dataReadSucceeds = false;
    bool rootedPath = false;
    uint32_t type = 0;
    uint32_t size = 0;
    Text data;
};

uint32_t LittleEndian32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

Script Decode(const uint8_t* bytes, size_t length) {
    uint8_t header[9] = {};
    std::memcpy(header, bytes, length < sizeof header ? length : sizeof header);
    Script script;
    script.openSucceeds = header[0] & 1;
    script.sizeQuerySucceeds = header[0] & 2;
    script.dataReadSucceeds = header[0] & 4;
    script.rootedPath = header[0] & 8;
    script.type = LittleEndian32(header + 1);
    script.size = LittleEndian32(header + 5) % (MaxReportedSize + 1);
    if (length > sizeof header)
        script.data.assign(reinterpret_cast<const char*>(bytes) + sizeof header,
                           length - sizeof header);
    return script;
}

// Follows the script and checks that the calls come in an order the
// interface allows: nothing before Open, nothing after Close.
class ScriptedKey : public RegistryKeyAccess {
  public:
    explicit ScriptedKey(const Script& script) : script_(script) {}

    bool Open(RootKey root, const Text& subKey) override {
        Check(opens == 0, "Open called twice");
        Check(root == RootKey::LocalMachine, "Open got another root key");
        Check(subKey == KeyPath, "Open got the key path with its leading backslash or altered");
        ++opens;
        opened = script_.openSucceeds;
        return opened;
    }

    bool QueryTypeAndSize(const Text& valueName, uint32_t& type, uint32_t& size) override {
        CheckKeyIsOpen("QueryTypeAndSize");
        Check(valueName == ValueName, "QueryTypeAndSize asked for another value");
        ++sizeQueries;
        // Written even on failure, as a failing call may leave anything there.
        type = script_.type;
        size = script_.size;
        return script_.sizeQuerySucceeds;
    }

    bool QueryData(const Text& valueName, std::vector<char>& data) override {
        CheckKeyIsOpen("QueryData");
        Check(sizeQueries == 1, "QueryData before the size was known");
        Check(valueName == ValueName, "QueryData asked for another value");
        Check(data.size() == script_.size, "QueryData got a buffer not of the reported size");
        ++dataReads;
        // A value shorter than its reported size leaves the rest of the buffer
        // zero; a longer one fills the buffer and stops.
        const size_t delivered = std::min(data.size(), script_.data.size());
        std::fill(data.begin(), data.end(), '\0');
        std::copy_n(script_.data.begin(), delivered, data.begin());
        return script_.dataReadSucceeds;
    }

    void Close() override {
        Check(opened, "Close of a key that was never opened");
        ++closes;
        Check(closes == 1, "the key was closed twice");
    }

    int opens = 0;
    bool opened = false;
    int sizeQueries = 0;
    int dataReads = 0;
    int closes = 0;

  private:
    void CheckKeyIsOpen(const char* call) {
        if (!opened || closes != 0) {
            std::fprintf(stderr, "RegistryReadFuzz: %s on a key that is not open\n", call);
            std::abort();
        }
    }

    const Script& script_;
};

enum class Outcome { Text, ReadFailed, WrongType };

// What the read must give for this script, from the registry's answers alone.
Outcome Expected(const Script& s, Text& text) {
    text.clear();
    if (!s.openSucceeds || !s.sizeQuerySucceeds || s.size == 0)
        return Outcome::Text;
    if (!s.dataReadSucceeds)
        return Outcome::ReadFailed;
    if (s.type != RegistryKeyAccess::TypeString && s.type != RegistryKeyAccess::TypeExpandString)
        return Outcome::WrongType;
    const Text delivered = s.data.substr(0, s.size);
    text = delivered.substr(0, delivered.find('\0'));
    return Outcome::Text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length) {
    const Script script = Decode(bytes, length);
    ScriptedKey key(script);

    Text expectedText;
    const Outcome expected = Expected(script, expectedText);

    const Text keyPath = script.rootedPath ? "\\" + KeyPath : KeyPath;
    try {
        const Text text = ReadRegistryString(key, RootKey::LocalMachine, keyPath, ValueName);
        Check(expected == Outcome::Text, "a value that must raise an error was read as text");
        Check(text.find('\0') == Text::npos, "the text holds a NUL");
        Check(text == expectedText, "the text is not the data cut at its first NUL");
    } catch (const RegistryError& error) {
        const Text message = error.what();
        Check(message == ReadFailed || message == WrongType, "an error with an unknown message");
        if (expected == Outcome::Text)
            Fail("an error where text was due");
        if (expected == Outcome::ReadFailed)
            Check(message == ReadFailed, "a failed read did not give the read error");
        if (expected == Outcome::WrongType)
            Check(message == WrongType, "a non-string value did not give the type error");
    } catch (...) {
        Fail("an exception other than RegistryError escaped");
    }

    Check(key.opens == 1, "Open was not called exactly once");
    if (script.openSucceeds)
        Check(key.closes == 1, "an opened key was not closed");
    else
        Check(key.closes == 0 && key.sizeQueries == 0, "a key that failed to open was used");
    const bool dataDue = script.openSucceeds && script.sizeQuerySucceeds && script.size != 0;
    Check(key.dataReads == (dataDue ? 1 : 0), "the data was read when it must not be, or not read");
    return 0;
}

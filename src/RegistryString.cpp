#include "RegistryString.h"

namespace {

// Closes the key when the read leaves, whichever way it leaves.
class OpenKey {
  public:
    explicit OpenKey(RegistryKeyAccess& registry) : registry_(registry) {}
    ~OpenKey() { registry_.Close(); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

  private:
    RegistryKeyAccess& registry_;
};

Text WithValueName(const char* pattern, const Text& valueName) {
    Text message = pattern;
    const auto at = message.find("%s");
    if (at != Text::npos)
        message.replace(at, 2, valueName);
    return message;
}

} // namespace

Text ReadRegistryString(RegistryKeyAccess& registry, RootKey root, const Text& keyPath,
                        const Text& valueName) {
    const Text subKey = (!keyPath.empty() && keyPath[0] == '\\') ? keyPath.substr(1) : keyPath;
    if (!registry.Open(root, subKey))
        return Text();
    OpenKey closeOnLeaving(registry);

    uint32_t type = 0;
    uint32_t size = 0;
    if (!registry.QueryTypeAndSize(valueName, type, size) || size == 0)
        return Text();

    std::vector<char> data(size);
    if (!registry.QueryData(valueName, data))
        throw RegistryError(WithValueName("'%s' の取得に失敗しました", valueName));
    if (type != RegistryKeyAccess::TypeString && type != RegistryKeyAccess::TypeExpandString)
        throw RegistryError(WithValueName("'%s' のデータ型が不正です", valueName));

    Text text(data.begin(), data.end());
    const auto nul = text.find('\0');
    if (nul != Text::npos)
        text.resize(nul);
    return text;
}

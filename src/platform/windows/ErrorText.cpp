#include "ErrorText.h"

#include "UpdaterFolder.h"

#include <algorithm>

Text ErrorBoxText(const Text& message) {
    if (message.empty())
        return message;
    Text::size_type last = 0;
    for (Text::size_type i = 0; i < message.size(); ++i) {
        last = i;
        if (IsCp932LeadByte(static_cast<unsigned char>(message[i])))
            ++i;
    }
    const Text lastCharacter = message.substr(last);
    const Text dot = ".";
    const bool above = std::lexicographical_compare(
        dot.begin(), dot.end(), lastCharacter.begin(), lastCharacter.end(), [](char a, char b) {
            return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
        });
    return above ? message + "." : message;
}

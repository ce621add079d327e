// Text between the engine's strings and the wide (wchar_t) Windows API, where
// a wchar_t is one UTF-16 code unit, as in String: nothing is re-encoded.
// Windows only; any thread.
#pragma once

#include <string>

#include <vantrel/runtime/string.h>

namespace vantrel::platform {

inline std::wstring ToWide(const String& text) {
    const std::u16string& units = text.Units();
    return std::wstring(units.begin(), units.end());
}

inline String FromWide(const wchar_t* text) {
    return String(std::u16string(reinterpret_cast<const char16_t*>(text)));
}

}  // namespace vantrel::platform

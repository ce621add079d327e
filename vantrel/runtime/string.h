// Immutable UTF-16 strings.
//
// A String is a value that shares one immutable TString object; copying it
// is cheap and it is never Null (the default is the shared empty string).
// The 8-bit conversions follow the engine's text rule: going to 8 bits keeps
// the low 8 bits of each code unit, coming from 8 bits widens each byte to one
// code unit. UTF-8 conversions exist for the operating system's file names
// and texts. Safe to use from any thread (the text never changes).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <vantrel/runtime/object.h>

namespace vantrel {

class TString final : public Object {
public:
    explicit TString(std::u16string text) : units(std::move(text)) {}
    String ToString() const override;
    int Compare(const Object* other) const override;

    const std::u16string units;
};

class String {
public:
    String();
    String(const char* bytes8);                 // each byte becomes one code unit
    String(std::string_view bytes8);
    String(const std::string& bytes8) : String(std::string_view(bytes8)) {}
    String(std::u16string units);
    String(const char16_t* units);
    explicit String(Ref<const TString> s);

    static String FromUtf8(std::string_view utf8);
    static String FromInt(int64_t value);       // plain decimal, leading minus
    static String FromDouble(double value);     // shortest text that reads back the same
    // The text of a string object; any other object (or Null) gives "".
    static String FromObject(const Ref<Object>& o);

    int Length() const { return static_cast<int>(_s->units.size()); }
    bool IsEmpty() const { return _s->units.empty(); }
    char16_t operator[](int index) const;       // bounds-checked
    const std::u16string& Units() const { return _s->units; }

    std::string To8Bit() const;                 // low 8 bits of each code unit
    std::string ToUtf8() const;

    // Index of the first occurrence at or after start, or -1.
    int Find(const String& part, int start = 0) const;
    bool Contains(const String& part) const { return Find(part) >= 0; }
    bool StartsWith(const String& part) const;
    bool EndsWith(const String& part) const;
    String Slice(int from, int to) const;       // clamped to the string
    String Slice(int from) const { return Slice(from, Length()); }
    String ToLower() const;                     // ASCII letters only
    String ToUpper() const;
    String Replace(const String& from, const String& to) const;
    String Trim() const;                        // strips code units <= 32 at both ends

    String operator+(const String& o) const;
    String& operator+=(const String& o) { return *this = *this + o; }
    bool operator==(const String& o) const { return _s->units == o._s->units; }
    bool operator<(const String& o) const { return _s->units < o._s->units; }

    // The shared string object, for passing a string where an object goes.
    Ref<Object> AsObject() const;

private:
    Ref<const TString> _s;
};

inline String operator+(const char* a, const String& b) { return String(a) + b; }

template <class T>
Ref<T>::Ref(const char* text) requires std::same_as<std::remove_const_t<T>, Object>
    : Ref(String(text).AsObject()) {}

template <class T>
Ref<T>::Ref(const String& text) requires std::same_as<std::remove_const_t<T>, Object>
    : Ref(text.AsObject()) {}

}  // namespace vantrel

#include <vantrel/runtime/string.h>

#include <charconv>
#include <cstdio>
#include <cstring>

#include <vantrel/runtime/exceptions.h>

namespace vantrel {
namespace {

const Ref<const TString>& EmptyString() {
    static const Ref<const TString> empty(new TString(std::u16string()));
    return empty;
}

std::u16string Widen(std::string_view bytes) {
    std::u16string units(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) units[i] = static_cast<unsigned char>(bytes[i]);
    return units;
}

}  // namespace

String TString::ToString() const { return String(Ref<const TString>(this)); }

int TString::Compare(const Object* other) const {
    auto* text = dynamic_cast<const TString*>(other);
    if (!text) return Object::Compare(other);
    int c = units.compare(text->units);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

String::String() : _s(EmptyString()) {}
String::String(const char* bytes8) : String(std::string_view(bytes8 ? bytes8 : "")) {}
String::String(std::string_view bytes8)
    : _s(bytes8.empty() ? EmptyString() : Ref<const TString>(new TString(Widen(bytes8)))) {}
String::String(std::u16string units)
    : _s(units.empty() ? EmptyString() : Ref<const TString>(new TString(std::move(units)))) {}
String::String(const char16_t* units) : String(std::u16string(units ? units : u"")) {}
String::String(Ref<const TString> s) : _s(s ? std::move(s) : EmptyString()) {}

String String::FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool valid = extra >= 0 && i + static_cast<size_t>(extra) < utf8.size();
        for (int k = 1; valid && k <= extra; ++k) {
            auto c = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        // Over-long forms (a "/" or NUL in disguise) and encoded surrogates
        // are not text: each of their bytes becomes a replacement character.
        static constexpr char32_t kShortestFrom[4] = {0, 0x80, 0x800, 0x10000};
        if (!valid || cp > 0x10FFFF || cp < kShortestFrom[extra] || (cp >= 0xD800 && cp < 0xE000)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return String(std::move(out));
}

String String::FromInt(int64_t value) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return String(std::string_view(buf, static_cast<size_t>(res.ptr - buf)));
}

String String::FromDouble(double value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return String(std::string_view(buf, static_cast<size_t>(res.ptr - buf)));
}

String String::FromObject(const Ref<Object>& o) {
    auto text = Cast<const TString>(o);
    return text ? String(text) : String();
}

char16_t String::operator[](int index) const {
    CheckIndex(index, Length());
    return _s->units[static_cast<size_t>(index)];
}

std::string String::To8Bit() const {
    std::string out(_s->units.size(), '\0');
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(_s->units[i] & 0xFF);
    return out;
}

std::string String::ToUtf8() const {
    std::string out;
    const auto& u = _s->units;
    out.reserve(u.size());
    for (size_t i = 0; i < u.size(); ++i) {
        char32_t cp = u[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < u.size() && u[i + 1] >= 0xDC00 && u[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (u[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

int String::Find(const String& part, int start) const {
    if (start < 0) start = 0;
    if (start > Length()) return -1;
    auto pos = _s->units.find(part._s->units, static_cast<size_t>(start));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

bool String::StartsWith(const String& part) const {
    return _s->units.compare(0, part._s->units.size(), part._s->units) == 0;
}

bool String::EndsWith(const String& part) const {
    const auto& u = _s->units;
    const auto& p = part._s->units;
    return p.size() <= u.size() && u.compare(u.size() - p.size(), p.size(), p) == 0;
}

String String::Slice(int from, int to) const {
    int n = Length();
    from = from < 0 ? 0 : (from > n ? n : from);
    to = to < from ? from : (to > n ? n : to);
    if (from == 0 && to == n) return *this;
    return String(_s->units.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

String String::ToLower() const {
    std::u16string u = _s->units;
    for (auto& c : u)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return String(std::move(u));
}

String String::ToUpper() const {
    std::u16string u = _s->units;
    for (auto& c : u)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    return String(std::move(u));
}

String String::Replace(const String& from, const String& to) const {
    const auto& f = from._s->units;
    if (f.empty()) return *this;
    std::u16string out;
    const auto& u = _s->units;
    size_t pos = 0;
    for (;;) {
        size_t hit = u.find(f, pos);
        if (hit == std::u16string::npos) break;
        out.append(u, pos, hit - pos);
        out.append(to._s->units);
        pos = hit + f.size();
    }
    out.append(u, pos, std::u16string::npos);
    return String(std::move(out));
}

String String::Trim() const {
    int from = 0, to = Length();
    while (from < to && _s->units[static_cast<size_t>(from)] <= 32) ++from;
    while (to > from && _s->units[static_cast<size_t>(to - 1)] <= 32) --to;
    return Slice(from, to);
}

String String::operator+(const String& o) const {
    if (o.IsEmpty()) return *this;
    if (IsEmpty()) return o;
    return String(_s->units + o._s->units);
}

Ref<Object> String::AsObject() const {
    return Ref<Object>(const_cast<TString*>(_s.get()));
}

}  // namespace vantrel

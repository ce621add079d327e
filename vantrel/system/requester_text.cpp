#include <vantrel/system/requester_text.h>

#include <filesystem>
#include <system_error>

namespace vantrel {
namespace {

const String& Nul() {
    static const String nul(std::u16string(1, u'\0'));
    return nul;
}

int LastSeparator(const String& path) {
    for (int i = path.Length() - 1; i >= 0; --i) {
        if (path[i] == u'/' || path[i] == u'\\') return i;
    }
    return -1;
}

}  // namespace

RequestPathParts SplitRequestPath(const String& path) {
    int cut = LastSeparator(path);
    if (cut < 0) return {String(), path};
    return {path.Slice(0, cut), path.Slice(cut + 1)};
}

int PreselectedFilterIndex(const String& path, const String& exts) {
    // Only the file name counts: a "." in a folder name says nothing.
    String file = SplitRequestPath(path).file;
    int dot = file.Find(".");
    if (dot < 0) return 0;
    String ext = file.Slice(dot + 1).ToLower();
    // Bracket every extension with commas and end every group with ";", so
    // the first and the last group can be found like the others.
    String groups = "," + exts.ToLower().Replace(":", ":,").Replace(";", ",;") + ",;";
    int at = groups.Find("," + ext + ",");
    if (ext.IsEmpty() || at < 0) return 0;
    int index = 1;
    for (int i = 0; i < at; ++i) {
        if (groups[i] == u';') ++index;
    }
    return index;
}

String FileFilterText(const String& exts) {
    if (exts.IsEmpty()) return String();
    String text = exts.Contains(":") ? exts.Replace(":", Nul() + "*.")
                                     : "Files" + Nul() + "*." + exts;
    return text.Replace(";", Nul()).Replace(",", ";*.") + Nul();
}

std::vector<FilterGroup> FilterGroups(const String& filterText) {
    std::vector<FilterGroup> groups;
    std::vector<String> parts;
    int from = 0;
    for (int at; (at = filterText.Find(Nul(), from)) >= 0; from = at + 1) {
        parts.push_back(filterText.Slice(from, at));
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) groups.push_back({parts[i], parts[i + 1]});
    return groups;
}

String CompleteWebAddress(const String& url) {
    String lower = url.ToLower();
    if (lower.Slice(0, 5) == String("http:") || lower.Slice(0, 5) == String("file:") ||
        lower.Slice(0, 6) == String("https:")) {
        return url;
    }
    int hash = url.Find("#");
    String anchor = hash < 0 ? String() : url.Slice(hash);
    String target = hash < 0 ? url : url.Slice(0, hash);

    std::error_code error;
    std::filesystem::path full;
    if (!target.IsEmpty()) full = std::filesystem::absolute(target.ToUtf8(), error);
    if (!target.IsEmpty() && !error && std::filesystem::exists(full, error)) {
        return "file:" + String::FromUtf8(full.lexically_normal().string()) + anchor;
    }
    return "http:" + target + anchor;
}

}  // namespace vantrel

// Pure text rules of the requesters and of OpenWebPage.
//
// Filter texts: exts is a list of groups separated by ";", each a
// description, ":" and extensions separated by ",", or only the extensions.
// The platform filter text is the classic NUL-separated pairs form:
// "Images:png,jpg;Text:txt" gives "Images\0*.png;*.jpg\0Text\0*.txt\0" and
// "png,jpg" gives "Files\0*.png;*.jpg\0".
//
// Pure functions (CompleteWebAddress asks the file system); any thread.
#pragma once

#include <vector>

#include <vantrel/runtime/string.h>

namespace vantrel {

// Initial folder (before the last "/") and file name (after it) of a
// requester path; "\" counts as "/". No separator: empty folder.
struct RequestPathParts {
    String dir;
    String file;
};
RequestPathParts SplitRequestPath(const String& path);

// 1-based index of the group holding the extension of path (the text after
// its first "."), or 0 for the default first group.
int PreselectedFilterIndex(const String& path, const String& exts);

// The NUL-separated filter text; "" when exts is empty.
String FileFilterText(const String& exts);

// The (description, patterns) pairs of a filter text; patterns stay
// ";"-separated ("*.png;*.jpg").
struct FilterGroup {
    String description;
    String patterns;
};
std::vector<FilterGroup> FilterGroups(const String& filterText);

// Addresses starting with "http:", "https:" or "file:" (any case) stay as
// they are. Otherwise the part before the first "#" is taken as a file path:
// if that file exists the address becomes "file:" + its absolute path + the
// "#" part, else "http:" + the text unchanged.
String CompleteWebAddress(const String& url);

}  // namespace vantrel

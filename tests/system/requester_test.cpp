#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <vantrel/runtime/runtime.h>
#include <vantrel/system/requester_text.h>
#include <vantrel/system/sdl/sdl_dialogs.h>
#include <vantrel/system/system_driver.h>

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

std::string Visible(const String& s) {
    std::string out = s.ToUtf8();
    for (char& c : out) {
        if (c == '\0') c = '|';
    }
    return out;
}

// A private folder that is removed again.
class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "vantrel_requester_XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

}  // namespace

TEST(RequesterText, SplitsPathsAtTheLastSeparator) {
    struct { const char* path; const char* dir; const char* file; } cases[] = {
        {"/home/u/pic.png", "/home/u", "pic.png"},
        {"pic.png", "", "pic.png"},
        {"C:\\games\\save.dat", "C:\\games", "save.dat"},
        {"mixed\\dir/name", "mixed\\dir", "name"},
        {"folder/", "folder", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        RequestPathParts parts = SplitRequestPath(c.path);
        EXPECT_EQ(parts.dir.ToUtf8(), c.dir) << c.path;
        EXPECT_EQ(parts.file.ToUtf8(), c.file) << c.path;
    }
}

TEST(RequesterText, PreselectsTheGroupOfThePathsExtension) {
    struct { const char* path; const char* exts; int index; } cases[] = {
        {"a.png", "Images:png,jpg;Text:txt", 1},
        {"dir/A.JPG", "Images:png,jpg;Text:txt", 1},
        {"a.txt", "Images:png,jpg;Text:txt", 2},  // the last group too
        {"a.txt", "Text:txt;Images:png,jpg", 1},
        {"a.jpg", "Text:txt;Images:png,jpg", 2},
        {"a.png", "png,jpg", 1},                  // the first extension of a bare list
        {"a.gif", "Images:png,jpg;Text:txt", 0},
        {"a.pn", "Images:png,jpg", 0},            // no partial matches
        {"a.", "Images:png,jpg", 0},
        {"noext", "Images:png,jpg", 0},
        {"v1.2/readme", "Docs:2/readme", 0},      // a dot in a folder name is no extension
        {"a.png", "", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(PreselectedFilterIndex(c.path, c.exts), c.index) << c.path << " in " << c.exts;
}

TEST(RequesterText, FilterTextAndItsGroups) {
    EXPECT_EQ(Visible(FileFilterText("Images:png,jpg;Text:txt")), "Images|*.png;*.jpg|Text|*.txt|");
    EXPECT_EQ(Visible(FileFilterText("png,jpg")), "Files|*.png;*.jpg|");
    EXPECT_EQ(Visible(FileFilterText("")), "");

    std::vector<FilterGroup> groups = FilterGroups(FileFilterText("Images:png,jpg;Text:txt"));
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].description.ToUtf8(), "Images");
    EXPECT_EQ(groups[0].patterns.ToUtf8(), "*.png;*.jpg");
    EXPECT_EQ(groups[1].description.ToUtf8(), "Text");
    EXPECT_EQ(groups[1].patterns.ToUtf8(), "*.txt");
    EXPECT_TRUE(FilterGroups("").empty());
}

TEST(RequesterText, WebAddressCompletion) {
    TempDir dir;
    std::ofstream(dir.path / "page.html") << "<p>hi</p>";
    std::string full = (dir.path / "page.html").string();

    fs::path before = fs::current_path();
    fs::current_path(dir.path);
    struct { std::string url; std::string expected; } cases[] = {
        {"http://example.com/a#b", "http://example.com/a#b"},
        {"HTTPS://example.com", "HTTPS://example.com"},
        {"File:/etc/hostname", "File:/etc/hostname"},
        {"www.example.com", "http:www.example.com"},
        {"missing.html#top", "http:missing.html#top"},
        {"page.html#section-2", "file:" + full + "#section-2"},
        {"page.html", "file:" + full},
        {full + "#", "file:" + full + "#"},
        {"", "http:"},
    };
    for (const auto& c : cases) EXPECT_EQ(CompleteWebAddress(String::FromUtf8(c.url)).ToUtf8(), c.expected) << c.url;
    fs::current_path(before);
}

TEST(RequesterText, KDialogCommandLine) {
    ChooserRequest request;
    request.title = "Open";
    request.initialPath = "/data/x.png";
    request.filters = FilterGroups(FileFilterText("Images:png,jpg;Text:txt"));
    EXPECT_EQ(ChooserCommand("kdialog", request),
              (std::vector<std::string>{"kdialog", "--title", "Open", "--getopenfilename", "/data/x.png",
                                        "Images (*.png *.jpg)|Text (*.txt)"}));
    request.save = true;
    request.initialPath = "";
    EXPECT_EQ(ChooserCommand("kdialog", request)[3], "--getsavefilename");
    EXPECT_EQ(ChooserCommand("kdialog", request)[4], ".");
}

// The requesters run the desktop's chooser program; a stand-in "zenity" on
// PATH records its arguments and answers like the real one.
TEST(Requesters, RunTheChooserProgramAndReturnItsAnswer) {
    StartSystemModule();
    TempDir dir;
    fs::path log = dir.path / "args.txt";
    {
        std::ofstream script(dir.path / "zenity");
        script << "#!/bin/sh\n"
               << "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << log.string() << "'\n"
               << "for a in \"$@\"; do [ \"$a\" = --save ] && exit 1; done\n"
               << "printf '/chosen/f\\303\\251.txt\\n'\n";
    }
    fs::permissions(dir.path / "zenity", fs::perms::owner_all);
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", dir.path.c_str(), 1);

    auto loggedArgs = [&] {
        std::ifstream in(log);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    };

    String chosen = RequestFilePath("Pick", "Images:png,jpg;Text:txt", 0, "\\home\\u\\notes.txt");
    EXPECT_EQ(chosen.ToUtf8(), "/chosen/f\xC3\xA9.txt");
    EXPECT_EQ(loggedArgs(), (std::vector<std::string>{"--file-selection", "--title=Pick",
                                                      "--filename=/home/u/notes.txt",
                                                      "--file-filter=Text | *.txt",
                                                      "--file-filter=Images | *.png *.jpg"}));

    // Cancelling (a non-zero exit) gives the empty string.
    EXPECT_EQ(RequestFilePath("Save", "txt", 1, "out.txt").ToUtf8(), "");
    std::vector<std::string> saveArgs = loggedArgs();
    EXPECT_NE(std::find(saveArgs.begin(), saveArgs.end(), "--confirm-overwrite"), saveArgs.end());

    RequestDirPath("Folder", "sub\\dir");
    EXPECT_EQ(loggedArgs(), (std::vector<std::string>{"--file-selection", "--title=Folder", "--directory",
                                                      "--filename=" + (fs::current_path() / "sub/dir/").string()}));

    // With no chooser installed the answer is empty.
    fs::remove(dir.path / "zenity");
    EXPECT_EQ(RequestFilePath("Pick", "txt", 0, "a.txt").ToUtf8(), "");
    setenv("PATH", oldPath.c_str(), 1);
}

// Without any display the boxes cannot be shown; each call then gives its
// "nothing chosen" answer instead of blocking or raising. Runs in a child
// process whose environment has no display at all.
TEST(MessageBoxes, WithoutADisplayGiveTheirFailureResults) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(60);  // a box that did appear would block: fail instead of hanging
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            StartSystemModule();
            bool ok = NotifyUser("note", 0) == 0 && ConfirmWithUser("sure?", 1) == 0 &&
                      ProceedWithUser("save?", 0) == -1;
            PumpSystemEvents();  // the event queue works without a display
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

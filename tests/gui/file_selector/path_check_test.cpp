// The checks a dialog's answer passes before it is trusted, and file:// URI decoding.
#include "gui/platform/posix/path_check.h"
#include "gui/platform/posix/portal_client.h"

#include "tests/gui/file_selector/stand_in_dialogs.h"

#include <gtest/gtest.h>

namespace {

using desktop_dialogs::acceptDialogPaths;
using desktop_dialogs::DialogMode;

TEST(DialogAnswerCheck, RefusesWhatTheModeCannotUse) {
    StandInDialogs scratch;
    const std::string file = scratch.makeFile("file \xc3\xa9.wav");
    const std::string folder = scratch.folder;
    struct Case {
        DialogMode mode;
        std::vector<std::string> paths;
        bool accepted;
    } cases[] = {
        {DialogMode::Load, {file}, true},
        {DialogMode::Load, {}, false},
        {DialogMode::Load, {""}, false},
        {DialogMode::Load, {"file.wav"}, false},
        {DialogMode::Load, {file + "x"}, false},
        {DialogMode::Load, {folder}, false},
        {DialogMode::Load, {file, file}, false},
        {DialogMode::LoadMultiple, {file, file}, true},
        {DialogMode::LoadMultiple, {file, "relative"}, false},
        {DialogMode::Directory, {folder}, true},
        {DialogMode::Directory, {file}, false},
        {DialogMode::Save, {folder + "/new.wav"}, true},
        {DialogMode::Save, {file}, true},
        {DialogMode::Save, {folder + "/missing/new.wav"}, false},
        {DialogMode::Save, {folder}, false},
        {DialogMode::Save, {folder + "/"}, false},
        {DialogMode::Save, {folder + "/tab\there"}, false},
        {DialogMode::Save, {folder + "/del\x7f"}, false},
        {DialogMode::Save, {folder + "/c1\xc2\x85"}, false},
        {DialogMode::Save, {folder + "/latin1\xe9"}, false},
        {DialogMode::Save, {folder + "/overlong\xc0\xaf"}, false},
        {DialogMode::Save, {folder + "/surrogate\xed\xa0\x80"}, false},
        {DialogMode::Save, {folder + "/cut\xe2\x82"}, false},
        {DialogMode::Save, {folder + "/" + std::string(5000, 'n')}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(acceptDialogPaths(c.mode, c.paths), c.accepted)
            << static_cast<int>(c.mode) << " " << (c.paths.empty() ? "" : c.paths[0]);
}

TEST(PortalUris, OnlyLocalFileUrisBecomePaths) {
    std::string path;
    EXPECT_TRUE(desktop_dialogs::fileUriToPath("file:///home/a%20b/%C3%A9.wav", path));
    EXPECT_EQ(path, "/home/a b/\xc3\xa9.wav");
    EXPECT_TRUE(desktop_dialogs::fileUriToPath("file://localhost/x", path));
    EXPECT_EQ(path, "/x");
    for (const char* bad : {"http://host/x", "file://otherhost/x", "file:/x", "file:///a%2",
                            "file:///a%zz", "file:///a%00b", "file:///a?q", "/plain/path"})
        EXPECT_FALSE(desktop_dialogs::fileUriToPath(bad, path)) << bad;
}

} // namespace

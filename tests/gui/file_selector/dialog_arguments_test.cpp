// What the dialog programs are started with: the mode, title, start folder and the file-type
// list built from the request's types (Unix extension first, else DOS; types with neither are
// left out), as the stand-in programs recorded them.
#include "gui/file_selector.h"

#include "tests/gui/file_selector/stand_in_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Arguments = std::vector<std::string>;

class DialogArguments : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&request, 0, sizeof request);
        std::memset(types, 0, sizeof types);
        std::strcpy(types[0].name, "Wave");
        std::strcpy(types[0].dosType, "wav");
        std::strcpy(types[1].name, "AIFF | Apple");
        std::strcpy(types[1].dosType, "aif");
        std::strcpy(types[1].unixType, "aiff");
        std::strcpy(types[2].name, "No extension");
        std::strcpy(types[3].name, "Unsafe");
        std::strcpy(types[3].dosType, "a b");
        request.fileTypes = types;
        request.nbFileTypes = 4;
        std::strcpy(request.title, "Pick one");
        start = dialogs.folder + "/start";
        std::filesystem::create_directory(start);
        request.initialPath = start.data();
        chosen = dialogs.makeFile("a.wav");
    }
    StandInDialogs dialogs;
    VstFileType types[4];
    VstFileSelect request;
    std::string start;
    std::string chosen;
};

TEST_F(DialogArguments, ZenityGetsModeTitleFolderAndFileTypes) {
    dialogs.install("zenity", {chosen});
    FileSelector selector(nullptr);
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_EQ(dialogs.arguments("zenity"),
              (Arguments{"--file-selection", "--title=Pick one", "--filename=" + start + "/",
                         "--file-filter=All Types: (*.wav;*.aiff) | *.wav *.aiff",
                         "--file-filter=Wave (.wav) | *.wav",
                         "--file-filter=AIFF / Apple (.aiff) | *.aiff",
                         "--file-filter=Any Type (*.*) | *"}));

    request.command = kVstFileSave;
    dialogs.install("zenity", {dialogs.folder + "/new.wav"});
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_EQ(dialogs.arguments("zenity")[2], "--save");

    request.command = kVstMultipleFilesLoad;
    dialogs.install("zenity", {chosen});
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_EQ(request.returnMultiplePaths[0], chosen);
    EXPECT_EQ(dialogs.arguments("zenity")[2], "--multiple");
    EXPECT_EQ(dialogs.arguments("zenity")[3], "--separator=\n");

    request.command = kVstDirectorySelect;
    dialogs.install("zenity", {start});
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_EQ(dialogs.arguments("zenity"), (Arguments{"--file-selection", "--title=Pick one",
                                                      "--directory", "--filename=" + start + "/"}));
}

TEST_F(DialogArguments, KdialogGetsModeTitleFolderAndFileTypes) {
    request.command = kVstMultipleFilesLoad;
    dialogs.install("kdialog", {chosen, chosen});
    FileSelector selector(nullptr);
    EXPECT_EQ(selector.run(&request), 2);
    EXPECT_EQ(dialogs.arguments("kdialog"),
              (Arguments{"--title", "Pick one", "--getopenfilename", start,
                         "All Types: (*.wav;*.aiff) (*.wav *.aiff)\nWave (.wav) (*.wav)\n"
                         "AIFF / Apple (.aiff) (*.aiff)\nAny Type (*.*) (*)",
                         "--multiple", "--separate-output"}));

    request.command = kVstDirectorySelect;
    dialogs.install("kdialog", {start});
    EXPECT_EQ(selector.run(&request), 1);
    EXPECT_EQ(dialogs.arguments("kdialog"),
              (Arguments{"--title", "Pick one", "--getexistingdirectory", start}));
}

} // namespace

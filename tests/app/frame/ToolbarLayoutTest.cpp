// Saved toolbar layouts: which ones the main frame may apply.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/frame/ToolbarLayout.h"
#include "app/frame/WxUserInterface.h"

namespace {

const std::vector<std::string> kPanes = {"mdiclient", "Bar1", "Bar2"};

std::string Pane(const std::string& name, const std::string& state, int direction,
                 const std::string& extra = "") {
    return "name=" + name + ";caption=" + name + ";state=" + state +
           ";dir=" + std::to_string(direction) +
           ";layer=10;row=0;pos=0;prop=100000;bestw=168;besth=25;minw=-1;minh=-1;maxw=-1;"
           "maxh=-1;floatx=-1;floaty=-1;floatw=-1;floath=-1" +
           extra;
}

// A layout as the frame saves it: the document area and two toolbars at the top.
std::string Layout(const std::string& clientState = "256", int clientDirection = 5,
                   const std::string& toolbarState = "2106108",
                   const std::string& dockSizes = "dock_size(5,0,0)=20|dock_size(1,10,0)=27|") {
    return "layout2|" + Pane("mdiclient", clientState, clientDirection) + "|" +
           Pane("Bar1", toolbarState, 1) + "|" + Pane("Bar2", "2106110", 1) + "|" + dockSizes;
}

TEST(ToolbarLayout, TheFramesOwnLayoutIsUsable) {
    EXPECT_TRUE(IsUsableToolbarLayout(Layout(), kPanes, "mdiclient"));
}

TEST(ToolbarLayout, DamagedOrForeignLayoutsAreRefused) {
    struct Row {
        const char* why;
        std::string layout;
    };
    const Row rows[] = {
        {"empty", ""},
        {"text", "garbage"},
        {"other format", "layout3|" + Layout().substr(8)},
        {"cut off", Layout().substr(0, 120)},
        {"document area hidden", Layout("258")},
        {"document area floating", Layout("257")},
        {"document area at a side", Layout("256", 1)},
        {"toolbar no longer a toolbar", Layout("256", 5, "252")},
        {"toolbar in the centre", "layout2|" + Pane("mdiclient", "256", 5) + "|" +
                                       Pane("Bar1", "2106108", 5) + "|" +
                                       Pane("Bar2", "2106108", 1) + "|"},
        {"unknown pane", "layout2|" + Pane("mdiclient", "256", 5) + "|" +
                             Pane("Bar1", "2106108", 1) + "|" + Pane("Bar2", "2106108", 1) +
                             "|" + Pane("Bar9", "2106108", 1) + "|"},
        {"pane missing", "layout2|" + Pane("mdiclient", "256", 5) + "|" +
                             Pane("Bar1", "2106108", 1) + "|"},
        {"pane twice", "layout2|" + Pane("mdiclient", "256", 5) + "|" +
                           Pane("Bar1", "2106108", 1) + "|" + Pane("Bar2", "2106108", 1) + "|" +
                           Pane("Bar2", "2106108", 1) + "|"},
        {"not a number", Layout("25x")},
        {"huge toolbar row", Layout("256", 5, "2106108", "dock_size(1,10,0)=5000|")},
        {"bad dock size", Layout("256", 5, "2106108", "dock_size(1,10)=27|")},
        {"field twice", "layout2|" + Pane("mdiclient", "256", 5, ";dir=1") + "|" +
                            Pane("Bar1", "2106108", 1) + "|" + Pane("Bar2", "2106108", 1) + "|"},
        {"empty part inside", "layout2||" + Layout().substr(8)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_FALSE(IsUsableToolbarLayout(row.layout, kPanes, "mdiclient"));
    }
}

TEST(ToolbarLayout, HiddenAndFloatingToolbarsAreKept) {
    EXPECT_TRUE(IsUsableToolbarLayout(Layout("256", 5, "2106110"), kPanes, "mdiclient"));
    std::string floating = "layout2|" + Pane("mdiclient", "256", 5) + "|" +
                           Pane("Bar1", "2106109", 1) + "|" + Pane("Bar2", "2106108", 4) + "|";
    EXPECT_TRUE(IsUsableToolbarLayout(floating, kPanes, "mdiclient"));
}

TEST(FileDialogs, FiltersListBothCases) {
    EXPECT_EQ(WxUserInterface::BothCaseFilter("Zarnel Design Dateien (*.zdf)|*.zdf"),
              "Zarnel Design Dateien (*.zdf)|*.zdf;*.ZDF");
    EXPECT_EQ(WxUserInterface::BothCaseFilter("Bilder|*.bmp;*.dib|Alle|*.*"),
              "Bilder|*.bmp;*.BMP;*.dib;*.DIB|Alle|*.*");
    EXPECT_EQ(WxUserInterface::BothCaseFilter(""), "");
}

TEST(FileDialogs, DefaultExtensionOnlyWhenTheNameHasNone) {
    EXPECT_EQ(WxUserInterface::WithDefaultExtension("/home/a/modell", "zdf"),
              "/home/a/modell.zdf");
    EXPECT_EQ(WxUserInterface::WithDefaultExtension("/home/a/modell.ZDF", "zdf"),
              "/home/a/modell.ZDF");
    EXPECT_EQ(WxUserInterface::WithDefaultExtension("/home/a.b/modell", "zdf"),
              "/home/a.b/modell.zdf");
    EXPECT_EQ(WxUserInterface::WithDefaultExtension("/home/a/modell", ""), "/home/a/modell");
}

} // namespace

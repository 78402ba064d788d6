#include "res/resources.h"

namespace res {

namespace {

using K = ControlKind;
constexpr int kNone = -1;

// Main window. Template order is the keyboard order.
const DialogTemplate kConverterDialog{
    IDD_CONVERTER,
    322,
    340,
    "MS Sans Serif",
    9,
    "Quillet Tarnwick v1.5",
    true,
    true,
    {
        {1000, K::PushButton, "&Add Flv File(s)", 5, 6, 93, 17, kTabStop},
        {1002, K::ListView, "", 5, 28, 310, 117,
         kTabStop | kBorder | kReport | kShowSelAlways | kNoSortHeader, 0, "Files"},
        {1003, K::PushButton, "&Remove", 103, 6, 74, 17, kTabStop},
        {kNone, K::Static, "Output Directory:", 14, 235, 72, 10, kGroup},
        {1004, K::Edit, "", 92, 235, 176, 13, kTabStop | kBorder | kAutoHScroll, 0,
         "Output Directory"},
        {1005, K::PushButton, "...", 273, 235, 17, 14, kTabStop},
        {kNone, K::Static, "Bitrate:", 16, 170, 44, 10, kGroup},
        {kNone, K::Static, "Frequency:", 152, 170, 50, 11, kGroup},
        {kNone, K::Static, "Channels:", 17, 196, 46, 10, kGroup},
        {1007, K::AutoRadio, "Mono", 79, 196, 41, 10, 0},
        {1008, K::AutoRadio, "Stereo", 133, 196, 58, 10, 0},
        {1009, K::ComboDropList, "", 65, 169, 73, 110, kTabStop | kVScroll, 0, "Bitrate"},
        {1010, K::ComboDropList, "", 205, 170, 83, 121, kTabStop | kVScroll, 0, "Frequency"},
        {kNone, K::Static, "If output file exists, ", 12, 260, 97, 10, kGroup},
        {1011, K::AutoRadio, "Overwrite", 184, 258, 54, 12, 0},
        {1012, K::AutoRadio, "Skip", 245, 258, 35, 12, 0},
        {1013, K::AutoRadio, "Auto rename", 116, 258, 62, 12, 0},
        {1016, K::PushButton, "Start &Converting", 117, 291, 111, 21, kTabStop},
        {kNone, K::GroupBox, "Mp3 Audio", 6, 151, 310, 66, 0},
        {kNone, K::GroupBox, "General", 6, 222, 310, 60, 0},
        {1024, K::PushButton, "&Exit", 233, 291, 82, 21, kTabStop},
        {1019, K::PushButton, "&Help", 6, 287, 53, 11, kTabStop | kHidden},
        {1032, K::Static, "www.quillet.example", 8, 302, 100, 9, kGroup},
        {1020, K::Progress, "", 6, 320, 309, 8, 0, 0, "Progress"},
        {1022, K::ListView, "", 3, 336, 6, 6, kTabStop | kBorder | kReport | kHidden},
        {1023, K::AutoCheck, "Default settings", 205, 195, 97, 13, kTabStop},
        {1037, K::PushButton, "More downloads!", 233, 6, 82, 17, kTabStop},
        {1045, K::PushButton, "&Clear", 182, 6, 38, 17, kTabStop},
    },
};

// About box.
const DialogTemplate kAboutBox{
    IDD_ABOUTBOX,
    212,
    78,
    "MS Sans Serif",
    8,
    "About",
    false,
    false,
    {
        {kNone, K::Icon, "", 11, 17, 20, 20, 0, IDR_MAINFRAME, "Tarnwick"},
        {kNone, K::Static, "Tarnwick v1.5", 40, 10, 119, 8, kGroup | kNoPrefix},
        {kNone, K::Static, "Copyright (C) 2026 Quillet", 40, 25, 119, 8, 0},
        {1, K::DefPushButton, "OK", 149, 50, 50, 14, kTabStop | kGroup},
        {kNone, K::Static, "www.quillet.example", 39, 41, 105, 11, 0},
    },
};

const VersionInfo kVersion{
    "1, 5, 0, 1", "1, 5, 0, 1", "Tarnwick",    "Tarnwick",
    "tandrel",    "tandrel",    "Copyright (C) 2026 Quillet", "Quillet",
};

}  // namespace

std::vector<int> GroupNumbers(const DialogTemplate& tmpl) {
    std::vector<int> groups;
    int group = 0;
    for (const ControlTemplate& c : tmpl.controls) {
        if ((c.flags & kGroup) != 0) ++group;
        groups.push_back(group);
    }
    return groups;
}

std::string StripMnemonic(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        out.push_back(caption[i]);
    }
    return out;
}

const DialogTemplate* FindDialogTemplate(int id) {
    switch (id) {
        case IDD_CONVERTER:
            return &kConverterDialog;
        case IDD_ABOUTBOX:
            return &kAboutBox;
        default:
            return nullptr;
    }
}

const char* LoadStringResource(int id) {
    switch (id) {
        case IDS_ABOUTBOX:
            return "&About tandrel...";
        default:
            return nullptr;
    }
}

const VersionInfo& GetVersionInfo() { return kVersion; }

}  // namespace res

// The program's resources as data: dialog templates, strings, version
// information. Window backends build real windows from these tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace res {

// Resource identifiers.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_CONVERTER = 102;
constexpr int IDR_MAINFRAME = 128;  // the program icon

enum class ControlKind {
    PushButton,
    DefPushButton,
    ListView,
    Static,
    Edit,
    AutoRadio,
    AutoCheck,
    ComboDropList,
    GroupBox,
    Progress,
    Icon,
};

// Style flags of a control, in the sense of the classic dialog template.
enum ControlFlag : std::uint32_t {
    kTabStop = 1u << 0,
    kGroup = 1u << 1,
    kHidden = 1u << 2,
    kBorder = 1u << 3,
    kReport = 1u << 4,         // list view: report view
    kShowSelAlways = 1u << 5,  // list view: selection shown without focus
    kNoSortHeader = 1u << 6,   // list view: column headers are not buttons
    kVScroll = 1u << 7,
    kAutoHScroll = 1u << 8,  // edit box scrolls horizontally while typing
    kNoPrefix = 1u << 9,     // static text: "&" is shown as it is
};

struct ControlTemplate {
    int id;  // -1: no ID (static texts, group boxes, icons)
    ControlKind kind;
    const char* caption;  // for an icon: unused; see iconId
    int x, y, cx, cy;     // dialog units
    std::uint32_t flags;
    int iconId = 0;
    // Name read by screen readers for a control without a caption of its own.
    const char* accessibleName = nullptr;
};

struct DialogTemplate {
    int id;
    int cx, cy;  // dialog units
    const char* fontName;
    int fontPoints;
    const char* caption;
    bool minimizeBox;
    bool appWindow;  // has a taskbar entry
    std::vector<ControlTemplate> controls;  // template order = tab order
};

// The group number of each control, in template order: a control that starts
// a group (kGroup) opens a new one. Automatic radio buttons of one group
// exclude each other.
std::vector<int> GroupNumbers(const DialogTemplate& tmpl);

// The caption without its mnemonic marks ("&x" becomes "x", "&&" becomes "&").
std::string StripMnemonic(const std::string& caption);

// The template with the given ID, or nullptr.
const DialogTemplate* FindDialogTemplate(int id);

// A string resource, or nullptr when there is none with that ID.
const char* LoadStringResource(int id);

// Version information of the program file.
struct VersionInfo {
    const char* fileVersion;     // "1, 5, 0, 1"
    const char* productVersion;  // "1, 5, 0, 1"
    const char* fileDescription;
    const char* productName;
    const char* internalName;
    const char* originalFileName;
    const char* legalCopyright;
    const char* companyName;
};
const VersionInfo& GetVersionInfo();

}  // namespace res

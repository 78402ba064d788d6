// The window-system backend behind the framework. One backend is current for
// the life of the program: the Qt one for the real desktop, the fake one in
// tests. Platform services with no window (folders) have POSIX defaults here
// that a backend may replace.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fw/types.h"

namespace res {
struct DialogTemplate;
}

namespace fw {

class CWnd;
class CDialog;

enum class ColumnAlign { Left, Center };

// One filter of the open-file dialog: what the user reads, and the name
// patterns ("*.flv;*.f4v").
struct FileFilter {
    std::string label;
    std::string patterns;
};

// Splits a filter text of the form "label|patterns|label|patterns||".
std::vector<FileFilter> ParseFilterText(const std::string& text);

class Backend {
public:
    virtual ~Backend() = default;

    // Builds the dialog's window from its template (not yet shown).
    virtual void CreateDialogWindow(CDialog& dialog, const res::DialogTemplate& tmpl) = 0;
    // Shows the window and runs a nested loop until EndModalLoop.
    virtual void RunModalLoop(CDialog& dialog) = 0;
    virtual void EndModalLoop(CDialog& dialog) = 0;
    virtual void DestroyDialogWindow(CDialog& dialog) = 0;

    // A modal message box; returns IDOK, IDYES or IDNO.
    virtual int MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                           UINT type) = 0;

    // ---- controls of a dialog's window, addressed by control ID
    virtual void EnableControl(CDialog& d, int id, bool enable) = 0;
    virtual bool IsControlEnabled(CDialog& d, int id) = 0;
    virtual void SetControlText(CDialog& d, int id, const std::string& text) = 0;
    virtual std::string GetControlText(CDialog& d, int id) = 0;
    virtual void SetCheck(CDialog& d, int id, int state) = 0;
    virtual int GetCheck(CDialog& d, int id) = 0;
    // Combo box: entries and selection (-1: none).
    virtual int ComboGetCount(CDialog& d, int id) = 0;
    virtual int ComboInsertString(CDialog& d, int id, int index, const std::string& text) = 0;
    virtual std::string ComboGetString(CDialog& d, int id, int index) = 0;
    virtual void ComboSetCurSel(CDialog& d, int id, int index) = 0;
    virtual int ComboGetCurSel(CDialog& d, int id) = 0;
    // Progress bar: range and position, full 32-bit values.
    virtual void ProgressSetRange(CDialog& d, int id, int lower, int upper) = 0;
    virtual void ProgressGetRange(CDialog& d, int id, int& lower, int& upper) = 0;
    virtual void ProgressSetPos(CDialog& d, int id, int pos) = 0;
    virtual int ProgressGetPos(CDialog& d, int id) = 0;
    // List control in report view.
    virtual void ListSetFullRowGrid(CDialog& d, int id) = 0;
    virtual void ListInsertColumn(CDialog& d, int id, int index, const std::string& heading,
                                  ColumnAlign align, int widthPixels) = 0;
    virtual int ListGetItemCount(CDialog& d, int id) = 0;
    virtual int ListInsertItem(CDialog& d, int id, int row, const std::string& text) = 0;
    virtual void ListSetItemText(CDialog& d, int id, int row, int column,
                                 const std::string& text) = 0;
    virtual std::string ListGetItemText(CDialog& d, int id, int row, int column) = 0;
    virtual void ListDeleteItem(CDialog& d, int id, int row) = 0;
    virtual void ListDeleteAllItems(CDialog& d, int id) = 0;
    // The first selected row after `after` (-1: from the top), or -1.
    virtual int ListGetNextSelected(CDialog& d, int id, int after) = 0;

    // Routes a control's own messages to `handler`: the pointer moving over
    // it (WM_SETCURSOR, then WM_MOUSEMOVE with the point; a point outside
    // the control when the pointer has left it), its clicks (OCM_COMMAND
    // with STN_CLICKED) and, whenever it is drawn, the request for its text
    // colour (OCM_CTLCOLORSTATIC).
    virtual void SubclassControl(CDialog& d, int id, CWnd* handler) = 0;
    virtual void SetControlUnderline(CDialog& d, int id, bool underline) = 0;
    virtual void SetControlCursor(CDialog& d, int id, Cursor cursor) = 0;
    // The mouse goes to the control alone while it holds the capture.
    virtual void SetControlCapture(CDialog& d, int id, bool capture) = 0;
    // Repaints the control: at once, or when the window is next painted.
    virtual void RedrawControl(CDialog& d, int id, bool now) = 0;
    // The control's size in pixels.
    virtual void GetControlSize(CDialog& d, int id, int& width, int& height) = 0;

    // ---- the window itself
    virtual void SetIcon(CDialog& d, int iconId, bool big) = 0;
    // Adds an item (or, with id 0, a separator) to the window's menu of
    // window commands; choosing the item sends WM_SYSCOMMAND with its id.
    virtual void AppendSystemMenu(CDialog& d, UINT id, const std::string& text) = 0;
    // The open-file dialog, several files at once, with the filters of a
    // filter text (see ParseFilterText), the first one active. The chosen
    // files' full paths, or nothing on cancel.
    virtual std::optional<std::vector<std::string>> GetOpenFileNames(CWnd* owner,
                                                                     const std::string& filters) = 0;
    // Opens a file, a folder or a web address with the desktop's handler for
    // it, without waiting; false when that could not be asked for.
    virtual bool OpenDocument(const std::string& target) = 0;
    // The folder chooser: the chosen folder's path, or nothing on cancel.
    virtual std::optional<std::string> BrowseForFolder(CWnd* owner, const std::string& title) = 0;

    // Called from any thread after a message was posted.
    virtual void WakeUp() = 0;
    // Handles pending input and posted messages once (user-interface thread).
    virtual void DrainPending() = 0;

    // Full path of the program file.
    virtual std::string ProgramFilePath();
    // The user's documents folder, created when missing; nothing when it can
    // be neither found nor created.
    virtual std::optional<std::string> DocumentsFolder();
    // The temporary folder.
    virtual std::string TempFolder();
    // The user's home folder.
    virtual std::string HomeFolder();
    // The user's configuration folder (XDG_CONFIG_HOME or ~/.config).
    virtual std::string ConfigFolder();
};

// The current backend; set once before any window or thread exists.
Backend& GetBackend();
void SetBackend(Backend* backend);

// Special folders through the current backend.
std::string GetProgramFilePath();
std::optional<std::string> GetDocumentsFolder();
std::string GetTempFolder();
std::string GetHomeFolder();
std::string GetConfigFolder();

}  // namespace fw

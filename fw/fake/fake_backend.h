// In-memory backend for tests. It keeps a real posted-message queue but
// delivers posted messages only when the test says so; it records every
// message box and answers them from a script; each modal run executes a
// script given by the test, standing in for the user.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fw/backend.h"
#include "fw/wnd.h"
#include "res/resources.h"

namespace fw::fake {

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// The state of one control, as a user would see it.
struct FakeControl {
    res::ControlKind kind{};
    int group = 0;
    bool enabled = true;
    bool visible = true;
    std::string text;
    int check = 0;
    std::vector<std::string> items;  // combo box entries
    int curSel = -1;
    bool fullRowGrid = false;  // list control
    struct Column {
        std::string heading;
        ColumnAlign align;
        int width;
    };
    std::vector<Column> columns;
    std::vector<std::vector<std::string>> rows;
    std::set<int> selected;
    int rangeLower = 0, rangeUpper = 100, pos = 0;  // progress bar
    int width = 0, height = 0;  // pixels, from dialog units of 6 x 13
    CWnd* handler = nullptr;    // a window object that took the control over
    bool underline = false;
    Cursor cursor = Cursor::Arrow;
    bool captured = false;
    int redraws = 0;
};

// The state of one dialog window.
struct FakeWindow {
    const res::DialogTemplate* tmpl = nullptr;
    std::map<int, FakeControl> controls;
    int bigIcon = 0, smallIcon = 0;
    std::vector<std::pair<UINT, std::string>> systemMenu;
    bool destroyed = false;
};

class FakeBackend : public Backend {
public:
    // Installs itself as the current backend; the destructor removes it.
    FakeBackend();
    ~FakeBackend() override;

    // ---- what the user does during a modal run
    using ModalScript = std::function<void(CDialog&)>;
    // The next modal run executes this script, then ends. A run whose script
    // returns with the dialog still open gets a WM_CLOSE, as if the user hit
    // the close box; when even that does not end it, the run is ended by
    // force and counted in forcedEnds. A run with no script queued behaves
    // like a script that does nothing.
    void PushModalScript(ModalScript script);
    int forcedEnds = 0;
    std::vector<int> modalTemplates;  // template of every modal run, in order

    // ---- message boxes
    std::vector<MessageBoxRecord> messageBoxes;
    // Answers in order; when none is queued, the box answers IDOK for an OK
    // box and IDNO for a Yes/No box.
    void PushMessageBoxAnswer(int answer);
    // Called while a box is shown (inside its nested loop).
    std::function<void(const MessageBoxRecord&)> onMessageBox;

    // ---- posted messages
    // Delivers every posted message, also those posted meanwhile; returns
    // how many were delivered.
    int DeliverPending();
    // Waits until a message is posted (or the timeout passes); true if one is.
    bool WaitForPosted(std::chrono::milliseconds timeout);
    // Delivers posted messages as they arrive, one at a time, until pred()
    // holds or the timeout passes; returns pred().
    bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout);
    // While held, draining the queue from inside the program delivers nothing.
    bool holdPosted = false;

    // ---- windows and controls
    FakeWindow& Window(CDialog& dialog);
    FakeControl& Control(CDialog& dialog, int id);
    // What a user can do. Each returns false when the control cannot take
    // it (missing, disabled or hidden).
    bool Click(CDialog& dialog, int id);  // button, check box or radio button
    bool TypeText(CDialog& dialog, int id, const std::string& text);
    bool SelectRows(CDialog& dialog, int id, const std::set<int>& rows);
    void PressEnter(CDialog& dialog) { dialog.SendMessage(WM_COMMAND, IDOK, 0); }
    void PressEscape(CDialog& dialog) { dialog.SendMessage(WM_COMMAND, IDCANCEL, 0); }
    void ClickCloseBox(CDialog& dialog) { dialog.SendMessage(WM_CLOSE, 0, 0); }
    bool ChooseSystemMenu(CDialog& dialog, UINT id);
    // The pointer over a control at (x, y) in its own pixels, and leaving it.
    void PointerOver(CDialog& dialog, int id, int x, int y);
    void PointerLeaves(CDialog& dialog, int id);
    // A click on a static control (reported to whoever took it over).
    void ClickStatic(CDialog& dialog, int id);
    // The colour a control's text is drawn in now.
    COLORREF TextColour(CDialog& dialog, int id);

    // Open-file dialog: answers in order (nothing = cancel); cancels when
    // none is queued. The filter text of every call is kept.
    std::deque<std::optional<std::vector<std::string>>> openFileAnswers;
    std::vector<std::string> openFileFilters;
    // Called while the open-file dialog is shown (inside its nested loop).
    std::function<void()> onOpenFileDialog;

    // Every file, folder or address opened with the desktop, in order.
    std::vector<std::string> openedDocuments;

    // Folder chooser: answers in order (nothing = cancel); cancels when none is queued.
    std::deque<std::optional<std::string>> folderAnswers;
    std::vector<std::string> folderTitles;

    // ---- special folders: when set, these replace the real ones
    std::optional<std::string> programFile;
    std::optional<std::string> documentsFolder;
    bool documentsFolderFails = false;
    std::optional<std::string> tempFolder;
    std::optional<std::string> homeFolder;
    std::optional<std::string> configFolder;

    // ---- Backend
    void CreateDialogWindow(CDialog& dialog, const res::DialogTemplate& tmpl) override;
    void RunModalLoop(CDialog& dialog) override;
    void EndModalLoop(CDialog& dialog) override;
    void DestroyDialogWindow(CDialog& dialog) override;
    int MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                   UINT type) override;
    void WakeUp() override;
    void DrainPending() override;
    std::string ProgramFilePath() override;
    std::optional<std::string> DocumentsFolder() override;
    std::string TempFolder() override;
    std::string HomeFolder() override;
    std::string ConfigFolder() override;

    void EnableControl(CDialog& d, int id, bool enable) override;
    bool IsControlEnabled(CDialog& d, int id) override;
    void SetControlText(CDialog& d, int id, const std::string& text) override;
    std::string GetControlText(CDialog& d, int id) override;
    void SetCheck(CDialog& d, int id, int state) override;
    int GetCheck(CDialog& d, int id) override;
    int ComboGetCount(CDialog& d, int id) override;
    int ComboInsertString(CDialog& d, int id, int index, const std::string& text) override;
    std::string ComboGetString(CDialog& d, int id, int index) override;
    void ComboSetCurSel(CDialog& d, int id, int index) override;
    int ComboGetCurSel(CDialog& d, int id) override;
    void ProgressSetRange(CDialog& d, int id, int lower, int upper) override;
    void ProgressGetRange(CDialog& d, int id, int& lower, int& upper) override;
    void ProgressSetPos(CDialog& d, int id, int pos) override;
    int ProgressGetPos(CDialog& d, int id) override;
    void ListSetFullRowGrid(CDialog& d, int id) override;
    void ListInsertColumn(CDialog& d, int id, int index, const std::string& heading,
                          ColumnAlign align, int widthPixels) override;
    int ListGetItemCount(CDialog& d, int id) override;
    int ListInsertItem(CDialog& d, int id, int row, const std::string& text) override;
    void ListSetItemText(CDialog& d, int id, int row, int column, const std::string& text) override;
    std::string ListGetItemText(CDialog& d, int id, int row, int column) override;
    void ListDeleteItem(CDialog& d, int id, int row) override;
    void ListDeleteAllItems(CDialog& d, int id) override;
    int ListGetNextSelected(CDialog& d, int id, int after) override;
    void SetIcon(CDialog& d, int iconId, bool big) override;
    void AppendSystemMenu(CDialog& d, UINT id, const std::string& text) override;
    std::optional<std::string> BrowseForFolder(CWnd* owner, const std::string& title) override;
    std::optional<std::vector<std::string>> GetOpenFileNames(CWnd* owner,
                                                             const std::string& filters) override;
    bool OpenDocument(const std::string& target) override;
    void SubclassControl(CDialog& d, int id, CWnd* handler) override;
    void SetControlUnderline(CDialog& d, int id, bool underline) override;
    void SetControlCursor(CDialog& d, int id, Cursor cursor) override;
    void SetControlCapture(CDialog& d, int id, bool capture) override;
    void RedrawControl(CDialog& d, int id, bool now) override;
    void GetControlSize(CDialog& d, int id, int& width, int& height) override;

private:
    std::map<CDialog*, FakeWindow> m_windows;
    std::deque<ModalScript> m_scripts;
    std::deque<int> m_answers;
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
};

}  // namespace fw::fake

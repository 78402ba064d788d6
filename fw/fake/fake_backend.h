// In-memory backend for tests. It keeps a real posted-message queue but
// delivers posted messages only when the test says so; it records every
// message box and answers them from a script; each modal run executes a
// script given by the test, standing in for the user.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fw/backend.h"
#include "fw/wnd.h"

namespace fw::fake {

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
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
    // Delivers posted messages as they arrive until pred() holds or the
    // timeout passes; returns pred().
    bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout);
    // While held, draining the queue from inside the program delivers nothing.
    bool holdPosted = false;

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

private:
    std::deque<ModalScript> m_scripts;
    std::deque<int> m_answers;
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
};

}  // namespace fw::fake

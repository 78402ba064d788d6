// The window-system backend behind the framework. One backend is current for
// the life of the program: the Qt one for the real desktop, the fake one in
// tests. Platform services with no window (folders) have POSIX defaults here
// that a backend may replace.
#pragma once

#include <optional>
#include <string>

#include "fw/types.h"

namespace res {
struct DialogTemplate;
}

namespace fw {

class CWnd;
class CDialog;

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

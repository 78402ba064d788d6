// Windows, dialogs and the application object of the framework.
//
// A CWnd is addressed from other threads only by its handle (m_hWnd); all
// its member functions except PostMessage run on the user-interface thread.
#pragma once

#include <atomic>
#include <string>

#include "fw/types.h"

namespace fw {

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // The window's handle; 0 while it has no window. Readable from any thread.
    HWND GetSafeHwnd() const { return m_hWnd.load(); }

    // Queues a message for this window; safe from any thread. False when the
    // window has no handle.
    bool PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

    // Delivers a message at once (user-interface thread only).
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // A modal message box owned by this window; returns IDOK, IDYES or IDNO.
    int MessageBox(const std::string& text, const std::string& caption, UINT type);

    // The window procedure: every message for this window passes through it.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    std::atomic<HWND> m_hWnd{0};

protected:
    // Gives the window a fresh handle and registers it for message delivery.
    void AttachNewHandle();
    // Unregisters the handle; messages still queued for it are dropped.
    void DetachHandle();
};

class CDialog : public CWnd {
public:
    explicit CDialog(int templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the window from its template, initialises it and runs it
    // modally until EndDialog. Returns the value given to EndDialog, or -1
    // when there is no such template.
    int DoModal();
    void EndDialog(int result);

    int TemplateId() const { return m_templateId; }
    CWnd* Parent() const { return m_parent; }
    // True from EndDialog until the modal run has returned.
    bool IsEnding() const { return m_ending; }

    // Runs DoDataExchange, which binds the control objects.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Backend-owned data of the window while it exists.
    void* m_backendData = nullptr;

protected:
    // Binds control objects to their controls; the default binds nothing.
    virtual void DoDataExchange();
    // A control notification (WM_COMMAND other than OK and Cancel); returns
    // true when handled.
    virtual bool OnCommand(int controlId, UINT notifyCode);
    // WM_CLOSE; the default sends the Cancel command.
    virtual void OnClose();
    // WM_SYSCOMMAND; the default does nothing.
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    // Any other message; the default returns 0.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int m_templateId;
    CWnd* m_parent;
    bool m_ending = false;
    int m_result = 0;
};

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Runs the program; returning false ends it.
    virtual bool InitInstance();

    // The application's main window; read from any thread.
    std::atomic<CWnd*> m_pMainWnd{nullptr};
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Runs the current application object's InitInstance; returns the exit code.
int AfxWinMain();

// Queues a message for a window handle; safe from any thread.
bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Queues a message for the application's main window; safe from any thread.
bool PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam);

// True when a posted message waits for delivery.
bool HasPostedMessages();

// Delivers the oldest posted message, if any; true when one was taken.
bool DispatchOnePosted();

// Lets the user-interface thread handle everything that is pending now: user
// input and posted messages. Returns true when a modal run was asked to end
// meanwhile (the application is closing its window).
bool DrainPendingMessages();

}  // namespace fw

#include "fw/wnd.h"

#include <deque>
#include <mutex>
#include <unordered_map>

#include "fw/backend.h"
#include "res/resources.h"

namespace fw {

namespace {

struct Posted {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The posted-message queue and the table of live window handles. Posting may
// happen on any thread; delivery happens on the user-interface thread.
struct MessageState {
    std::mutex mutex;
    std::deque<Posted> queue;
    std::unordered_map<HWND, CWnd*> windows;
    HWND nextHandle = 0x100;
};

MessageState& State() {
    static MessageState state;
    return state;
}

CWinApp* g_app = nullptr;

}  // namespace

// ---------------------------------------------------------------- CWnd

CWnd::~CWnd() { DetachHandle(); }

void CWnd::AttachNewHandle() {
    MessageState& s = State();
    std::lock_guard lock(s.mutex);
    const HWND h = s.nextHandle++;
    s.windows[h] = this;
    m_hWnd.store(h);
}

void CWnd::DetachHandle() {
    const HWND h = m_hWnd.exchange(0);
    if (h == 0) return;
    MessageState& s = State();
    std::lock_guard lock(s.mutex);
    s.windows.erase(h);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return fw::PostMessage(m_hWnd.load(), message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type) {
    return GetBackend().MessageBox(this, text, caption, type);
}

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM) { return 0; }

// ---------------------------------------------------------------- CDialog

CDialog::CDialog(int templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    const res::DialogTemplate* tmpl = res::FindDialogTemplate(m_templateId);
    if (tmpl == nullptr) return -1;
    Backend& backend = GetBackend();
    m_ending = false;
    m_result = 0;
    AttachNewHandle();
    backend.CreateDialogWindow(*this, *tmpl);
    OnInitDialog();
    if (!m_ending) backend.RunModalLoop(*this);
    backend.DestroyDialogWindow(*this);
    DetachHandle();
    // The framework forgets a main window whose window is gone.
    if (CWinApp* app = AfxGetApp()) {
        CWnd* self = this;
        app->m_pMainWnd.compare_exchange_strong(self, nullptr);
    }
    m_ending = false;
    return m_result;
}

void CDialog::EndDialog(int result) {
    m_result = result;
    if (m_ending) return;
    m_ending = true;
    GetBackend().EndModalLoop(*this);
}

bool CDialog::OnInitDialog() {
    DoDataExchange();
    return true;
}

void CDialog::DoDataExchange() {}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnCommand(int, UINT) { return false; }

void CDialog::OnClose() { SendMessage(WM_COMMAND, IDCANCEL, 0); }

void CDialog::OnSysCommand(UINT, LPARAM) {}

LRESULT CDialog::OnMessage(UINT, WPARAM, LPARAM) { return 0; }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = static_cast<int>(wParam & 0xFFFF);
            const UINT code = static_cast<UINT>((wParam >> 16) & 0xFFFF);
            if (id == IDOK && code == BN_CLICKED) {
                OnOK();
            } else if (id == IDCANCEL && code == BN_CLICKED) {
                OnCancel();
            } else {
                OnCommand(id, code);
            }
            return 0;
        }
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_SYSCOMMAND:
            OnSysCommand(static_cast<UINT>(wParam), lParam);
            return 0;
        default:
            return OnMessage(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------- CWinApp

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

bool CWinApp::InitInstance() { return false; }

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd.load() : nullptr; }

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return 1;
    app->InitInstance();  // the program has no message loop of its own beyond this
    return 0;
}

// ---------------------------------------------------------------- messages

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == 0) return false;
    {
        MessageState& s = State();
        std::lock_guard lock(s.mutex);
        s.queue.push_back({window, message, wParam, lParam});
    }
    GetBackend().WakeUp();
    return true;
}

bool PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* main = AfxGetMainWnd();
    return main != nullptr && main->PostMessage(message, wParam, lParam);
}

bool HasPostedMessages() {
    MessageState& s = State();
    std::lock_guard lock(s.mutex);
    return !s.queue.empty();
}

bool DispatchOnePosted() {
    Posted msg{};
    CWnd* target = nullptr;
    {
        MessageState& s = State();
        std::lock_guard lock(s.mutex);
        if (s.queue.empty()) return false;
        msg = s.queue.front();
        s.queue.pop_front();
        const auto it = s.windows.find(msg.window);
        if (it != s.windows.end()) target = it->second;
    }
    // A message for a window that is gone is dropped.
    if (target != nullptr) target->WindowProc(msg.message, msg.wParam, msg.lParam);
    return true;
}

bool DrainPendingMessages() {
    GetBackend().DrainPending();
    CDialog* main = dynamic_cast<CDialog*>(AfxGetMainWnd());
    return main != nullptr && main->IsEnding();
}

}  // namespace fw

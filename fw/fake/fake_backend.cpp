#include "fw/fake/fake_backend.h"

#include "res/resources.h"

namespace fw::fake {

FakeBackend::FakeBackend() { SetBackend(this); }

FakeBackend::~FakeBackend() {
    if (&GetBackend() == this) SetBackend(nullptr);
}

void FakeBackend::PushModalScript(ModalScript script) { m_scripts.push_back(std::move(script)); }

void FakeBackend::PushMessageBoxAnswer(int answer) { m_answers.push_back(answer); }

void FakeBackend::CreateDialogWindow(CDialog& dialog, const res::DialogTemplate&) {
    modalTemplates.push_back(dialog.TemplateId());
}

void FakeBackend::RunModalLoop(CDialog& dialog) {
    ModalScript script;
    if (!m_scripts.empty()) {
        script = std::move(m_scripts.front());
        m_scripts.pop_front();
    }
    if (script) script(dialog);
    if (!dialog.IsEnding()) dialog.SendMessage(WM_CLOSE, 0, 0);
    if (!dialog.IsEnding()) {
        ++forcedEnds;
        dialog.EndDialog(-1);
    }
}

void FakeBackend::EndModalLoop(CDialog&) {}

void FakeBackend::DestroyDialogWindow(CDialog&) {}

int FakeBackend::MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                            UINT type) {
    MessageBoxRecord record{owner ? owner->GetSafeHwnd() : 0, text, caption, type};
    messageBoxes.push_back(record);
    if (onMessageBox) onMessageBox(record);
    if (!m_answers.empty()) {
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

void FakeBackend::WakeUp() {
    std::lock_guard lock(m_wakeMutex);
    m_wake.notify_all();
}

void FakeBackend::DrainPending() {
    if (holdPosted) return;
    while (HasPostedMessages()) DispatchOnePosted();
}

int FakeBackend::DeliverPending() {
    int n = 0;
    while (DispatchOnePosted()) ++n;
    return n;
}

bool FakeBackend::WaitForPosted(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_wakeMutex);
    return m_wake.wait_for(lock, timeout, [] { return HasPostedMessages(); });
}

bool FakeBackend::PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        DeliverPending();
        if (pred()) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        WaitForPosted(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now));
    }
}

std::string FakeBackend::ProgramFilePath() {
    return programFile ? *programFile : Backend::ProgramFilePath();
}

std::optional<std::string> FakeBackend::DocumentsFolder() {
    if (documentsFolderFails) return std::nullopt;
    return documentsFolder ? documentsFolder : Backend::DocumentsFolder();
}

std::string FakeBackend::TempFolder() { return tempFolder ? *tempFolder : Backend::TempFolder(); }

std::string FakeBackend::HomeFolder() { return homeFolder ? *homeFolder : Backend::HomeFolder(); }

std::string FakeBackend::ConfigFolder() {
    return configFolder ? *configFolder : Backend::ConfigFolder();
}

}  // namespace fw::fake

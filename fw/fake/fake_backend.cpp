#include "fw/fake/fake_backend.h"

#include "res/resources.h"

namespace fw::fake {

FakeBackend::FakeBackend() { SetBackend(this); }

FakeBackend::~FakeBackend() {
    if (&GetBackend() == this) SetBackend(nullptr);
}

void FakeBackend::PushModalScript(ModalScript script) { m_scripts.push_back(std::move(script)); }

void FakeBackend::PushMessageBoxAnswer(int answer) { m_answers.push_back(answer); }

void FakeBackend::CreateDialogWindow(CDialog& dialog, const res::DialogTemplate& tmpl) {
    modalTemplates.push_back(dialog.TemplateId());
    FakeWindow window;
    window.tmpl = &tmpl;
    const std::vector<int> groups = res::GroupNumbers(tmpl);
    for (std::size_t i = 0; i < tmpl.controls.size(); ++i) {
        const res::ControlTemplate& c = tmpl.controls[i];
        if (c.id < 0) continue;
        FakeControl control;
        control.kind = c.kind;
        control.group = groups[i];
        control.visible = (c.flags & res::kHidden) == 0;
        control.text = c.caption;
        control.width = c.cx * 6 / 4;
        control.height = c.cy * 13 / 8;
        window.controls[c.id] = control;
    }
    m_windows[&dialog] = std::move(window);
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

void FakeBackend::DestroyDialogWindow(CDialog& dialog) { Window(dialog).destroyed = true; }

FakeWindow& FakeBackend::Window(CDialog& dialog) { return m_windows[&dialog]; }

FakeControl& FakeBackend::Control(CDialog& dialog, int id) {
    FakeWindow& w = Window(dialog);
    const auto it = w.controls.find(id);
    if (it == w.controls.end()) {
        static FakeControl missing;
        missing = FakeControl{};
        missing.enabled = false;
        missing.visible = false;
        return missing;
    }
    return it->second;
}

bool FakeBackend::Click(CDialog& dialog, int id) {
    FakeWindow& w = Window(dialog);
    const auto it = w.controls.find(id);
    if (it == w.controls.end() || !it->second.enabled || !it->second.visible) return false;
    FakeControl& c = it->second;
    if (c.kind == res::ControlKind::AutoCheck) c.check = c.check ? 0 : 1;
    if (c.kind == res::ControlKind::AutoRadio) {
        for (auto& [otherId, other] : w.controls) {
            if (other.kind == res::ControlKind::AutoRadio && other.group == c.group) other.check = 0;
        }
        c.check = 1;
    }
    dialog.SendMessage(WM_COMMAND, static_cast<WPARAM>(id) | (WPARAM{BN_CLICKED} << 16), 0);
    return true;
}

bool FakeBackend::TypeText(CDialog& dialog, int id, const std::string& text) {
    FakeControl& c = Control(dialog, id);
    if (!c.enabled || !c.visible) return false;
    c.text = text;
    return true;
}

bool FakeBackend::SelectRows(CDialog& dialog, int id, const std::set<int>& rows) {
    FakeControl& c = Control(dialog, id);
    if (!c.enabled || !c.visible) return false;
    c.selected.clear();
    for (int r : rows) {
        if (r >= 0 && r < static_cast<int>(c.rows.size())) c.selected.insert(r);
    }
    return true;
}

bool FakeBackend::ChooseSystemMenu(CDialog& dialog, UINT id) {
    for (const auto& item : Window(dialog).systemMenu) {
        if (item.first == id && id != 0) {
            dialog.SendMessage(WM_SYSCOMMAND, id, 0);
            return true;
        }
    }
    return false;
}

void FakeBackend::EnableControl(CDialog& d, int id, bool enable) { Control(d, id).enabled = enable; }
bool FakeBackend::IsControlEnabled(CDialog& d, int id) { return Control(d, id).enabled; }
void FakeBackend::SetControlText(CDialog& d, int id, const std::string& text) {
    Control(d, id).text = text;
}
std::string FakeBackend::GetControlText(CDialog& d, int id) { return Control(d, id).text; }
void FakeBackend::SetCheck(CDialog& d, int id, int state) { Control(d, id).check = state; }
int FakeBackend::GetCheck(CDialog& d, int id) { return Control(d, id).check; }

int FakeBackend::ComboGetCount(CDialog& d, int id) {
    return static_cast<int>(Control(d, id).items.size());
}
int FakeBackend::ComboInsertString(CDialog& d, int id, int index, const std::string& text) {
    auto& items = Control(d, id).items;
    if (index < 0 || index > static_cast<int>(items.size())) index = static_cast<int>(items.size());
    items.insert(items.begin() + index, text);
    return index;
}
std::string FakeBackend::ComboGetString(CDialog& d, int id, int index) {
    const auto& items = Control(d, id).items;
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
}
void FakeBackend::ComboSetCurSel(CDialog& d, int id, int index) {
    FakeControl& c = Control(d, id);
    c.curSel = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
}
int FakeBackend::ComboGetCurSel(CDialog& d, int id) { return Control(d, id).curSel; }

void FakeBackend::ProgressSetRange(CDialog& d, int id, int lower, int upper) {
    Control(d, id).rangeLower = lower;
    Control(d, id).rangeUpper = upper;
}
void FakeBackend::ProgressGetRange(CDialog& d, int id, int& lower, int& upper) {
    lower = Control(d, id).rangeLower;
    upper = Control(d, id).rangeUpper;
}
void FakeBackend::ProgressSetPos(CDialog& d, int id, int pos) { Control(d, id).pos = pos; }
int FakeBackend::ProgressGetPos(CDialog& d, int id) { return Control(d, id).pos; }

void FakeBackend::ListSetFullRowGrid(CDialog& d, int id) { Control(d, id).fullRowGrid = true; }
void FakeBackend::ListInsertColumn(CDialog& d, int id, int index, const std::string& heading,
                                   ColumnAlign align, int widthPixels) {
    auto& cols = Control(d, id).columns;
    if (index < 0 || index > static_cast<int>(cols.size())) index = static_cast<int>(cols.size());
    cols.insert(cols.begin() + index, {heading, align, widthPixels});
}
int FakeBackend::ListGetItemCount(CDialog& d, int id) {
    return static_cast<int>(Control(d, id).rows.size());
}
int FakeBackend::ListInsertItem(CDialog& d, int id, int row, const std::string& text) {
    FakeControl& c = Control(d, id);
    if (row < 0 || row > static_cast<int>(c.rows.size())) row = static_cast<int>(c.rows.size());
    c.rows.insert(c.rows.begin() + row, std::vector<std::string>{text});
    std::set<int> moved;  // selection follows its rows
    for (int s : c.selected) moved.insert(s >= row ? s + 1 : s);
    c.selected = moved;
    return row;
}
void FakeBackend::ListSetItemText(CDialog& d, int id, int row, int column, const std::string& text) {
    FakeControl& c = Control(d, id);
    if (row < 0 || row >= static_cast<int>(c.rows.size()) || column < 0) return;
    auto& cells = c.rows[row];
    if (static_cast<int>(cells.size()) <= column) cells.resize(column + 1);
    cells[column] = text;
}
std::string FakeBackend::ListGetItemText(CDialog& d, int id, int row, int column) {
    const FakeControl& c = Control(d, id);
    if (row < 0 || row >= static_cast<int>(c.rows.size()) || column < 0) return std::string();
    const auto& cells = c.rows[row];
    return column < static_cast<int>(cells.size()) ? cells[column] : std::string();
}
void FakeBackend::ListDeleteItem(CDialog& d, int id, int row) {
    FakeControl& c = Control(d, id);
    if (row < 0 || row >= static_cast<int>(c.rows.size())) return;
    c.rows.erase(c.rows.begin() + row);
    std::set<int> moved;
    for (int s : c.selected) {
        if (s != row) moved.insert(s > row ? s - 1 : s);
    }
    c.selected = moved;
}
void FakeBackend::ListDeleteAllItems(CDialog& d, int id) {
    Control(d, id).rows.clear();
    Control(d, id).selected.clear();
}
int FakeBackend::ListGetNextSelected(CDialog& d, int id, int after) {
    const FakeControl& c = Control(d, id);
    const auto it = c.selected.upper_bound(after);
    return it == c.selected.end() ? -1 : *it;
}

void FakeBackend::SetIcon(CDialog& d, int iconId, bool big) {
    (big ? Window(d).bigIcon : Window(d).smallIcon) = iconId;
}
void FakeBackend::AppendSystemMenu(CDialog& d, UINT id, const std::string& text) {
    Window(d).systemMenu.emplace_back(id, text);
}
std::optional<std::string> FakeBackend::BrowseForFolder(CWnd*, const std::string& title) {
    folderTitles.push_back(title);
    if (folderAnswers.empty()) return std::nullopt;
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

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
        // One message at a time, so that no state the test waits for is
        // passed over by the messages behind it.
        if (pred()) return true;
        while (DispatchOnePosted()) {
            if (pred()) return true;
        }
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

bool FakeBackend::OpenDocument(const std::string& target) {
    openedDocuments.push_back(target);
    return true;
}

std::optional<std::vector<std::string>> FakeBackend::GetOpenFileNames(CWnd*,
                                                                      const std::string& filters) {
    openFileFilters.push_back(filters);
    if (onOpenFileDialog) onOpenFileDialog();
    if (openFileAnswers.empty()) return std::nullopt;
    auto answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

void FakeBackend::PointerOver(CDialog& dialog, int id, int x, int y) {
    FakeControl& c = Control(dialog, id);
    if (c.handler == nullptr) return;
    c.handler->SendMessage(WM_SETCURSOR, 0, 0);
    c.handler->SendMessage(WM_MOUSEMOVE, 0, MakePointParam(x, y));
}

void FakeBackend::PointerLeaves(CDialog& dialog, int id) {
    FakeControl& c = Control(dialog, id);
    // A control hears of the pointer leaving only while it holds the capture.
    if (c.handler != nullptr && c.captured) {
        c.handler->SendMessage(WM_MOUSEMOVE, 0, MakePointParam(-1, -1));
    }
}

void FakeBackend::ClickStatic(CDialog& dialog, int id) {
    FakeControl& c = Control(dialog, id);
    if (c.handler != nullptr && c.enabled) {
        c.handler->SendMessage(OCM_COMMAND, static_cast<WPARAM>(id) | (WPARAM{STN_CLICKED} << 16), 0);
    }
}

COLORREF FakeBackend::TextColour(CDialog& dialog, int id) {
    FakeControl& c = Control(dialog, id);
    if (c.handler == nullptr) return RGB(0, 0, 0);
    return static_cast<COLORREF>(c.handler->SendMessage(OCM_CTLCOLORSTATIC, 0, 0));
}

void FakeBackend::SubclassControl(CDialog& d, int id, CWnd* handler) { Control(d, id).handler = handler; }
void FakeBackend::SetControlUnderline(CDialog& d, int id, bool underline) {
    Control(d, id).underline = underline;
}
void FakeBackend::SetControlCursor(CDialog& d, int id, Cursor cursor) { Control(d, id).cursor = cursor; }
void FakeBackend::SetControlCapture(CDialog& d, int id, bool capture) {
    Control(d, id).captured = capture;
}
void FakeBackend::RedrawControl(CDialog& d, int id, bool) { ++Control(d, id).redraws; }
void FakeBackend::GetControlSize(CDialog& d, int id, int& width, int& height) {
    width = Control(d, id).width;
    height = Control(d, id).height;
}

}  // namespace fw::fake

// The job queue of the main dialog: adding, removing and clearing files, and
// measuring each added file with the encoder before it joins the visible list.
#include <cstdio>

#include "engine/encoder_output.h"
#include "fw/files.h"
#include "jobs/naming.h"
#include "ui/converter_dialog.h"

namespace {

constexpr const char kFileFilters[] =
    "Flv files(*.flv;*.f4v)|*.flv;*.f4v|Mp4 files(*.mp4;*.m4v)|*.mp4;*.m4v|All files(*.*)|*.*||";

}  // namespace

void CConverterDialog::OnAddFiles() {
    const auto chosen = fw::GetBackend().GetOpenFileNames(this, kFileFilters);
    if (!chosen) return;  // cancelled: nothing changes

    LockForProbing();
    for (const std::string& chosenPath : *chosen) {
        const std::string path = fw::Trim(chosenPath);
        const int m = JobStore.GetItemCount();
        bool duplicate = false;
        for (int row = 0; row < m && !duplicate; ++row) duplicate = JobStore.GetItemText(row, 0) == path;
        if (duplicate) {
            MessageBox("The file:\r\n" + path + "\r\nhas already been added!", "Warning", fw::MB_OK);
            continue;
        }
        JobStore.InsertItem(m, path);
    }
    ProbeNextFile();
}

void CConverterDialog::OnRemove() {
    for (int row = JobList.GetNextSelected(-1); row >= 0; row = JobList.GetNextSelected(-1)) {
        JobList.DeleteItem(row);
        JobStore.DeleteItem(row);
    }
}

void CConverterDialog::OnClear() {
    JobList.DeleteAllItems();
    JobStore.DeleteAllItems();
}

void CConverterDialog::ProbeNextFile() {
    // A loop rather than a call per file that cannot be started, so a long
    // queue of such files never deepens the stack.
    for (;;) {
        // Let the window handle what is pending (input, stale events) first.
        if (fw::DrainPendingMessages() || IsEnding()) {
            AbandonProbing();
            return;
        }
        const int n = JobList.GetItemCount();
        const int m = JobStore.GetItemCount();
        if (n >= m) {
            UnlockControls();
            return;
        }
        const std::string path = JobStore.GetItemText(n, 0);
        m_runner.Stop();
        const jobs::CommandLine cmd = jobs::ProbeCommand(EngineWorkPath, path);
        m_runner.m_probeMode = true;
        if (m_runner.Start(cmd.argv, cmd.text, false)) return;  // the result comes as ENGINE_FINISHED
        DropProbedFile();
    }
}

void CConverterDialog::DropProbedFile() {
    const int n = JobList.GetItemCount();
    MessageBox("Failed to load: " + JobStore.GetItemText(n, 0), "Warning", fw::MB_ICONINFORMATION);
    JobStore.DeleteItem(n);
}

void CConverterDialog::AbandonProbing() {
    m_runner.Stop();
    const int n = JobList.GetItemCount();
    while (JobStore.GetItemCount() > n) JobStore.DeleteItem(n);
}

void CConverterDialog::OnProbeFinished(int seconds) {
    if (seconds < 1) {
        DropProbedFile();
    } else {
        char text[16];
        std::snprintf(text, sizeof text, "%d", seconds);
        const int n = JobList.GetItemCount();
        JobStore.SetItemText(n, 1, text);
        const jobs::SplitPath split = jobs::SplitAtLastSeparator(JobStore.GetItemText(n, 0));
        JobList.InsertItem(n, split.name);
        JobList.SetItemText(n, 1, split.folder);
        JobList.SetItemText(n, 2, "Ready");
    }
    ProbeNextFile();
}

fw::LRESULT CConverterDialog::OnEngineEvent(fw::WPARAM wParam, fw::LPARAM lParam) {
    // Events of a run that has been stopped or replaced are stale, and so is
    // anything that arrives while the window is closing.
    if (EngineEventRun(wParam) != m_runner.CurrentRun() || IsEnding()) return 1;
    const int value = static_cast<int>(lParam);
    switch (EngineEventCode(wParam)) {
        case ENGINE_PROGRESS:
            OnProgress(value);
            break;
        case ENGINE_FINISHED:
            if (m_runner.m_probeMode) {
                OnProbeFinished(value);
            } else {
                OnConversionFinished();
            }
            break;
        default:
            break;
    }
    return 1;
}

// The conversion run of the main dialog: the start/stop button, converting
// one row after the other, progress, and the end of the run.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>

#include "fw/files.h"
#include "jobs/naming.h"
#include "ui/converter_dialog.h"

namespace {

const char* StatusOf(JobOutcome outcome) {
    switch (outcome) {
        case JobOutcome::Renamed:
            return "Renamed";
        case JobOutcome::Overwritten:
            return "Overwritten";
        case JobOutcome::Converted:
        default:
            return "Done";
    }
}

}  // namespace

void CConverterDialog::OnStartStop() {
    if (m_converting) {
        m_runner.Stop();
        CChildProcess::Pause(500);
        UnlockControls();
        m_btnStart.SetWindowText("Start &Converting");
        m_converting = false;
        return;
    }
    if (JobList.GetItemCount() == 0) {
        MessageBox("No flv file added!", "Warning", fw::MB_ICONINFORMATION);
        return;
    }
    const std::string folder = jobs::OutputFolderFromText(m_editOutputDir.GetWindowText());
    if (!jobs::IsDirectory(folder)) {
        MessageBox("The output directory does not exists!", "Warning", fw::MB_ICONINFORMATION);
        return;
    }
    OutputDir = folder;
    m_totalSeconds = 0;
    m_doneSeconds = 0;
    for (int row = 0; row < JobList.GetItemCount(); ++row) {
        m_totalSeconds += jobs::DurationOf(JobStore.GetItemText(row, 1));
    }
    m_progress.SetRange32(0, m_totalSeconds);
    m_progress.SetPos(0);
    LockForConverting();
    m_btnStart.SetWindowText("&Stop");
    m_converting = true;
    m_currentRow = 0;
    ConvertFile(JobStore.GetItemText(0, 0));
}

void CConverterDialog::ConvertFile(std::string inputPath) {
    // A loop rather than a call per skipped or failed row, so that a long
    // queue of them never deepens the stack.
    for (;;) {
        const std::string base = jobs::BaseNameOf(inputPath);
        std::string output = jobs::OutputPath(OutputDir, base);
        bool skip = false;
        if (!jobs::FileExists(output)) {
            m_outcome = JobOutcome::Converted;
        } else if (m_radAutoRename.GetCheck() != 0) {
            int n = 1;
            while (jobs::FileExists(jobs::OutputPath(OutputDir, base, n))) ++n;
            output = jobs::OutputPath(OutputDir, base, n);
            m_outcome = JobOutcome::Renamed;
        } else if (m_radOverwrite.GetCheck() != 0) {
            fw::DeleteFile(output);
            m_outcome = JobOutcome::Overwritten;
        } else if (m_radSkip.GetCheck() != 0) {
            skip = true;
        }

        if (skip) {
            JobList.SetItemText(m_currentRow, 2, "Skipped");
            m_currentDuration = jobs::DurationOf(JobStore.GetItemText(m_currentRow, 1));
            m_doneSeconds += m_currentDuration;
            m_progress.SetPos(m_doneSeconds);
            ++m_currentRow;
            if (m_currentRow == JobList.GetItemCount()) {
                EndRunAfterSkip();
                return;
            }
            inputPath = JobStore.GetItemText(m_currentRow, 0);
            continue;
        }

        m_runner.Stop();
        jobs::AudioSettings audio;
        audio.useDefaults = m_chkDefaultSettings.GetCheck() != 0;
        if (!audio.useDefaults) {
            audio.bitrate = BitrateTable.at(static_cast<std::size_t>(m_cmbBitrate.GetCurSel()));
            audio.sampleRate =
                SampleRateTable.at(static_cast<std::size_t>(m_cmbFrequency.GetCurSel()));
            audio.mono = m_radMono.GetCheck() != 0;
        }
        const jobs::CommandLine cmd = jobs::ConvertCommand(EngineWorkPath, inputPath, output, audio);
        m_currentDuration = jobs::DurationOf(JobStore.GetItemText(m_currentRow, 1));
        m_currentOutput = output;
        m_runner.m_probeMode = false;
        // The encoder would ask on its (silent) input whether to overwrite
        // whatever still stands at the output path, and wait for ever.
        if (!jobs::PathOccupied(output) && m_runner.Start(cmd.argv, cmd.text, false)) return;
        if (!FinishRow("Failed")) return;
        inputPath = JobStore.GetItemText(m_currentRow, 0);
    }
}

bool CConverterDialog::FinishRow(const char* status) {
    JobList.SetItemText(m_currentRow, 2, status);
    m_doneSeconds += m_currentDuration;
    m_progress.SetPos(m_doneSeconds);
    ++m_currentRow;
    if (m_currentRow >= JobList.GetItemCount()) {
        EndRun();
        return false;
    }
    return true;
}

bool CConverterDialog::CurrentRowSucceeded() {
    const ChildExit exit = m_runner.LastExit();
    struct stat st {};
    const bool output = ::stat(m_currentOutput.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    if (output && st.st_size == 0) fw::DeleteFile(m_currentOutput);  // nothing worth keeping
    return exit.ended && !exit.signaled && exit.exitCode == 0 && output && st.st_size > 0;
}

void CConverterDialog::OnProgress(int seconds) {
    if (m_runner.m_probeMode || m_currentRow >= JobList.GetItemCount() || m_currentDuration < 1) {
        return;
    }
    m_currentPosition = seconds;
    const auto percent = static_cast<int>(std::int64_t{seconds} * 100 / m_currentDuration);
    char text[32];
    std::snprintf(text, sizeof text, "%d%%", percent);
    JobList.SetItemText(m_currentRow, 2, text);
    m_progress.SetPos(static_cast<int>(std::int64_t{m_doneSeconds} + m_currentPosition));
}

void CConverterDialog::OnConversionFinished() {
    // An end that arrives after the run was stopped changes nothing.
    if (!m_converting) return;
    const bool ok = CurrentRowSucceeded();
    if (FinishRow(ok ? StatusOf(m_outcome) : "Failed")) {
        ConvertFile(JobStore.GetItemText(m_currentRow, 0));
    }
}

void CConverterDialog::EndRun() {
    UnlockControls();
    m_btnStart.SetWindowText("Start &Converting");
    m_converting = false;
    if (MessageBox("Task completed! Open the output folder now?", "Confirm",
                   fw::MB_YESNO | fw::MB_ICONINFORMATION) == fw::IDYES) {
        fw::GetBackend().OpenDocument(OutputDir);
    }
}

void CConverterDialog::EndRunAfterSkip() {
    MessageBox("All Flv files have been converted!", "Confirm", fw::MB_ICONINFORMATION);
    UnlockControls();
    m_btnStart.SetWindowText("Start &Converting");
    m_converting = false;
}

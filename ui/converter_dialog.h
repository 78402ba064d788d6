// The main window: the converter dialog. Its window side (initialisation,
// control groups, closing rules) is defined in ui/, its job handlers in
// jobs/, its start-up and shutdown work in app/.
#pragma once

#include <array>
#include <string>

#include "engine/encoder_process.h"
#include "fw/controls.h"
#include "fw/wnd.h"
#include "ui/link_label.h"
#include "ui/site_address.h"

// Control IDs of the main window.
enum : int {
    IDC_ADD = 1000,
    IDC_JOBLIST = 1002,
    IDC_REMOVE = 1003,
    IDC_OUTPUTDIR = 1004,
    IDC_BROWSE = 1005,
    IDC_MONO = 1007,
    IDC_STEREO = 1008,
    IDC_BITRATE = 1009,
    IDC_FREQUENCY = 1010,
    IDC_OVERWRITE = 1011,
    IDC_SKIP = 1012,
    IDC_AUTORENAME = 1013,
    IDC_START = 1016,
    IDC_HELP = 1019,
    IDC_PROGRESS = 1020,
    IDC_JOBSTORE = 1022,
    IDC_DEFAULTSETTINGS = 1023,
    IDC_EXIT = 1024,
    IDC_LINK = 1032,
    IDC_MOREDOWNLOADS = 1037,
    IDC_CLEAR = 1045,
};

// What to do when the output file exists already; read from the radio buttons.
enum class ExistsPolicy { AutoRename, Overwrite, Skip };

// How the current file's output name was obtained.
enum class JobOutcome { Converted = 0, Renamed = 1, Overwritten = 2 };

// The window command that opens the About box.
constexpr fw::UINT IDM_ABOUTBOX = 0x0010;

class CConverterDialog : public fw::CDialog {
public:
    explicit CConverterDialog(fw::CWnd* pParent = nullptr);
    ~CConverterDialog() override;

    // ---- members, in the order they are built
    CSiteAddress m_siteAddress;                   // the maker's web site domain
    std::array<std::string, 18> BitrateTable;    // kbit/s, decimal text
    std::array<std::string, 12> SampleRateTable;  // Hz, decimal text
    std::string OutputDir;                        // output folder
    int m_totalSeconds = 0;                       // run: durations of all rows
    int m_doneSeconds = 0;                        // run: rows finished or skipped so far
    int m_currentDuration = 0;                    // run: duration of the current row
    int m_currentPosition = 0;                    // run: last progress figure of the current row
    bool m_converting = false;                    // a conversion run is active
    CEncoderProcess m_runner;                     // runs the encoder
    std::string EngineWorkPath;                   // the runnable encoder copy
    std::string EngineSourcePath;                 // the scrambled encoder beside the program
    std::string ProgramDir;                       // folder of the program, ending with a separator
    std::string SettingsPath;                     // where "option.ini" is read and written
    int m_currentRow = 0;                         // row being converted
    JobOutcome m_outcome = JobOutcome::Converted;  // how the current row's output was named
    std::string m_currentOutput;                  // the current row's output file
    CLinkLabel m_link;                            // the web link at the bottom left

    // Control objects, bound by DoDataExchange.
    fw::CButton m_btnClear;
    fw::CButton m_btnRemove;
    fw::CButton m_btnHelp;
    fw::CButton m_btnExit;
    fw::CButton m_btnStart;
    fw::CButton m_btnBrowse;
    fw::CButton m_btnAdd;
    fw::CButton m_radSkip;
    fw::CButton m_radOverwrite;
    fw::CButton m_radAutoRename;
    fw::CEdit m_editOutputDir;
    fw::CButton m_chkDefaultSettings;
    fw::CButton m_radMono;
    fw::CButton m_radStereo;
    fw::CComboBox m_cmbFrequency;
    fw::CComboBox m_cmbBitrate;
    fw::CListCtrl JobStore;
    fw::CProgressCtrl m_progress;
    fw::CListCtrl JobList;

    int m_hIcon = 0;  // the window's icon

    // ---- control groups
    // Disables the input controls, the audio controls and the start button.
    void LockForProbing();
    // Disables the input and audio controls; the start button stays usable.
    void LockForConverting();
    // Enables the input controls and the start button, and the audio
    // controls exactly when "Default settings" is unticked.
    void UnlockControls();

    // ---- the job queue
    // Measures the first pending file (JobStore row n, n = JobList rows) with
    // the encoder; returns when a probe runs or nothing is pending, then
    // unlocking the controls.
    void ProbeNextFile();
    // Converts the row m_currentRow, whose input file is inputPath: names
    // the output, applies the exists rule and starts the encoder. Rows that
    // are skipped or cannot be started are finished here and the next row is
    // taken, until one runs or the run ends.
    void ConvertFile(std::string inputPath);
    // Handler of WM_ENGINE_EVENT: the event code (and run) and its value.
    fw::LRESULT OnEngineEvent(fw::WPARAM wParam, fw::LPARAM lParam);

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnSysCommand(fw::UINT id, fw::LPARAM lParam) override;
    bool OnCommand(int controlId, fw::UINT notifyCode) override;

    fw::LRESULT OnMessage(fw::UINT message, fw::WPARAM wParam, fw::LPARAM lParam) override;

    void OnStartStop();
    void OnAddFiles();
    void OnRemove();
    void OnClear();
    void OnDefaultSettings();
    void OnBrowseFolder();
    void OnExit();
    void OnMoreDownloads();
    void OnHelpPage();

private:
    // Shared by every way of closing: refused while a conversion runs;
    // otherwise the encoder copy is deleted. True when closing may go on.
    bool MayClose();
    void EnableInputControls(bool enable);
    void EnableAudioControls(bool enable);
    void OnProbeFinished(int seconds);
    void OnProgress(int seconds);
    void OnConversionFinished();
    // Gives the current row its final status and moves on; false when that
    // was the last row and the run has ended.
    bool FinishRow(const char* status);
    // The end of a run whose last row was converted (or failed).
    void EndRun();
    // The end of a run whose last row was skipped.
    void EndRunAfterSkip();
    // Did the current row's encoder do its job?
    bool CurrentRowSucceeded();
    // Drops the row being probed after telling the user.
    void DropProbedFile();
    // The window is closing during probing: end it without further messages.
    void AbandonProbing();
};

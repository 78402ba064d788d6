// Window side of the main dialog: binding, initialisation, control groups,
// the "Default settings" switch, the folder chooser and the closing rules.
#include "ui/converter_dialog.h"

#include "fw/files.h"
#include "res/resources.h"
#include "ui/about_box.h"

void CConverterDialog::DoDataExchange() {
    m_btnClear.Attach(this, IDC_CLEAR);
    m_btnRemove.Attach(this, IDC_REMOVE);
    m_btnHelp.Attach(this, IDC_HELP);
    m_btnExit.Attach(this, IDC_EXIT);
    m_btnStart.Attach(this, IDC_START);
    m_btnBrowse.Attach(this, IDC_BROWSE);
    m_btnAdd.Attach(this, IDC_ADD);
    m_radSkip.Attach(this, IDC_SKIP);
    m_radOverwrite.Attach(this, IDC_OVERWRITE);
    m_radAutoRename.Attach(this, IDC_AUTORENAME);
    m_editOutputDir.Attach(this, IDC_OUTPUTDIR);
    m_chkDefaultSettings.Attach(this, IDC_DEFAULTSETTINGS);
    m_radMono.Attach(this, IDC_MONO);
    m_radStereo.Attach(this, IDC_STEREO);
    m_cmbFrequency.Attach(this, IDC_FREQUENCY);
    m_cmbBitrate.Attach(this, IDC_BITRATE);
    JobStore.Attach(this, IDC_JOBSTORE);
    m_progress.Attach(this, IDC_PROGRESS);
    JobList.Attach(this, IDC_JOBLIST);
}

bool CConverterDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();

    if (const char* about = res::LoadStringResource(res::IDS_ABOUTBOX); about && *about) {
        fw::GetBackend().AppendSystemMenu(*this, 0, std::string());
        fw::GetBackend().AppendSystemMenu(*this, IDM_ABOUTBOX, about);
    }
    fw::GetBackend().SetIcon(*this, m_hIcon, true);
    fw::GetBackend().SetIcon(*this, m_hIcon, false);

    JobList.SetFullRowGrid();
    JobList.InsertColumn(0, "File name", fw::ColumnAlign::Left, 120);
    JobList.InsertColumn(1, "Path", fw::ColumnAlign::Left, 255);
    JobList.InsertColumn(2, "Status", fw::ColumnAlign::Center, 80);
    JobStore.InsertColumn(0, "full path", fw::ColumnAlign::Left, 10);
    JobStore.InsertColumn(1, "duration", fw::ColumnAlign::Left, 10);

    for (const std::string& rate : BitrateTable) m_cmbBitrate.InsertString(m_cmbBitrate.GetCount(), rate);
    for (const std::string& rate : SampleRateTable) {
        m_cmbFrequency.InsertString(m_cmbFrequency.GetCount(), rate);
    }
    m_cmbBitrate.SetCurSel(11);   // "128"
    m_cmbFrequency.SetCurSel(5);  // "22050"
    m_cmbBitrate.EnableWindow(false);
    m_cmbFrequency.EnableWindow(false);
    m_radStereo.SetCheck(fw::BST_CHECKED);
    m_radMono.EnableWindow(false);
    m_radStereo.EnableWindow(false);
    m_chkDefaultSettings.SetCheck(fw::BST_CHECKED);
    m_editOutputDir.SetWindowText(OutputDir);
    m_radAutoRename.SetCheck(fw::BST_CHECKED);
    m_link.SubclassDlgItem(IDC_LINK, this);
    m_link.SetURL("http://www." + m_siteAddress.GetDomain());
    return true;  // the focus goes to the first control with a tab stop
}

bool CConverterDialog::OnCommand(int controlId, fw::UINT notifyCode) {
    if (notifyCode != fw::BN_CLICKED) return false;
    switch (controlId) {
        case IDC_START:
            OnStartStop();
            return true;
        case IDC_ADD:
            OnAddFiles();
            return true;
        case IDC_REMOVE:
            OnRemove();
            return true;
        case IDC_CLEAR:
            OnClear();
            return true;
        case IDC_DEFAULTSETTINGS:
            OnDefaultSettings();
            return true;
        case IDC_BROWSE:
            OnBrowseFolder();
            return true;
        case IDC_EXIT:
            OnExit();
            return true;
        case IDC_HELP:
            OnHelpPage();
            return true;
        case IDC_MOREDOWNLOADS:
            OnMoreDownloads();
            return true;
        default:
            return false;
    }
}

fw::LRESULT CConverterDialog::OnMessage(fw::UINT message, fw::WPARAM wParam, fw::LPARAM lParam) {
    if (message == WM_ENGINE_EVENT) return OnEngineEvent(wParam, lParam);
    return 0;
}

void CConverterDialog::OnSysCommand(fw::UINT id, fw::LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutBox about;
        about.DoModal();
    }
}

// ---- control groups

void CConverterDialog::EnableAudioControls(bool enable) {
    m_cmbBitrate.EnableWindow(enable);
    m_cmbFrequency.EnableWindow(enable);
    m_radMono.EnableWindow(enable);
    m_radStereo.EnableWindow(enable);
}

void CConverterDialog::EnableInputControls(bool enable) {
    for (fw::CControl* c : std::initializer_list<fw::CControl*>{
             &m_btnAdd, &m_btnRemove, &m_btnClear, &m_chkDefaultSettings, &m_btnExit,
             &m_editOutputDir, &m_btnBrowse, &m_radAutoRename, &m_radOverwrite, &m_radSkip}) {
        c->EnableWindow(enable);
    }
}

void CConverterDialog::LockForConverting() {
    EnableInputControls(false);
    EnableAudioControls(false);
}

void CConverterDialog::LockForProbing() {
    LockForConverting();
    m_btnStart.EnableWindow(false);
}

void CConverterDialog::UnlockControls() {
    EnableInputControls(true);
    m_btnStart.EnableWindow(true);
    EnableAudioControls(m_chkDefaultSettings.GetCheck() == fw::BST_UNCHECKED);
}

void CConverterDialog::OnDefaultSettings() {
    // The check box has toggled itself; the audio controls follow it.
    EnableAudioControls(m_chkDefaultSettings.GetCheck() == fw::BST_UNCHECKED);
}

void CConverterDialog::OnBrowseFolder() {
    const auto folder = fw::GetBackend().BrowseForFolder(this, "Choose Folder:");
    if (!folder || folder->empty()) return;
    m_editOutputDir.SetWindowText(fw::WithTrailingSeparator(*folder));
}

// ---- closing

bool CConverterDialog::MayClose() {
    if (m_converting) {
        MessageBox("Please stop converting before close!", "Warning", fw::MB_ICONINFORMATION);
        return false;
    }
    fw::DeleteFile(EngineWorkPath);
    return true;
}

void CConverterDialog::OnOK() {
    if (MayClose()) fw::CDialog::OnOK();
}

void CConverterDialog::OnCancel() {
    if (MayClose()) fw::CDialog::OnCancel();
}

void CConverterDialog::OnClose() {
    // The default processing sends the Cancel command, which tests again.
    if (MayClose()) fw::CDialog::OnClose();
}

void CConverterDialog::OnExit() { OnOK(); }

// ---- web links: failures to open are not reported

void CConverterDialog::OnMoreDownloads() {
    fw::GetBackend().OpenDocument("http://www." + m_siteAddress.GetDomain());
}

void CConverterDialog::OnHelpPage() {
    fw::GetBackend().OpenDocument("http://www." + m_siteAddress.GetDomain() + "/tarnwick/");
}

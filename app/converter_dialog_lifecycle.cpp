// Start-up and shutdown work of the main dialog.
#include "app/startup.h"
#include "fw/backend.h"
#include "fw/files.h"
#include "res/resources.h"
#include "ui/converter_dialog.h"

CConverterDialog::CConverterDialog(fw::CWnd* pParent) : fw::CDialog(res::IDD_CONVERTER, pParent) {
    m_hIcon = res::IDR_MAINFRAME;
    ProgramDir = app::ProgramDirOf(fw::GetProgramFilePath());
    EngineSourcePath = ProgramDir + app::kEngineFileName;
    EngineWorkPath = app::EngineWorkPathOf(fw::GetDocumentsFolder(), fw::GetTempFolder());

    // A copy left by an earlier run is replaced; a failure shows later as
    // encoder starts that fail.
    fw::DeleteFile(EngineWorkPath);
    app::UnpackEngine(EngineSourcePath, EngineWorkPath);

    BitrateTable = {"8",  "16", "24",  "32",  "40",  "48",  "56",  "64",  "80",
                    "96", "112", "128", "160", "192", "224", "256", "320", "350"};
    SampleRateTable = {"6000",  "8000",  "11025", "12000", "16000", "22050",
                       "24000", "32000", "44100", "48000", "88200", "96000"};

    SettingsPath = app::SettingsPathOf(ProgramDir, fw::IsWritableDirectory(ProgramDir),
                                       fw::GetConfigFolder());
    OutputDir = app::ReadOutputFolder(SettingsPath);
    if (OutputDir.empty()) {
        OutputDir = app::DefaultOutputDir(fw::GetHomeFolder());
        fw::CreateDirectory(OutputDir);
    }
    m_converting = false;
    m_currentRow = 0;
}

CConverterDialog::~CConverterDialog() {
    app::WriteOutputFolder(SettingsPath, OutputDir);
    fw::DeleteFile(EngineWorkPath);
}

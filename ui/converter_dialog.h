// The main window: the converter dialog. Its window side (initialisation,
// closing rules) is defined in ui/, its start-up and shutdown work in app/.
#pragma once

#include <array>
#include <string>

#include "engine/encoder_process.h"
#include "fw/wnd.h"

class CConverterDialog : public fw::CDialog {
public:
    explicit CConverterDialog(fw::CWnd* pParent = nullptr);
    ~CConverterDialog() override;

    // ---- members, in the order they are built
    std::array<std::string, 18> BitrateTable;    // kbit/s, decimal text
    std::array<std::string, 12> SampleRateTable;  // Hz, decimal text
    std::string OutputDir;                        // output folder
    bool m_converting = false;                    // a conversion run is active
    CEncoderProcess m_runner;                     // runs the encoder
    std::string EngineWorkPath;                   // the runnable encoder copy
    std::string EngineSourcePath;                 // the scrambled encoder beside the program
    std::string ProgramDir;                       // folder of the program, ending with a separator
    std::string SettingsPath;                     // where "option.ini" is read and written
    int m_currentRow = 0;                         // row being converted

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;

private:
    // Shared by every way of closing: refused while a conversion runs;
    // otherwise the encoder copy is deleted. True when closing may go on.
    bool MayClose();
};

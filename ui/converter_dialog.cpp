// Window side of the main dialog: initialisation and the closing rules.
#include "ui/converter_dialog.h"

#include "fw/files.h"

bool CConverterDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    return true;
}

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

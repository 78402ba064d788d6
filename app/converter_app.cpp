#include "app/converter_app.h"

#include "ui/converter_dialog.h"

bool CConverterApp::InitInstance() {
    CConverterDialog dialog(nullptr);
    m_pMainWnd = &dialog;
    dialog.DoModal();  // OK and Cancel end the program alike
    m_pMainWnd = nullptr;
    return false;
}

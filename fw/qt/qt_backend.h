// The desktop backend on Qt Widgets.
#pragma once

#include <memory>

#include "fw/backend.h"

class QApplication;
class QObject;

namespace fw::qt {

class QtBackend : public Backend {
public:
    // Creates the QApplication and installs itself as the current backend.
    QtBackend(int& argc, char** argv);
    ~QtBackend() override;

    void CreateDialogWindow(CDialog& dialog, const res::DialogTemplate& tmpl) override;
    void RunModalLoop(CDialog& dialog) override;
    void EndModalLoop(CDialog& dialog) override;
    void DestroyDialogWindow(CDialog& dialog) override;
    int MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                   UINT type) override;
    void WakeUp() override;
    void DrainPending() override;

private:
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<QObject> m_dispatcher;
};

}  // namespace fw::qt

// The desktop backend on Qt Widgets.
#pragma once

#include <memory>

#include "fw/backend.h"

class QApplication;
class QObject;
class QWidget;

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

    void EnableControl(CDialog& d, int id, bool enable) override;
    bool IsControlEnabled(CDialog& d, int id) override;
    void SetControlText(CDialog& d, int id, const std::string& text) override;
    std::string GetControlText(CDialog& d, int id) override;
    void SetCheck(CDialog& d, int id, int state) override;
    int GetCheck(CDialog& d, int id) override;
    int ComboGetCount(CDialog& d, int id) override;
    int ComboInsertString(CDialog& d, int id, int index, const std::string& text) override;
    std::string ComboGetString(CDialog& d, int id, int index) override;
    void ComboSetCurSel(CDialog& d, int id, int index) override;
    int ComboGetCurSel(CDialog& d, int id) override;
    void ProgressSetRange(CDialog& d, int id, int lower, int upper) override;
    void ProgressGetRange(CDialog& d, int id, int& lower, int& upper) override;
    void ProgressSetPos(CDialog& d, int id, int pos) override;
    int ProgressGetPos(CDialog& d, int id) override;
    void ListSetFullRowGrid(CDialog& d, int id) override;
    void ListInsertColumn(CDialog& d, int id, int index, const std::string& heading,
                          ColumnAlign align, int widthPixels) override;
    int ListGetItemCount(CDialog& d, int id) override;
    int ListInsertItem(CDialog& d, int id, int row, const std::string& text) override;
    void ListSetItemText(CDialog& d, int id, int row, int column, const std::string& text) override;
    std::string ListGetItemText(CDialog& d, int id, int row, int column) override;
    void ListDeleteItem(CDialog& d, int id, int row) override;
    void ListDeleteAllItems(CDialog& d, int id) override;
    int ListGetNextSelected(CDialog& d, int id, int after) override;
    void SetIcon(CDialog& d, int iconId, bool big) override;
    void AppendSystemMenu(CDialog& d, UINT id, const std::string& text) override;
    std::optional<std::string> BrowseForFolder(CWnd* owner, const std::string& title) override;
    std::optional<std::vector<std::string>> GetOpenFileNames(CWnd* owner,
                                                             const std::string& filters) override;
    bool OpenDocument(const std::string& target) override;
    void SubclassControl(CDialog& d, int id, CWnd* handler) override;
    void SetControlUnderline(CDialog& d, int id, bool underline) override;
    void SetControlCursor(CDialog& d, int id, Cursor cursor) override;
    void SetControlCapture(CDialog& d, int id, bool capture) override;
    void RedrawControl(CDialog& d, int id, bool now) override;
    void GetControlSize(CDialog& d, int id, int& width, int& height) override;

    // The top-level widget of a dialog's window, or nullptr.
    static QWidget* WindowOf(CDialog& dialog);
    // A control's widget, or nullptr.
    static QWidget* ControlOf(CDialog& dialog, int id);

private:
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<QObject> m_dispatcher;
};

}  // namespace fw::qt

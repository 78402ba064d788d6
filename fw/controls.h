// Control objects: thin handles bound to a dialog's control by its ID. Every
// operation goes to the current backend, which keeps the real state.
#pragma once

#include <string>

#include "fw/backend.h"
#include "fw/types.h"
#include "fw/wnd.h"

namespace fw {

class CDialog;

class CControl {
public:
    // Binds the object to control `id` of the dialog (data exchange).
    void Attach(CDialog* dialog, int id) {
        m_dialog = dialog;
        m_id = id;
    }
    int GetDlgCtrlID() const { return m_id; }

    void EnableWindow(bool enable) { GetBackend().EnableControl(*m_dialog, m_id, enable); }
    bool IsWindowEnabled() const { return GetBackend().IsControlEnabled(*m_dialog, m_id); }
    void SetWindowText(const std::string& text) {
        GetBackend().SetControlText(*m_dialog, m_id, text);
    }
    std::string GetWindowText() const { return GetBackend().GetControlText(*m_dialog, m_id); }

protected:
    CDialog* m_dialog = nullptr;
    int m_id = 0;
};

class CButton : public CControl {
public:
    void SetCheck(int state) { GetBackend().SetCheck(*m_dialog, m_id, state); }
    int GetCheck() const { return GetBackend().GetCheck(*m_dialog, m_id); }
};

class CEdit : public CControl {};

class CComboBox : public CControl {
public:
    int GetCount() const { return GetBackend().ComboGetCount(*m_dialog, m_id); }
    int InsertString(int index, const std::string& text) {
        return GetBackend().ComboInsertString(*m_dialog, m_id, index, text);
    }
    std::string GetLBText(int index) const {
        return GetBackend().ComboGetString(*m_dialog, m_id, index);
    }
    void SetCurSel(int index) { GetBackend().ComboSetCurSel(*m_dialog, m_id, index); }
    int GetCurSel() const { return GetBackend().ComboGetCurSel(*m_dialog, m_id); }
};

class CProgressCtrl : public CControl {
public:
    void SetRange32(int lower, int upper) {
        GetBackend().ProgressSetRange(*m_dialog, m_id, lower, upper);
    }
    void GetRange(int& lower, int& upper) const {
        GetBackend().ProgressGetRange(*m_dialog, m_id, lower, upper);
    }
    void SetPos(int pos) { GetBackend().ProgressSetPos(*m_dialog, m_id, pos); }
    int GetPos() const { return GetBackend().ProgressGetPos(*m_dialog, m_id); }
};

class CListCtrl : public CControl {
public:
    // Full-row selection and grid lines.
    void SetFullRowGrid() { GetBackend().ListSetFullRowGrid(*m_dialog, m_id); }
    void InsertColumn(int index, const std::string& heading, ColumnAlign align, int width) {
        GetBackend().ListInsertColumn(*m_dialog, m_id, index, heading, align, width);
    }
    int GetItemCount() const { return GetBackend().ListGetItemCount(*m_dialog, m_id); }
    int InsertItem(int row, const std::string& text) {
        return GetBackend().ListInsertItem(*m_dialog, m_id, row, text);
    }
    void SetItemText(int row, int column, const std::string& text) {
        GetBackend().ListSetItemText(*m_dialog, m_id, row, column, text);
    }
    std::string GetItemText(int row, int column) const {
        return GetBackend().ListGetItemText(*m_dialog, m_id, row, column);
    }
    void DeleteItem(int row) { GetBackend().ListDeleteItem(*m_dialog, m_id, row); }
    void DeleteAllItems() { GetBackend().ListDeleteAllItems(*m_dialog, m_id); }
    int GetNextSelected(int after) const {
        return GetBackend().ListGetNextSelected(*m_dialog, m_id, after);
    }
};

// A static text that a window object of its own can take over
// (subclassing): the control's messages then go to that object.
class CStatic : public CWnd {
public:
    // Takes over control `id` of `parent`; calls PreSubclassWindow first.
    bool SubclassDlgItem(int id, CDialog* parent);
    int GetDlgCtrlID() const { return m_id; }

protected:
    virtual void PreSubclassWindow() {}

    // Operations on the taken-over control.
    void SetUnderline(bool underline) { GetBackend().SetControlUnderline(*m_parent, m_id, underline); }
    void SetCursor(Cursor cursor) { GetBackend().SetControlCursor(*m_parent, m_id, cursor); }
    void SetCapture() { GetBackend().SetControlCapture(*m_parent, m_id, true); }
    void ReleaseCapture() { GetBackend().SetControlCapture(*m_parent, m_id, false); }
    void RedrawWindow() { GetBackend().RedrawControl(*m_parent, m_id, true); }
    void Invalidate() { GetBackend().RedrawControl(*m_parent, m_id, false); }
    bool PointInClient(int x, int y) const {
        int w = 0, h = 0;
        GetBackend().GetControlSize(*m_parent, m_id, w, h);
        return x >= 0 && y >= 0 && x < w && y < h;
    }

private:
    CDialog* m_parent = nullptr;
    int m_id = 0;
};

}  // namespace fw

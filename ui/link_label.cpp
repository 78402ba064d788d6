#include "ui/link_label.h"

void CLinkLabel::PreSubclassWindow() {
    // Clicks are reported for any static text taken over here; the text
    // gets an underline.
    SetUnderline(true);
}

fw::LRESULT CLinkLabel::WindowProc(fw::UINT message, fw::WPARAM wParam, fw::LPARAM lParam) {
    switch (message) {
        case fw::WM_MOUSEMOVE:
            OnMouseMove(fw::PointX(lParam), fw::PointY(lParam));
            return 0;
        case fw::WM_SETCURSOR:
            return OnSetCursor() ? 1 : 0;
        case fw::OCM_COMMAND:
            if (((wParam >> 16) & 0xFFFF) == fw::STN_CLICKED) OnClicked();
            return 0;
        case fw::OCM_CTLCOLORSTATIC:
            return CtlColor();
        default:
            return fw::CStatic::WindowProc(message, wParam, lParam);
    }
}

void CLinkLabel::OnMouseMove(int x, int y) {
    if (!m_bHover) {
        m_bHover = true;
        RedrawWindow();
        SetCapture();  // so that the control hears when the pointer leaves it
    } else if (!PointInClient(x, y)) {
        m_bHover = false;
        ReleaseCapture();
        RedrawWindow();
    }
}

bool CLinkLabel::OnSetCursor() {
    SetCursor(m_hHandCursor);
    return true;
}

void CLinkLabel::OnClicked() {
    OpenURL(m_url);  // a failure to open is not reported
    Invalidate();
}

bool CLinkLabel::OpenURL(const std::string& url) { return fw::GetBackend().OpenDocument(url); }

fw::COLORREF CLinkLabel::CtlColor() const { return m_bHover ? m_hoverColour : m_linkColour; }

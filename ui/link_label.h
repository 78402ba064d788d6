// A static text that acts as a web link: underlined, blue, red while the
// pointer is over it, a pointing hand as pointer, and a click opens its
// address with the desktop's web browser.
#pragma once

#include <string>

#include "fw/controls.h"

class CLinkLabel : public fw::CStatic {
public:
    CLinkLabel() = default;

    // The address a click opens.
    void SetURL(std::string url) { m_url = std::move(url); }
    // Asks the desktop to open the address; false when it could not.
    bool OpenURL(const std::string& url);

    fw::LRESULT WindowProc(fw::UINT message, fw::WPARAM wParam, fw::LPARAM lParam) override;

protected:
    void PreSubclassWindow() override;
    void OnMouseMove(int x, int y);
    bool OnSetCursor();
    void OnClicked();
    fw::COLORREF CtlColor() const;

private:
    fw::Cursor m_hHandCursor = fw::Cursor::Hand;  // the desktop's pointing hand
    bool m_bHover = false;
    std::string m_url;
    fw::COLORREF m_hoverColour = fw::RGB(255, 0, 0);
    fw::COLORREF m_linkColour = fw::RGB(0, 0, 255);
};

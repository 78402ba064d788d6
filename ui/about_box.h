// The About box: the program icon, name, legal notice and web site name.
#pragma once

#include "fw/wnd.h"
#include "res/resources.h"

class CAboutBox : public fw::CDialog {
public:
    explicit CAboutBox(fw::CWnd* pParent = nullptr) : fw::CDialog(res::IDD_ABOUTBOX, pParent) {}
};

// The application object: runs the main dialog and ends the program.
#pragma once

#include "fw/wnd.h"

class CConverterApp : public fw::CWinApp {
public:
    // Builds the main dialog, runs it modally, destroys it; returns false so
    // that the program ends afterwards.
    bool InitInstance() override;
};

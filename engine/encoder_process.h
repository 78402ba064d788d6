// The encoder runner: turns the runner's callbacks into engine events posted
// to the application's main window.
#pragma once

#include <cstdint>

#include "engine/child_process.h"
#include "fw/types.h"

// The engine event message: wParam carries the event code in its low 32 bits
// and the number of the run that posted it in its high 32 bits; lParam
// carries the event's value.
constexpr fw::UINT WM_ENGINE_EVENT = fw::WM_USER + 200;  // 1224

enum EngineEvent : int {
    ENGINE_STARTED = 7000,   // value 0
    ENGINE_STDOUT = 7001,    // value 0
    ENGINE_PROGRESS = 7002,  // whole seconds of encoder time reached
    ENGINE_FINISHED = 7003,  // probe: duration in whole seconds (0: none); conversion: 0
};

constexpr fw::WPARAM MakeEngineWParam(int code, std::uint32_t run) {
    return (static_cast<fw::WPARAM>(run) << 32) | static_cast<std::uint32_t>(code);
}
constexpr int EngineEventCode(fw::WPARAM wParam) {
    return static_cast<int>(wParam & 0xFFFFFFFFu);
}
constexpr std::uint32_t EngineEventRun(fw::WPARAM wParam) {
    return static_cast<std::uint32_t>(wParam >> 32);
}

class CEncoderProcess : public CChildProcess {
public:
    CEncoderProcess() = default;
    // Stops the run before this object's part is gone, so that no callback
    // can reach a half-destroyed object.
    ~CEncoderProcess() override;

protected:
    void OnStarted(const char* commandLine) override;
    void OnStdoutText(const char* text) override;
    void OnProgressText(const char* figure) override;
    void OnTerminated() override;

private:
    void Post(int code, int value);
};

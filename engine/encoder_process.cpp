#include "engine/encoder_process.h"

#include "fw/wnd.h"

CEncoderProcess::~CEncoderProcess() {
    if (!IsIdle()) Stop();
}

void CEncoderProcess::Post(int code, int value) {
    fw::PostToMainWindow(WM_ENGINE_EVENT, MakeEngineWParam(code, CurrentRun()), value);
}

void CEncoderProcess::OnStarted(const char*) { Post(ENGINE_STARTED, 0); }

void CEncoderProcess::OnStdoutText(const char*) { Post(ENGINE_STDOUT, 0); }

void CEncoderProcess::OnProgressText(const char* figure) {
    Post(ENGINE_PROGRESS, engine::ProgressSeconds(figure));
}

void CEncoderProcess::OnTerminated() {
    const int value = m_probeMode.load() ? engine::ParseDuration(ProbeTextCopy().c_str()) : 0;
    Post(ENGINE_FINISHED, value);
}

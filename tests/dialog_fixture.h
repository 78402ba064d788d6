// A fake desktop for dialog tests: the fake backend with its own program
// folder (holding the shipped encoder), documents, home, temporary and
// configuration folders, all inside one temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <string>

#include "fw/fake/fake_backend.h"
#include "tests/test_util.h"
#include "ui/converter_dialog.h"

class DialogFixture : public ::testing::Test {
protected:
    DialogFixture() {
        for (const char* sub : {"prog", "docs", "home", "tmp", "cfg"}) {
            ::mkdir((root / sub).c_str(), 0755);
        }
        fake.programFile = root / "prog/tandrel";
        fake.documentsFolder = root / "docs";
        fake.homeFolder = root / "home";
        fake.tempFolder = root / "tmp";
        fake.configFolder = root / "cfg";
    }

    std::string ProgDir() const { return root / "prog/"; }
    std::string CopyInDocs() const { return root / "docs/ra3Zidoz2.dll"; }
    std::string Ini() const { return root / "prog/option.ini"; }
    void ShipEncoder(const std::string& program = FAKE_ENCODER_PATH) {
        testutil::ShipEncoder(root / "prog", program);
    }

    // Runs the main dialog as the application's main window; `script` plays
    // the user while it is open.
    void Run(const std::function<void(CConverterDialog&)>& script) {
        CConverterDialog dlg;
        app.m_pMainWnd = &dlg;  // engine events go to the main window
        fake.PushModalScript([&](fw::CDialog&) { script(dlg); });
        dlg.DoModal();
        app.m_pMainWnd = nullptr;
    }

    testutil::TempDir root;
    fw::fake::FakeBackend fake;
    fw::CWinApp app;
};

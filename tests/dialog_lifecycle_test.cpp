// Start-up and shutdown of the main dialog through the fake backend.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "app/converter_app.h"
#include "app/startup.h"
#include "fw/profile.h"
#include "tests/dialog_fixture.h"
#include "ui/converter_dialog.h"

using testutil::Exists;
using testutil::ReadFile;

namespace {

// Runs the encoder copy as a program; true when it ran (the fake encoder
// refuses a missing input with exit status 1).
bool CopyRuns(const std::string& copy) {
    const std::string cmd = "'" + copy + "' -i /nonexistent/input 2>/dev/null";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

}  // namespace

using DialogLifecycle = DialogFixture;

TEST_F(DialogLifecycle, CopyExistsWhileOpenAndIsGoneAfterwards) {
    ShipEncoder();
    testutil::WriteFile(CopyInDocs(), "stale copy of an earlier run");
    bool ran = false;
    {
        CConverterApp converterApp;
        fake.PushModalScript([&](fw::CDialog& d) {
            ran = true;
            auto& dlg = static_cast<CConverterDialog&>(d);
            EXPECT_EQ(fw::AfxGetMainWnd(), &dlg);
            EXPECT_EQ(dlg.ProgramDir, ProgDir());
            EXPECT_EQ(dlg.EngineSourcePath, ProgDir() + "ra3Zidoz2.dll");
            EXPECT_EQ(dlg.EngineWorkPath, CopyInDocs());
            EXPECT_EQ(ReadFile(CopyInDocs()), ReadFile(FAKE_ENCODER_PATH));
            EXPECT_EQ(testutil::FileMode(CopyInDocs()), 0700u);
            EXPECT_TRUE(CopyRuns(CopyInDocs()));
            dlg.SendMessage(fw::WM_COMMAND, fw::IDOK, 0);  // Enter
            EXPECT_TRUE(dlg.IsEnding());
        });
        EXPECT_FALSE(converterApp.InitInstance());
        EXPECT_EQ(fw::AfxGetMainWnd(), nullptr);
    }
    EXPECT_TRUE(ran);
    EXPECT_EQ(fake.modalTemplates, std::vector<int>{102});
    EXPECT_FALSE(Exists(CopyInDocs()));
    EXPECT_EQ(fw::GetPrivateProfileString("General", "OutputFolder", "", Ini()),
              root / "home/Mp3 Output/");
    EXPECT_TRUE(fake.messageBoxes.empty());
}

TEST_F(DialogLifecycle, TablesAndFirstValues) {
    ShipEncoder();
    CConverterDialog dlg;
    EXPECT_EQ(dlg.BitrateTable.front(), "8");
    EXPECT_EQ(dlg.BitrateTable[11], "128");
    EXPECT_EQ(dlg.BitrateTable[16], "320");
    EXPECT_EQ(dlg.BitrateTable.back(), "350");
    EXPECT_EQ(dlg.SampleRateTable.front(), "6000");
    EXPECT_EQ(dlg.SampleRateTable[5], "22050");
    EXPECT_EQ(dlg.SampleRateTable.back(), "96000");
    EXPECT_FALSE(dlg.m_converting);
    EXPECT_EQ(dlg.m_currentRow, 0);
}

// Bad input around start-up: the window opens in every case, nothing is
// reported, and the output folder comes out as expected.
TEST_F(DialogLifecycle, BadInputStillOpensTheWindow) {
    struct Case {
        const char* name;
        const char* dll;  // "ok", "none", "empty", "folder"
        bool documentsFail;
        const char* ini;  // nullptr: no file
        std::string expectedOutputDir;
        bool defaultCreated;
    };
    const std::string def = root / "home/Mp3 Output/";
    const Case cases[] = {
        {"no encoder file", "none", false, nullptr, def, true},
        {"empty encoder file", "empty", false, "", def, true},
        {"encoder file is a folder", "folder", false, "[General]\nOutputFolder=\n", def, true},
        {"documents folder fails", "ok", true, "[General]\nOutputFolder=   \n", def, true},
        {"blank value, CRLF", "ok", false, "[General]\r\nOutputFolder= \t \r\n", def, true},
        {"no section", "ok", false, "[Other]\nOutputFolder=/x/\n", def, true},
        {"stored value", "ok", false, "; mine\n[General]\r\nOutputFolder=  /srv/m  \r\n", "/srv/m",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(root / "prog");
        std::filesystem::remove_all(root / "home/Mp3 Output");
        std::filesystem::remove(CopyInDocs());
        std::filesystem::remove(root / "tmp/ra3Zidoz2.dll");
        ::mkdir((root / "prog").c_str(), 0755);
        const std::string dll = root / "prog/ra3Zidoz2.dll";
        if (std::string(c.dll) == "ok") ShipEncoder();
        if (std::string(c.dll) == "empty") testutil::WriteFile(dll, "");
        if (std::string(c.dll) == "folder") ::mkdir(dll.c_str(), 0755);
        if (c.ini) testutil::WriteFile(Ini(), c.ini);
        fake.documentsFolderFails = c.documentsFail;
        const std::string copy = c.documentsFail ? root / "tmp/ra3Zidoz2.dll" : CopyInDocs();

        bool opened = false;
        {
            CConverterDialog dlg;
            fake.PushModalScript([&](fw::CDialog&) {
                opened = true;
                EXPECT_EQ(dlg.EngineWorkPath, copy);
                const bool copyExpected = std::string(c.dll) == "ok" || std::string(c.dll) == "empty";
                EXPECT_EQ(Exists(copy), copyExpected);
                if (std::string(c.dll) == "ok") {
                    EXPECT_TRUE(CopyRuns(copy));
                }
                EXPECT_EQ(dlg.OutputDir, c.expectedOutputDir);
                EXPECT_EQ(std::filesystem::is_directory(def), c.defaultCreated);
            });
            dlg.DoModal();
        }
        EXPECT_TRUE(opened);
        EXPECT_TRUE(fake.messageBoxes.empty());
        EXPECT_FALSE(Exists(copy));
        EXPECT_EQ(fw::GetPrivateProfileString("General", "OutputFolder", "", Ini()),
                  c.expectedOutputDir);
        if (c.ini && std::string(c.ini).find("; mine") == 0) {
            EXPECT_EQ(ReadFile(Ini()).substr(0, 7), "; mine\n");  // the rest of the file is kept
        }
    }
}

TEST_F(DialogLifecycle, FolderTypedButNeverUsedIsNotStored) {
    ShipEncoder();
    testutil::WriteFile(Ini(), "[General]\nOutputFolder=/srv/before/\n");
    {
        CConverterDialog dlg;
        fake.PushModalScript([&](fw::CDialog&) { EXPECT_EQ(dlg.OutputDir, "/srv/before/"); });
        dlg.DoModal();
    }
    EXPECT_EQ(fw::GetPrivateProfileString("General", "OutputFolder", "", Ini()), "/srv/before/");
}

TEST_F(DialogLifecycle, EveryWayOfClosingDeletesTheCopyAndEnds) {
    ShipEncoder();
    struct Case {
        const char* name;
        fw::UINT message;
        fw::WPARAM wParam;
        int result;
    } cases[] = {
        {"Enter (OK)", fw::WM_COMMAND, fw::IDOK, fw::IDOK},
        {"Escape (Cancel)", fw::WM_COMMAND, fw::IDCANCEL, fw::IDCANCEL},
        {"close box", fw::WM_CLOSE, 0, fw::IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CConverterDialog dlg;
        fake.PushModalScript([&](fw::CDialog&) {
            ASSERT_TRUE(Exists(CopyInDocs()));
            dlg.SendMessage(c.message, c.wParam, 0);
            EXPECT_TRUE(dlg.IsEnding());
            EXPECT_FALSE(Exists(CopyInDocs()));  // deleted before the window goes
        });
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_TRUE(fake.messageBoxes.empty());
    }
    EXPECT_EQ(fake.forcedEnds, 0);
}

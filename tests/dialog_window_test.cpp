// The main window's first state, control groups, "Default settings", the
// folder chooser and the closing rules, through the fake backend.
#include <functional>
#include <set>

#include "fw/profile.h"
#include "tests/dialog_fixture.h"
#include "ui/converter_dialog.h"

namespace {

const std::set<int> kInput = {IDC_ADD,  IDC_REMOVE, IDC_CLEAR,      IDC_DEFAULTSETTINGS, IDC_EXIT,
                              IDC_OUTPUTDIR, IDC_BROWSE, IDC_AUTORENAME, IDC_OVERWRITE, IDC_SKIP};
const std::set<int> kAudio = {IDC_BITRATE, IDC_FREQUENCY, IDC_MONO, IDC_STEREO};
const std::set<int> kAlwaysEnabled = {IDC_MOREDOWNLOADS, IDC_LINK, IDC_JOBLIST, IDC_JOBSTORE,
                                      IDC_PROGRESS, IDC_HELP};

class MainWindow : public DialogFixture {
protected:
    MainWindow() { ShipEncoder(); }

    std::set<int> Enabled(CConverterDialog& dlg) {
        std::set<int> on;
        for (const auto& [id, c] : fake.Window(dlg).controls) {
            if (c.enabled) on.insert(id);
        }
        return on;
    }

    static std::set<int> Union(std::initializer_list<std::set<int>> sets) {
        std::set<int> out;
        for (const auto& s : sets) out.insert(s.begin(), s.end());
        return out;
    }
};

}  // namespace

TEST_F(MainWindow, FirstStateOfEveryControl) {
    Run([&](CConverterDialog& dlg) {
        auto c = [&](int id) -> fw::fake::FakeControl& { return fake.Control(dlg, id); };
        EXPECT_EQ(c(IDC_BITRATE).items,
                  (std::vector<std::string>{"8", "16", "24", "32", "40", "48", "56", "64", "80",
                                            "96", "112", "128", "160", "192", "224", "256", "320",
                                            "350"}));
        EXPECT_EQ(c(IDC_FREQUENCY).items,
                  (std::vector<std::string>{"6000", "8000", "11025", "12000", "16000", "22050",
                                            "24000", "32000", "44100", "48000", "88200", "96000"}));
        struct Expect {
            int id;
            bool enabled;
            int check;
            std::string text;
        } table[] = {
            {IDC_ADD, true, 0, "&Add Flv File(s)"},
            {IDC_REMOVE, true, 0, "&Remove"},
            {IDC_CLEAR, true, 0, "&Clear"},
            {IDC_START, true, 0, "Start &Converting"},
            {IDC_EXIT, true, 0, "&Exit"},
            {IDC_MOREDOWNLOADS, true, 0, "More downloads!"},
            {IDC_BROWSE, true, 0, "..."},
            {IDC_OUTPUTDIR, true, 0, root / "home/Mp3 Output/"},
            {IDC_DEFAULTSETTINGS, true, 1, "Default settings"},
            {IDC_MONO, false, 0, "Mono"},
            {IDC_STEREO, false, 1, "Stereo"},
            {IDC_BITRATE, false, 0, ""},
            {IDC_FREQUENCY, false, 0, ""},
            {IDC_AUTORENAME, true, 1, "Auto rename"},
            {IDC_OVERWRITE, true, 0, "Overwrite"},
            {IDC_SKIP, true, 0, "Skip"},
            {IDC_PROGRESS, true, 0, ""},
        };
        for (const Expect& e : table) {
            SCOPED_TRACE(e.id);
            EXPECT_EQ(c(e.id).enabled, e.enabled);
            EXPECT_EQ(c(e.id).check, e.check);
            EXPECT_EQ(c(e.id).text, e.text);
        }
        EXPECT_EQ(dlg.m_cmbBitrate.GetLBText(dlg.m_cmbBitrate.GetCurSel()), "128");
        EXPECT_EQ(dlg.m_cmbFrequency.GetLBText(dlg.m_cmbFrequency.GetCurSel()), "22050");
        EXPECT_FALSE(c(IDC_HELP).visible);
        EXPECT_FALSE(c(IDC_JOBSTORE).visible);
        EXPECT_TRUE(c(IDC_JOBLIST).visible);
        EXPECT_EQ(fake.Window(dlg).bigIcon, 128);
        EXPECT_EQ(fake.Window(dlg).smallIcon, 128);
        using Item = std::pair<fw::UINT, std::string>;
        EXPECT_EQ(fake.Window(dlg).systemMenu,
                  (std::vector<Item>{{0, ""}, {16, "&About tandrel..."}}));
    });
}

TEST_F(MainWindow, DefaultSettingsSwitchesTheAudioControls) {
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(fake.Click(dlg, IDC_DEFAULTSETTINGS));  // untick
        EXPECT_EQ(dlg.m_chkDefaultSettings.GetCheck(), 0);
        for (int id : kAudio) EXPECT_TRUE(fake.Control(dlg, id).enabled) << id;
        // Selections are kept.
        EXPECT_EQ(dlg.m_cmbBitrate.GetCurSel(), 11);
        EXPECT_EQ(dlg.m_radStereo.GetCheck(), 1);
        ASSERT_TRUE(fake.Click(dlg, IDC_MONO));
        EXPECT_EQ(dlg.m_radStereo.GetCheck(), 0);
        ASSERT_TRUE(fake.Click(dlg, IDC_DEFAULTSETTINGS));  // tick again
        for (int id : kAudio) EXPECT_FALSE(fake.Control(dlg, id).enabled) << id;
        EXPECT_EQ(dlg.m_radMono.GetCheck(), 1);
    });
}

TEST_F(MainWindow, LockAndUnlockTouchExactlyTheirGroups) {
    Run([&](CConverterDialog& dlg) {
        const std::set<int> idle = Union({kInput, {IDC_START}, kAlwaysEnabled});
        for (bool defaults : {true, false}) {
            SCOPED_TRACE(defaults ? "default settings ticked" : "unticked");
            dlg.m_chkDefaultSettings.SetCheck(defaults ? 1 : 0);
            dlg.LockForProbing();
            EXPECT_EQ(Enabled(dlg), kAlwaysEnabled);
            dlg.UnlockControls();
            EXPECT_EQ(Enabled(dlg), defaults ? idle : Union({idle, kAudio}));
            dlg.LockForConverting();
            EXPECT_EQ(Enabled(dlg), Union({kAlwaysEnabled, {IDC_START}}));
            dlg.UnlockControls();
            EXPECT_EQ(Enabled(dlg), defaults ? idle : Union({idle, kAudio}));
        }
    });
}

TEST_F(MainWindow, FolderChooser) {
    Run([&](CConverterDialog& dlg) {
        const std::string before = dlg.m_editOutputDir.GetWindowText();
        ASSERT_TRUE(fake.Click(dlg, IDC_BROWSE));  // cancelled
        EXPECT_EQ(dlg.m_editOutputDir.GetWindowText(), before);
        fake.folderAnswers = {std::string("/srv/music"), std::string("/"),
                              std::string("/srv/a b/")};
        for (const char* expected : {"/srv/music/", "/", "/srv/a b/"}) {
            ASSERT_TRUE(fake.Click(dlg, IDC_BROWSE));
            EXPECT_EQ(dlg.m_editOutputDir.GetWindowText(), expected);
        }
        EXPECT_EQ(fake.folderTitles, std::vector<std::string>(4, "Choose Folder:"));
        EXPECT_EQ(dlg.OutputDir, root / "home/Mp3 Output/");  // taken only when a run starts
    });
    // Chosen but never used for a run: not stored.
    EXPECT_EQ(fw::GetPrivateProfileString("General", "OutputFolder", "", Ini()),
              root / "home/Mp3 Output/");
}

TEST_F(MainWindow, ClosingIsRefusedOnlyWhileConverting) {
    using Way = std::function<void(CConverterDialog&)>;
    const std::pair<const char*, Way> ways[] = {
        {"Enter", [&](CConverterDialog& d) { fake.PressEnter(d); }},
        {"Escape", [&](CConverterDialog& d) { fake.PressEscape(d); }},
        {"close box", [&](CConverterDialog& d) { fake.ClickCloseBox(d); }},
        {"Exit", [&](CConverterDialog& d) { fake.Click(d, IDC_EXIT); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        fake.messageBoxes.clear();
        ShipEncoder();
        Run([&](CConverterDialog& dlg) {
            dlg.m_converting = true;
            dlg.m_btnExit.EnableWindow(true);  // so that the button can be tried too
            way(dlg);
            EXPECT_FALSE(dlg.IsEnding());
            ASSERT_EQ(fake.messageBoxes.size(), 1u);
            EXPECT_EQ(fake.messageBoxes[0].text, "Please stop converting before close!");
            EXPECT_EQ(fake.messageBoxes[0].caption, "Warning");
            EXPECT_EQ(fake.messageBoxes[0].type, fw::MB_ICONINFORMATION);
            EXPECT_TRUE(testutil::Exists(CopyInDocs()));  // the encoder stays for the run

            dlg.m_converting = false;
            way(dlg);
            EXPECT_TRUE(dlg.IsEnding());
            EXPECT_EQ(fake.messageBoxes.size(), 1u);
            EXPECT_FALSE(testutil::Exists(CopyInDocs()));
        });
    }
    EXPECT_EQ(fake.forcedEnds, 0);
}

TEST_F(MainWindow, AboutItemOpensTheAboutBox) {
    Run([&](CConverterDialog& dlg) {
        bool shown = false;
        fake.PushModalScript([&](fw::CDialog& about) {
            shown = true;
            EXPECT_EQ(about.TemplateId(), 100);
            fake.PressEnter(about);
        });
        ASSERT_TRUE(fake.ChooseSystemMenu(dlg, IDM_ABOUTBOX));
        EXPECT_TRUE(shown);
        EXPECT_FALSE(dlg.IsEnding());
    });
    EXPECT_EQ(fake.modalTemplates, (std::vector<int>{102, 100}));
    EXPECT_EQ(fake.forcedEnds, 0);
}

TEST_F(MainWindow, TheLinkFollowsThePointerAndOpensTheSite) {
    Run([&](CConverterDialog& dlg) {
        auto& link = fake.Control(dlg, IDC_LINK);
        EXPECT_EQ(link.text, "www.quillet.example");
        EXPECT_TRUE(link.underline);
        EXPECT_EQ(fake.TextColour(dlg, IDC_LINK), fw::RGB(0, 0, 255));
        fake.PointerOver(dlg, IDC_LINK, 5, 5);
        EXPECT_EQ(link.cursor, fw::Cursor::Hand);
        EXPECT_TRUE(link.captured);
        EXPECT_EQ(fake.TextColour(dlg, IDC_LINK), fw::RGB(255, 0, 0));
        fake.PointerOver(dlg, IDC_LINK, 20, 6);  // still over it
        EXPECT_EQ(fake.TextColour(dlg, IDC_LINK), fw::RGB(255, 0, 0));
        const int redraws = link.redraws;
        fake.ClickStatic(dlg, IDC_LINK);
        EXPECT_EQ(fake.openedDocuments, std::vector<std::string>{"http://www.quillet.example"});
        EXPECT_GT(link.redraws, redraws);
        EXPECT_EQ(fake.TextColour(dlg, IDC_LINK), fw::RGB(255, 0, 0));  // the hover rule alone
        fake.PointerLeaves(dlg, IDC_LINK);
        EXPECT_FALSE(link.captured);
        EXPECT_EQ(fake.TextColour(dlg, IDC_LINK), fw::RGB(0, 0, 255));
    });
}

TEST_F(MainWindow, WebLinksOpenTheSiteInEveryState) {
    Run([&](CConverterDialog& dlg) {
        const std::string site = "http://www.quillet.example";
        ASSERT_TRUE(fake.Click(dlg, IDC_MOREDOWNLOADS));  // idle
        dlg.LockForProbing();
        ASSERT_TRUE(fake.Click(dlg, IDC_MOREDOWNLOADS));
        dlg.LockForConverting();
        dlg.m_converting = true;
        ASSERT_TRUE(fake.Click(dlg, IDC_MOREDOWNLOADS));
        fake.ClickStatic(dlg, IDC_LINK);
        dlg.m_converting = false;
        // The hidden "&Help" cannot be clicked; were it shown, it would open
        // the product page.
        EXPECT_FALSE(fake.Click(dlg, IDC_HELP));
        dlg.SendMessage(fw::WM_COMMAND, IDC_HELP, 0);
        EXPECT_EQ(fake.openedDocuments,
                  (std::vector<std::string>{site, site, site, site, site + "/tarnwick/"}));
        EXPECT_EQ(dlg.m_siteAddress.GetDomain(), "quillet.example");
    });
}

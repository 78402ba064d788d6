// The main window with the fake encoder shipped beside the program: helpers
// to add files and wait for probing, and to read the two lists.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tests/dialog_fixture.h"
#include "ui/converter_dialog.h"

class JobFixture : public DialogFixture {
protected:
    JobFixture() {
        CChildProcess::SetStopPacePercentForTesting(0);
        ShipEncoder();
        ::mkdir((root / "in").c_str(), 0755);
    }
    ~JobFixture() override { CChildProcess::SetStopPacePercentForTesting(100); }

    // A fake encoder input in the "in" folder with the given directives.
    std::string Media(const std::string& name, const std::string& body) {
        const std::string path = root / ("in/" + name);
        testutil::WriteFile(path, "#fake-encoder\n" + body);
        return path;
    }
    // A fake encoder input that reports this duration.
    std::string Clip(const std::string& name, const std::string& duration) {
        return Media(name, "banner 1900\nduration " + duration + "\nprobe: exit 1\n");
    }


    // Chooses files in the open-file dialog and waits until probing is over.
    bool Add(CConverterDialog& dlg, const std::vector<std::string>& files) {
        fake.openFileAnswers.push_back(files);
        if (!fake.Click(dlg, IDC_ADD)) return false;
        return WaitIdle(dlg);
    }
    bool WaitIdle(CConverterDialog& dlg) {
        return fake.PumpUntil([&] { return dlg.m_btnStart.IsWindowEnabled(); },
                              std::chrono::seconds(20));
    }

    static std::vector<std::string> Column(const fw::CListCtrl& list, int column) {
        std::vector<std::string> out;
        for (int row = 0; row < list.GetItemCount(); ++row) out.push_back(list.GetItemText(row, column));
        return out;
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> out;
        for (const auto& m : fake.messageBoxes) out.push_back(m.text);
        return out;
    }
};

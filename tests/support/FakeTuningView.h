#pragma once
#include "configurator/TuningView.h"

#include <functional>
#include <string>
#include <vector>

// Records what the controller asked of its window, in order, and answers
// from a script. observe, when set, runs after every recorded event, so a
// test can see what else had happened by then.
class FakeTuningView : public TuningView {
public:
    Desktop::WindowRef Owner() const override { return owner; }
    FormState ReadForm() const override { return form; }
    std::string ModeText() const override { return modeText; }
    std::string ConnectionTypeText() const override { return connectionTypeText; }
    void ShowExplanation(const std::string& caption, const std::string& text) override {
        explanations.push_back({caption, text});
        Record("explanation");
    }
    void SaveFormSettings() override { Record("save"); }
    void BeginProgress() override { Record("begin"); }
    void StepProgress(std::uint64_t count) override {
        stepCounts.push_back(count);
        Record("step");
    }
    void EndProgress() override { Record("end"); }
    void ShowAbout() override { Record("about"); }
    void ShowKeepAlive() override { Record("keep-alive"); }
    void BeginWait() override { Record("wait"); }
    void EndWait() override { Record("end wait"); }
    void ShowCurrentSettings(const std::function<CurrentSettings()>& table) override {
        shownTable = table();
        Record("current settings");
    }
    std::vector<std::string> CopyBackupFiles(const RegistryBackupPlan& plan) override {
        copiedPlans.push_back(plan);
        Record("copy");
        return failedCopies;
    }

    // Script.
    Desktop::WindowRef owner = 0x4711;
    FormState form;
    std::string modeText = "Automatic #1";
    std::string connectionTypeText = "Dial-Up Networking (Modem)";
    std::function<void(const std::string& event)> observe;
    std::vector<std::string> failedCopies;

    // Record.
    struct Explanation {
        std::string caption, text;
    };
    std::vector<Explanation> explanations;
    std::vector<std::uint64_t> stepCounts;
    std::vector<RegistryBackupPlan> copiedPlans;
    CurrentSettings shownTable;
    std::vector<std::string> events;

private:
    void Record(const std::string& event) {
        events.push_back(event);
        if (observe) observe(event);
    }
};

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
    void WriteForm(const FormState& state) override {
        form = state;
        Record("write form");
    }
    void ShowNewMode() override { Record("new mode"); }
    void ShowExplanation(const std::string& caption, const std::string& text) override {
        explanations.push_back({caption, text});
        Record("explanation");
    }
    void BeginProgress() override { Record("begin"); }
    void StepProgress(std::uint64_t count) override {
        stepCounts.push_back(count);
        Record("step");
    }
    void EndProgress() override { Record("end"); }
    void ShowAbout() override { Record("about"); }
    void ShowKeepAlive() override { Record("keep-alive"); }
    std::optional<int> ShowFindMtu(const std::string& host, int adapterMtu) override {
        findMtuCalls.push_back({host, adapterMtu});
        Record("find mtu");
        return foundMtu;
    }
    std::optional<int> ShowTuneWindow(const std::string& hosts, const std::string& speed, int mss,
                                      bool scalesWindows) override {
        tuneWindowCalls.push_back({hosts, speed, mss, scalesWindows});
        Record("tune window");
        return tunedMultiplier;
    }
    void ShowCurrentSettings(const std::function<CurrentSettings()>& table) override {
        shownTable = table();
        Record("current settings");
    }
    void ShowSpeedTest(const std::string&, const SpeedTestEnded&) override { Record("speed test"); }
    void ShowKeepAliveLog(const std::function<KeepAliveLogReport()>&) override { Record("keep-alive log"); }
    void BeginWait() override { Record("wait"); }
    void EndWait() override { Record("end wait"); }

    // Script, and the form as the controller last wrote it.
    Desktop::WindowRef owner = 0x4711;
    FormState form;
    std::function<void(const std::string& event)> observe;
    std::optional<int> foundMtu;
    std::optional<int> tunedMultiplier;

    // Record.
    struct Explanation {
        std::string caption, text;
    };
    std::vector<Explanation> explanations;
    std::vector<std::uint64_t> stepCounts;
    std::vector<std::pair<std::string, int>> findMtuCalls;
    struct TuneWindowCall {
        std::string hosts, speed;
        int mss;
        bool scalesWindows;
    };
    std::vector<TuneWindowCall> tuneWindowCalls;
    CurrentSettings shownTable;
    std::vector<std::string> events;

protected:
    void Record(const std::string& event) {
        events.push_back(event);
        if (observe) observe(event);
    }
};

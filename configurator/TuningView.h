#pragma once
#include "configurator/CurrentSettings.h"
#include "configurator/FormState.h"
#include "line/SpeedTest.h"
#include "configurator/KeepAliveLogReport.h"
#include "win32/Desktop.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What the configurator's decisions show, through its main window: the
// form's controls as data, the dialogs, the progress bar and the wait
// cursor. It decides nothing.
class TuningView {
public:
    virtual ~TuningView() = default;

    // The owner of the messages that belong to the main window.
    virtual Desktop::WindowRef Owner() const = 0;
    virtual FormState ReadForm() const = 0;
    virtual void WriteForm(const FormState& state) = 0;
    // After the form took a newly chosen mode: what follows the mode redrawn,
    // and the focus on Apply.
    virtual void ShowNewMode() = 0;
    // The explanation dialog, modal; returns when the user has closed it.
    virtual void ShowExplanation(const std::string& caption, const std::string& text) = 0;
    // A progress bar from 0 to 100 over the first status pane, and the wait cursor.
    virtual void BeginProgress() = 0;
    // Counts up to count with nothing else running, then moves the bar one step on.
    virtual void StepProgress(std::uint64_t count) = 0;
    // The bar gone and the normal cursor back.
    virtual void EndProgress() = 0;
    // The wait cursor while a command without a progress bar runs, and the normal one back.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    virtual void ShowAbout() = 0;
    // The keep-alive dialog, modal over the main window.
    virtual void ShowKeepAlive() = 0;
    // Find Largest MTU, modal over the main window, starting on host; the MTU
    // found when the user chose "Use This MTU". adapterMtu (0: none) is what
    // the adapters are set to now.
    virtual std::optional<int> ShowFindMtu(const std::string& host, int adapterMtu) = 0;
    // Tune Receive Window, modal over the main window, with hosts and speed
    // (kbit/s) typed in, sizing windows of mss-byte segments, above 65535
    // bytes only where scalesWindows; the multiplier when the user chose
    // "Use This Window".
    virtual std::optional<int> ShowTuneWindow(const std::string& hosts, const std::string& speed, int mss,
                                              bool scalesWindows) = 0;
    // Current Settings, modal over the main window; table gives its rows, at
    // its opening and at each "Refresh".
    virtual void ShowCurrentSettings(const std::function<CurrentSettings()>& table) = 0;
    using SpeedTestEnded = std::function<std::string(const std::string& address, const SpeedTest::Result& result)>;
    // Test Line Speed, modal over the main window, with address typed in;
    // ended gives the result label of each test that ends but by Stop.
    virtual void ShowSpeedTest(const std::string& address, const SpeedTestEnded& ended) = 0;
    // The Keep-Alive Log, modal over the main window; read gives what it
    // shows, at its opening and at each "Refresh".
    virtual void ShowKeepAliveLog(const std::function<KeepAliveLogReport()>& read) = 0;
};

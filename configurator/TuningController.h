#pragma once
#include "common/ProductInfo.h"
#include "configurator/ConfiguratorFiles.h"
#include "configurator/LineTools.h"
#include "configurator/TuningApply.h"
#include "configurator/TuningChoices.h"
#include "configurator/TuningView.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <string>

// The configurator's form and commands: what the form's choices do, and the
// frame's commands (one table) with their enable states. Apply and the other
// writes are TuningApply's, the Tools menu's measurements LineTools'; what
// the user chose in a tool goes into the form here. The main frame shows it
// all (TuningView) and the form tells it what the user did. Each command
// reads the choices afresh; only the two list codes are kept between them.
class TuningController {
public:
    TuningController(ProductInfo& product, Registry& registry, Desktop& desktop, ConfiguratorFiles& files,
                     TuningView& view);

    // The form as it opens: the configuration file's choices.
    void LoadFormSettings();

    // What the user did on the form.
    void OnModeChosen(int position);
    void OnConnectionTypeChosen(int position);
    // The form's Apply button only asks; the frame's next idle time carries
    // the request out, once (ApplyIfRequested).
    void RequestApply() { applyRequested_ = true; }
    void ApplyIfRequested();

    // The commands.
    void ApplySettings();
    void RestoreWindowsDefaults();
    void RestorePreviousSettings();
    void BackupRegistry();
    // Find Largest MTU; the MTU it finds goes into the form as the user's own
    // Manual choice.
    void FindLargestMtu();
    // Tune Receive Window; the window chosen goes into the form as the user's
    // own Manual choice, as a receive-window multiplier.
    void TuneReceiveWindow();
    // Test Line Speed; keeps each completed test.
    void TestLineSpeed();
    // Current Settings. Writes nothing.
    void ShowCurrentSettings();

    // The frame's menu and toolbar commands: whether an id is one of the
    // controller's, whether it is enabled now, and running it (false when it
    // is not one, or not enabled).
    bool OwnsCommand(unsigned id) const;
    bool CommandEnabled(unsigned id) const;
    bool RunCommand(unsigned id);

private:
    struct Command;
    static const Command kCommands[];
    static const Command* FindCommand(unsigned id);

    // The form's state and the two codes, read once for each command.
    TuningChoices ReadChoices() const;
    // As if the user picked "Manual", unless the form is in it already.
    void ChooseManualMode();
    void OnHelpTopics();
    void OnAbout();
    void OnKeepAlive();
    void OnKeepAliveLog();

    ProductInfo* product_;
    Desktop* desktop_;
    ConfiguratorFiles* files_;
    TuningView* view_;
    TuningApply apply_;
    LineTools tools_;
    // The codes the mode and connection-type lists last set; they stay until
    // a list or the configuration file sets them again.
    std::string modeCode_;
    std::string connectionTypeCode_;
    bool applyRequested_ = false;
};

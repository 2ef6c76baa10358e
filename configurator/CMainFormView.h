#pragma once
#include "common/ProductInfo.h"
#include "configurator/CLinkStatic.h"
#include "configurator/FormState.h"
#include "configurator/TuningController.h"
#include "win32/Desktop.h"
#include "win32/Dialog.h"
#include "win32/Registry.h"
#include "win32/Window.h"

#include <memory>
#include <string>
#include <vector>

namespace zartune {

// The configurator's one view: the settings form of dialog 101, a child of
// the main frame. It tells the controller what the user did; the pairs'
// buttons follow a FormState rule: read the controls, apply it, write back.
class CMainFormView : public Dialog {
public:
    CMainFormView(TuningController& controller, ProductInfo& product, Registry& registry, Desktop& desktop);

    // Sets up the help links and fills the lists. Run once, after the frame is created.
    void OnInitialUpdate() noexcept;

    FormState ReadState() const;
    void WriteState(const FormState& state) noexcept;
    // The help links redrawn in their new enabled state, the focus on Apply.
    void ShowNewMode() noexcept;

    std::string ModeText() const;

protected:
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    // The text of a list's entry at position; empty when there is none.
    std::string ListEntry(int id, int position) const;
    // The receive-window list's added entry as "x" + multiplier, or none for 0.
    void ShowAddedWindowEntry(int multiplier) noexcept;
    void OnApply();
    void OnEvertie();
    void OnHelp();
    void OnModeChanged();
    void OnTypeChanged();
    bool OnPairButton(WORD id) noexcept;

    void SetUpHelpLinks() noexcept;
    void FillLists() noexcept;
    RECT ItemRect(int id) const;

    static const CommandEntry<CMainFormView> kButtonCommands[3];
    static const CommandEntry<CMainFormView> kListChanges[2];

    TuningController* controller_;
    ProductInfo* product_;
    Registry* registry_;
    Desktop* desktop_;
    std::vector<std::unique_ptr<CLinkStatic>> links_;
};

}  // namespace zartune

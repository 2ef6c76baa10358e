#pragma once
#include "win32/Desktop.h"

#include <string>

// The programs' message boxes, by kind. Each kind carries its style, and all
// of them the product name as caption; the owner is given once, when the
// boxes of one window are made.
class MessageBoxes {
public:
    explicit MessageBoxes(Desktop& desktop, Desktop::WindowRef owner = 0) : desktop_(&desktop), owner_(owner) {}

    // A problem that keeps the program from going on: the stop icon, system-
    // modal unless modality says otherwise; the caption gets the suffix
    // (" - Missing files").
    void StartupError(const std::string& captionSuffix, const std::string& text, UINT modality = MB_SYSTEMMODAL) const;
    // Yes or No; true for Yes. With noByDefault the focus starts on No.
    bool Ask(const std::string& text, UINT icon = MB_ICONQUESTION, bool noByDefault = false) const;
    void Inform(const std::string& text) const;
    // Something the user typed or chose, or a change that did not take: the exclamation icon.
    void InputError(const std::string& text) const;

private:
    Desktop* desktop_;
    Desktop::WindowRef owner_;
};

#include "configurator/ExplanationText.h"

#include "tuning/TuningConfig.h"

std::string ExplanationText(const std::string& mode, const std::string& modeListText) {
    if (mode == kModeManual) {
        return "You chose to use the \"Manual Optimization Mode\".\n\n"
               "Try various settings combinations and watch your\n"
               "Internet performance to find out which configuration\n"
               "suits you best.\n\n"
               "In order that your settings will take effect you\n"
               "will have to press the 'Apply' button which is located\n"
               "in the bottom of the screen.";
    }
    return "You chose to use the \"" + modeListText +
           " Optimization Mode\".\n\n"
           "After a lot of research, Zarvo offers three\n"
           "different Automatic Optimization Modes which will\n"
           "improve your connection speed. You should try all three\n"
           "of them to find out which one suits your hardware\n"
           "configuration best.\n\n\n"
           "This process may take up to one minute.\n\n";
}

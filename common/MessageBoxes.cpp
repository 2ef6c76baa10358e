#include "common/MessageBoxes.h"

#include "common/ProductInfo.h"

void MessageBoxes::StartupError(const std::string& captionSuffix, const std::string& text, UINT modality) const {
    desktop_->ShowMessageBox(owner_, text, ProductInfo::kProductName + captionSuffix, modality | MB_ICONERROR);
}

bool MessageBoxes::Ask(const std::string& text, UINT icon, bool noByDefault) const {
    const UINT type = MB_YESNO | icon | (noByDefault ? MB_DEFBUTTON2 : 0);
    return desktop_->ShowMessageBox(owner_, text, ProductInfo::kProductName, type) == IDYES;
}

void MessageBoxes::Inform(const std::string& text) const {
    desktop_->ShowMessageBox(owner_, text, ProductInfo::kProductName, MB_ICONINFORMATION);
}

void MessageBoxes::InputError(const std::string& text) const {
    desktop_->ShowMessageBox(owner_, text, ProductInfo::kProductName, MB_ICONEXCLAMATION);
}

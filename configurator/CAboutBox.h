#pragma once
#include "common/ProductInfo.h"
#include "configurator/CLinkStatic.h"
#include "win32/Dialog.h"
#include "win32/UniqueHandle.h"

namespace zartune {

// The About box (dialog 130): the product picture, the vendor's web site and
// support address as links, and the legal warning. "&Close" ends it with 1.
// When the program runs only to show it (the "about" switch) it carries the
// About icon, being the program's only window.
class CAboutBox : public Dialog {
public:
    CAboutBox(ProductInfo& product, Desktop& desktop, Registry& registry);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    bool OnInit() noexcept override;
    bool OnCommand(WORD id, WORD code, HWND control) noexcept override;

private:
    void OnPaint() noexcept;

    ProductInfo* product_;
    UniqueHicon icon_;
    UniqueHicon smallIcon_;
    CLinkStatic webLink_;
    CLinkStatic mailLink_;
};

}  // namespace zartune

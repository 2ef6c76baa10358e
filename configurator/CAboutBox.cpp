#include "configurator/CAboutBox.h"

#include "common/Vendor.h"
#include "configurator/LinkActions.h"
#include "resources/zartune_ids.h"
#include "win32/DibPalette.h"

namespace zartune {

namespace {

constexpr int kPictureLeft = 13;
constexpr int kPictureTop = 16;
constexpr int kPictureWidth = 125;
constexpr int kPictureHeight = 140;

HICON LoadAboutIcon(int width, int height) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ABOUT), IMAGE_ICON, width,
                                         height, 0));
}

struct DeleteDcCloser { void operator()(HDC h) const { DeleteDC(h); } };

}  // namespace

CAboutBox::CAboutBox(ProductInfo& product, Desktop& desktop, Registry& registry)
    : Dialog(IDD_ABOUTBOX),
      product_(&product),
      icon_(LoadAboutIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))),
      smallIcon_(LoadAboutIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))),
      webLink_(product, desktop, registry),
      mailLink_(product, desktop, registry) {}

bool CAboutBox::OnInit() noexcept {
    if (product_->SwitchWord() == "about") {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    }
    SetDlgItemTextA(Handle(), IDC_ABOUT_WEB_LINK, vendor::kWebSite);
    SetDlgItemTextA(Handle(), IDC_ABOUT_MAIL_LINK, vendor::kSupportMail);
    webLink_.AttachDlgItem(Handle(), IDC_ABOUT_WEB_LINK);
    mailLink_.AttachDlgItem(Handle(), IDC_ABOUT_MAIL_LINK);
    webLink_.SetLinkKey(linkkey::kHomePage);
    mailLink_.SetLinkKey(linkkey::kSupportMail);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    return true;
}

bool CAboutBox::OnCommand(WORD id, WORD code, HWND control) noexcept {
    if (id == IDC_ABOUT_CLOSE) {
        EndDialog(1);
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

LRESULT CAboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_PAINT) {
        OnPaint();
        return TRUE;
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

void CAboutBox::OnPaint() noexcept {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    UniqueHbitmap bitmap;
    UniqueHpalette palette;
    if (LoadBitmapWithPalette(GetModuleHandleA(nullptr), IDB_ABOUT, &bitmap, &palette)) {
        UniqueHandle<HDC, DeleteDcCloser> memory(CreateCompatibleDC(dc));
        if (memory) {
            HPALETTE previousPalette = nullptr;
            if ((GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0 && palette) {
                previousPalette = SelectPalette(dc, palette.get(), FALSE);
                RealizePalette(dc);
            }
            {
                SelectedObject selected(memory.get(), bitmap.get());
                BitBlt(dc, kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight, memory.get(), 0, 0, SRCCOPY);
            }
            // The palette must leave the DC before it is deleted.
            if (previousPalette != nullptr) SelectPalette(dc, previousPalette, FALSE);
        }
    }
    EndPaint(Handle(), &paint);
}

}  // namespace zartune

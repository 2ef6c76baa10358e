#include "configurator/LinkLayout.h"

LinkRect FitLinkToText(const LinkRect& window, int textWidth, int textHeight, bool centreVertically,
                       LinkAlignment alignment) {
    LinkRect fitted = window;
    if (centreVertically) fitted.top += ((window.bottom - window.top) - textHeight) / 2;
    fitted.bottom = fitted.top + textHeight;

    switch (alignment) {
    case LinkAlignment::Centre:
        fitted.left += ((window.right - window.left) - textWidth) / 2;
        fitted.right = fitted.left + textWidth;
        break;
    case LinkAlignment::Right:
        fitted.left = window.right - textWidth;
        break;
    case LinkAlignment::Left:
        fitted.right = window.left + textWidth;
        break;
    }
    return fitted;
}

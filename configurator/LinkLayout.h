#pragma once
// Where a hyperlink goes when it is fitted to its text. The rectangle is in
// the parent's client coordinates; the alignment is the static control's.
struct LinkRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

enum class LinkAlignment { Left, Centre, Right };

// Vertically: centred on the old rectangle when centreVertically (the
// SS_CENTERIMAGE style), else kept at the top. Horizontally: centred, kept
// at the right edge, or kept at the left edge.
LinkRect FitLinkToText(const LinkRect& window, int textWidth, int textHeight, bool centreVertically,
                       LinkAlignment alignment);

#include "printing/draw_steps_win.h"

namespace {

constexpr COLORREF kRuleColor = RGB(0, 0, 0);
constexpr COLORREF kGridColor = RGB(205, 205, 205);
constexpr COLORREF kAverageColor = RGB(0, 120, 0);
constexpr COLORREF kBarColor = RGB(70, 120, 190);
constexpr COLORREF kOverColor = RGB(205, 40, 40);
constexpr COLORREF kUnreadColor = RGB(225, 225, 225);

HPEN MakePen(COLORREF color, int width, bool dashed = false) {
    LOGBRUSH brush = {BS_SOLID, color, 0};
    if (width < 1) width = 1;
    // Dashes in proportion to the width, so that a printer's wide line is dashed as the screen's.
    const DWORD dashes[] = {static_cast<DWORD>(6 * width), static_cast<DWORD>(4 * width)};
    if (dashed) return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, width, &brush, 2, dashes);
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, width, &brush, 0, nullptr);
}

}  // namespace

StepPainter::StepPainter(HDC dc, int lineWidth)
    : dc_(dc),
      rule_(MakePen(kRuleColor, lineWidth)),
      grid_(MakePen(kGridColor, lineWidth)),
      average_(MakePen(kAverageColor, lineWidth, true)),
      bar_(CreateSolidBrush(kBarColor)),
      over_(CreateSolidBrush(kOverColor)),
      unread_(CreateSolidBrush(kUnreadColor)),
      previousPen_(rule_ ? SelectObject(dc, rule_.get()) : nullptr) {}

StepPainter::~StepPainter() {
    if (previousPen_ && previousPen_ != HGDI_ERROR) SelectObject(dc_, previousPen_);
}

bool StepPainter::Ready() const {
    return rule_ && grid_ && average_ && bar_ && over_ && unread_;
}

void StepPainter::DrawLine(HPEN pen, const PrintStep& step) const {
    if (pen != rule_.get()) SelectObject(dc_, pen);
    MoveToEx(dc_, step.x, step.y, nullptr);
    LineTo(dc_, step.x2, step.y2);
    if (pen != rule_.get()) SelectObject(dc_, rule_.get());
}

void StepPainter::DrawLabel(const PrintStep& step, UINT format) const {
    RECT rect = {step.clip.left, step.clip.top, step.clip.right, step.clip.bottom};
    DrawTextA(dc_, step.text.c_str(), static_cast<int>(step.text.size()), &rect,
              format | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void StepPainter::Draw(const PrintStep& step) const {
    RECT rect = {step.clip.left, step.clip.top, step.clip.right, step.clip.bottom};
    switch (step.kind) {
        case PrintStepKind::kText:
            ExtTextOutA(dc_, step.x, step.y, ETO_CLIPPED, &rect, step.text.c_str(),
                        static_cast<UINT>(step.text.size()), nullptr);
            break;
        case PrintStepKind::kRule:
            DrawLine(rule_.get(), step);
            break;
        case PrintStepKind::kGridLine:
            DrawLine(grid_.get(), step);
            break;
        case PrintStepKind::kAverageLine:
            DrawLine(average_.get(), step);
            break;
        case PrintStepKind::kBar:
            FillRect(dc_, &rect, bar_.get());
            break;
        case PrintStepKind::kOverBar:
            FillRect(dc_, &rect, over_.get());
            break;
        case PrintStepKind::kUnreadDay:
            FillRect(dc_, &rect, unread_.get());
            break;
        case PrintStepKind::kLabel:
            DrawLabel(step, DT_CENTER | DT_TOP);
            break;
        case PrintStepKind::kNumber:
            DrawLabel(step, DT_RIGHT | DT_VCENTER);
            break;
        default:
            break;
    }
}

// Draws the steps of a page on a device context: the printer's for a printout, the window's for the
// Summary of Days, so that both show the same bars and chart.
#pragma once

#include <windows.h>

#include "platform/handles_win.h"
#include "printing/print_layout.h"

class StepPainter {
public:
    // Texts in the context's selected font and text colour; lines `lineWidth` wide. The rules' pen is the
    // context's pen while the painter lives.
    StepPainter(HDC dc, int lineWidth);
    ~StepPainter();
    StepPainter(const StepPainter&) = delete;
    StepPainter& operator=(const StepPainter&) = delete;

    // Whether every pen and brush could be made.
    bool Ready() const;
    // A drawing step; page steps are the print job's and draw nothing.
    void Draw(const PrintStep& step) const;

private:
    void DrawLine(HPEN pen, const PrintStep& step) const;
    void DrawLabel(const PrintStep& step, UINT format) const;

    HDC dc_;
    UniquePen rule_, grid_, average_;
    UniqueBrush bar_, over_, unread_;
    HGDIOBJ previousPen_;
};

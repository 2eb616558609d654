// The tip that shows a food's whole description where the log's Description column cuts it off.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Makes the tip for the log list view; the list view's own procedure then calls the two below. No tip
// shows before the first mouse move, so it is made once the window stands.
void CreateDescriptionTip(HWND listView);
// No tip, as for a new list view until its tip is made.
void ForgetDescriptionTip();
// On a mouse move over the list view: the tip follows the Description cell under the mouse, and
// covers it only while that cell's text is cut off.
void TrackDescriptionTip(HWND listView, LPARAM point);
// Answers the tip's request for its text; 1 when the notification was the tip's.
int AnswerDescriptionTip(HWND listView, NMHDR* header);
// The tip control, or null.
HWND DescriptionTip();

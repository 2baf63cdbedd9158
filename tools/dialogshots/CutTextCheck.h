#pragma once

#include <QRect>
#include <QStringList>

class QWidget;

// Finds the texts a window shows only in part: labels (a word-wrapped one
// included) whose text needs more room than their contents, buttons narrower
// than their text, header sections and list or tree cells narrower than theirs,
// widgets that reach past the window's edge, and a window larger than its
// screen. Each finding is one line naming the widget and the text.
class CutTextCheck
{
public:
    // An empty screen skips the screen check.
    [[nodiscard]] static QStringList findings(const QWidget *window, const QRect &screen = {});
};

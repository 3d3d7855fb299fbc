#pragma once
// What the schedule editor needs of its window beyond Controls: the text view
// with its soft line breaks and margins, the width slider, and hiding or
// restoring the window itself. RTTYSchedule implements it on Qt widgets;
// tests use a recording fake. Window thread only.

#include <string>

class EditorSurface {
public:
    virtual ~EditorSurface() = default;

    // Shows file bytes in the view as Latin-1: CR LF (or a lone CR or LF)
    // ends a line, CR CR LF is a soft line break, a NUL ends the text.
    virtual void showViewBytes(const std::string& bytes) = 0;
    // The view's text with CR LF at each line end and CR CR LF at each point
    // where the view wraps a line on the screen.
    virtual std::string viewBytesWithSoftBreaks() = 0;
    // Joins the lines that soft line breaks split, so the view wraps them anew.
    virtual void removeSoftBreaks() = 0;
    virtual void setViewMargins(int left, int right) = 0;
    // The view and the file-name field together.
    virtual void setViewEditable(bool editable) = 0;

    virtual void setSliderRange(int minimum, int maximum) = 0;
    virtual int sliderPosition() = 0;
    virtual void setSliderPosition(int position) = 0;

    virtual void hideWindow() = 0;
    // Back from minimised or maximised.
    virtual void restoreWindow() = 0;
};

#pragma once
// The editor's window surface for tests: keeps what the view shows, its
// margins, editability and the slider, and counts hides and restores.

#include <string>

#include "editor/EditorSurface.h"

class FakeEditorSurface : public EditorSurface {
public:
    void showViewBytes(const std::string& bytes) override { viewBytes = bytes; }
    std::string viewBytesWithSoftBreaks() override { return viewBytes; }
    void removeSoftBreaks() override { ++softBreakRemovals; }
    void setViewMargins(int left, int right) override {
        leftMargin = left;
        rightMargin = right;
    }
    void setViewEditable(bool editable) override { viewEditable = editable; }
    void setSliderRange(int minimum, int maximum) override {
        sliderMinimum = minimum;
        sliderMaximum = maximum;
    }
    int sliderPosition() override { return slider; }
    void setSliderPosition(int position) override { slider = position; }
    void hideWindow() override { ++hides; }
    void restoreWindow() override { ++restores; }

    std::string viewBytes;
    int softBreakRemovals = 0;
    int leftMargin = -1, rightMargin = -1;
    bool viewEditable = false;
    int sliderMinimum = -1, sliderMaximum = -1, slider = -1;
    int hides = 0, restores = 0;
};

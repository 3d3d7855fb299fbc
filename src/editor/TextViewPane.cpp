#include "editor/TextViewPane.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/ProgramState.h"
#include "editor/EditorIds.h"
#include "editor/EditorSurface.h"
#include "editor/FileChoices.h"
#include "editor/ScheduleLineForm.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/PathMap.h"

using namespace EditorId;

namespace {

bool readWholeFile(const std::string& path, std::string& bytes) {
    // A folder (the file box offers them) opens here but cannot be read.
    if (!IsReadableFile(path)) return false;
    std::ifstream in(ResolvePath(path), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

// What went wrong, or nullptr.
const char* writeWholeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(ResolvePath(path).c_str(), "wb");
    if (file == nullptr) return "open";
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written ? nullptr : "write";
}

}  // namespace

bool TextViewPane::ShowFile(const std::string& name) {
    window_.setText(FileName, name);
    window_.checkMenuItem(EditText, false);
    std::string path = state_.KOVADataPath.get() + name;
    long long seconds = static_cast<long long>(static_cast<double>(FileSize(path)) / kViewCharactersPerSecond);
    window_.setText(Duration, FormatDuration(seconds));
    // The whole file: a view holding only its beginning would cut it short when saved.
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        surface_.showViewBytes("[PrintFile :Cannot open " + name + " input file.]");
        return true;
    }
    surface_.showViewBytes(bytes);
    return false;
}

void TextViewPane::setEditing(bool editing) {
    surface_.setViewEditable(editing);
    showEditingWidth(editing);
}

void TextViewPane::showEditingWidth(bool editing) {
    surface_.setViewMargins(0, editing ? kEditingRightMargin : 0);
    surface_.setSliderPosition(editing ? kEditingSlider : kSliderMaximum);
}

void TextViewPane::OnEditToggled() { setEditing(window_.menuItemChecked(EditText)); }

void TextViewPane::LeaveEditing() {
    LeaveEditingAtThisWidth();
    showEditingWidth(false);
}

void TextViewPane::LeaveEditingAtThisWidth() {
    window_.checkMenuItem(EditText, false);
    surface_.setViewEditable(false);
}

void TextViewPane::OnApplyWidth() {
    window_.checkMenuItem(EditText, true);
    surface_.setViewMargins(0, kSliderMaximum - surface_.sliderPosition());
    surface_.removeSoftBreaks();
}

void TextViewPane::OnSliderReleased() {
    if (window_.menuItemChecked(EditText)) OnApplyWidth();
}

void TextViewPane::OnClear() {
    LeaveEditing();
    surface_.showViewBytes("");
    window_.setText(FileName, "");
    window_.setText(Duration, "");
}

void TextViewPane::OnSave() {
    std::string path = state_.KOVADataPath.get() + window_.text(FileName);
    // A failure goes into a box: the text in the view is the operator's work.
    if (const char* failed = writeWholeFile(path, surface_.viewBytesWithSoftBreaks())) {
        window_.messageBox("CmEditSave : Cannot " + std::string(failed) + " <" + path + "> file", "Tarvik Editor",
                           MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    choices_.RebuildFileChoices();
}

void TextViewPane::ResetForReload() {
    surface_.setSliderRange(0, kSliderMaximum);
    surface_.setSliderPosition(kEditingSlider);
    surface_.setViewMargins(0, kEditingRightMargin);
    window_.setText(FileName, "");
}

#pragma once
// The "Sound Card Frequency Setup" dialog: MARK and SPACE to edit, SHIFT
// shown as it was when the dialog opened. OK stores both tones, Cancel
// nothing; they sound from the next transmitter-on. Window thread only.

#include <QDialog>

class QLineEdit;
struct ProgramState;

class SoundCardSetupDialog : public QDialog {
public:
    static constexpr int kMarkEdit = 1105;
    static constexpr int kSpaceEdit = 1104;
    static constexpr int kShiftEdit = 1107;

    explicit SoundCardSetupDialog(ProgramState& state, QWidget* parent = nullptr);
    QLineEdit* edit(int controlId) const;
    void accept() override;

private:
    QLineEdit* addRow(class QGridLayout* grid, int row, const char* label, int controlId, double value);

    ProgramState& state_;
    QLineEdit* mark_ = nullptr;
    QLineEdit* space_ = nullptr;
    QLineEdit* shift_ = nullptr;
};

// Menu command Setup: the dialog, modally.
void RunSoundCardSetup(ProgramState& state, QWidget* parent);

#include "sound/SoundCardSetupDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ProgramState.h"
#include "sound/ToneText.h"

namespace {
constexpr int kOkButton = 1;
constexpr int kCancelButton = 2;

std::string latin1(const QLineEdit* edit) { return edit->text().toLatin1().toStdString(); }
}  // namespace

SoundCardSetupDialog::SoundCardSetupDialog(ProgramState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setWindowTitle("Sound Card Frequency Setup");
    auto* grid = new QGridLayout;
    double mark = state_.markTone;
    double space = state_.spaceTone;
    mark_ = addRow(grid, 0, "MARK", kMarkEdit, mark);
    space_ = addRow(grid, 1, "SPACE", kSpaceEdit, space);
    shift_ = addRow(grid, 2, "SHIFT", kShiftEdit, space - mark);
    shift_->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(kOkButton));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QString::number(kCancelButton));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

QLineEdit* SoundCardSetupDialog::addRow(QGridLayout* grid, int row, const char* label, int controlId,
                                        double value) {
    auto* edit = new QLineEdit(QString::fromLatin1(FormatTone(value).c_str()));
    edit->setObjectName(QString::number(controlId));
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QLineEdit* SoundCardSetupDialog::edit(int controlId) const {
    switch (controlId) {
        case kMarkEdit:
            return mark_;
        case kSpaceEdit:
            return space_;
        case kShiftEdit:
            return shift_;
        default:
            return nullptr;
    }
}

void SoundCardSetupDialog::accept() {
    state_.markTone = ParseTone(latin1(mark_));
    state_.spaceTone = ParseTone(latin1(space_));
    QDialog::accept();
}

void RunSoundCardSetup(ProgramState& state, QWidget* parent) {
    SoundCardSetupDialog dialog(state, parent);
    dialog.exec();
}

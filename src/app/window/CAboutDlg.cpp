#include "app/window/CAboutDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/window/DialogFont.h"
#include "app/window/DialogUnits.h"
#include "app/window/StationIcon.h"

CAboutDlg::CAboutDlg(const std::vector<std::string>& statusLines, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Tarvik"));
    setFont(DialogFont(QStringLiteral("Courier")));
    DialogUnits units(font());
    setFixedSize(units.horizontal(219), units.vertical(274));
    auto* icon = new QLabel(this);
    icon->setPixmap(StationIcon().pixmap(32, 32));
    icon->setGeometry(units.rect(11, 10, 21, 20));
    auto* name = new QLabel(QStringLiteral("Tarvik Version 1.0 - unattended RTTY broadcast station"), this);
    name->setGeometry(units.rect(40, 10, 170, 8));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(units.rect(178, 30, 32, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("status"));
    list->setGeometry(units.rect(7, 64, 205, 203));
    for (const std::string& line : statusLines)
        list->addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
}

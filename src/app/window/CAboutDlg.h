#pragma once
// The About box: the program's name and version, and the station's status
// text line by line, built afresh each time it opens.

#include <QDialog>
#include <string>
#include <vector>

class CAboutDlg : public QDialog {
public:
    CAboutDlg(const std::vector<std::string>& statusLines, QWidget* parent);
    static constexpr int kStatusList = 1058;
};

#include "platform/ProcessStart.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include "platform/PathMap.h"

bool OpenInTextEditor(const std::string& path) {
    // Resolved without regard to case: "Tarvik.INI" finds Tarvik.ini.
    QString mapped = QString::fromLocal8Bit(ResolvePath(path).c_str());
    return QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{mapped});
}

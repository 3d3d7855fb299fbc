#include "platform/ProcessStart.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include "platform/PathMap.h"

bool OpenInTextEditor(const std::string& path) {
    QString mapped = QString::fromLocal8Bit(MapSlashes(path).c_str());
    return QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{mapped});
}

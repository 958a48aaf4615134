#include "app/ProductInformation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QUrl productInformationUrl() {
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const QString& relative :
         {QStringLiteral("README.md"), QStringLiteral("../README.md"),
          QStringLiteral("../../README.md"), QStringLiteral("../share/doc/meterbench/README.md")}) {
        const QFileInfo candidate(bin.filePath(relative));
        if (candidate.isFile()) return QUrl::fromLocalFile(candidate.canonicalFilePath());
    }
    return {};
}

// The page buttons, EXIT, and the product-information button.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/MainForm.h"

bool MainForm::isCj188PageShown() const {
    return !m_c.CJ188->isHidden();
}

void MainForm::showCj188Page() {
    m_c.CJ188->setVisible(true);
    m_c.EN1434->setVisible(false);
}

void MainForm::showEn1434Page() {
    m_c.CJ188->setVisible(false);
    m_c.EN1434->setVisible(true);
    pageOperations(Page::Cj188).stopContinuousReading();
}

void MainForm::exitProgram() {
    m_exit();
}

// The product page is the manual that comes with the program: README.md next
// to the executable or in the source tree above build/bin.
QUrl MainForm::productInformationUrl() const {
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const QString& relative :
         {QStringLiteral("README.md"), QStringLiteral("../README.md"),
          QStringLiteral("../../README.md"), QStringLiteral("../share/doc/meterbench/README.md")}) {
        const QFileInfo candidate(bin.filePath(relative));
        if (candidate.isFile()) return QUrl::fromLocalFile(candidate.canonicalFilePath());
    }
    return {};
}

void MainForm::openProductInformation() {
    const QUrl url = productInformationUrl();
    if (url.isEmpty()) {
        m_prompter->information(
            this, QStringLiteral("Product information"),
            QStringLiteral("The MeterBench manual (README.md) was not found next to the program."));
        return;
    }
    if (!m_openUrl(url))
        m_prompter->information(
            this, QStringLiteral("Product information"),
            QStringLiteral("No browser or viewer could be started. The manual is at\n%1")
                .arg(url.toLocalFile()));
}

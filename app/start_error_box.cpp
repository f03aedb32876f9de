#include "app/start_error_box.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace ovelsk {

QString startErrorText(const std::string& error, const std::filesystem::path& settingsFile) {
    return QStringLiteral("Ovelsk cannot start: %1.\n\nThe settings are in %2.")
        .arg(QString::fromStdString(error), QString::fromStdString(settingsFile.string()));
}

void showStartError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Ovelsk"), text, QMessageBox::Close);
    box.setObjectName(QStringLiteral("startError"));
    box.setTextFormat(Qt::PlainText);
    // In the application's own event loop, not a dialog's, so SIGTERM and Ctrl+C
    // (which quit the application) end the program while the box is shown.
    QObject::connect(&box, &QDialog::finished, qApp, &QCoreApplication::quit);
    box.show();
    QCoreApplication::exec();
}

}  // namespace ovelsk

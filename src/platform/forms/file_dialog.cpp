// The common file dialog; see file_dialog.h.
#include "platform/forms/file_dialog.h"


#include <QDir>
#include <QFileDialog>

namespace forms {

QString CommonDialog::qtFilter(const QString& oldFilter)
{
    const QStringList parts = oldFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

bool CommonDialog::ShowOpen(QWidget* parent) { return run(false, parent); }
bool CommonDialog::ShowSave(QWidget* parent) { return run(true, parent); }

bool CommonDialog::run(bool save, QWidget* parent)
{
    std::optional<QString> chosen;
    if (TestHook* hook = TestHook::installed()) {
        hook->log.push_back({save, InitDir, Filter, DialogTitle});
        chosen = takeNext(hook->answers).value_or(std::nullopt);
    } else {
        const QString folder = QDir(InitDir).exists() ? InitDir : QDir::homePath();
        const QString name = save ? QFileDialog::getSaveFileName(parent, DialogTitle, folder, qtFilter(Filter), nullptr,
                                                                 QFileDialog::DontConfirmOverwrite)
                                  : QFileDialog::getOpenFileName(parent, DialogTitle, folder, qtFilter(Filter));
        if (!name.isEmpty()) chosen = QDir::toNativeSeparators(name);
    }
    if (!chosen) return false;   // cancelled: FileName stays as it was
    FileName = *chosen;
    return true;
}


}  // namespace forms

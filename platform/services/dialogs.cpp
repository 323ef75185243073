#include "dialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace dialogs {

namespace {

std::optional<QString> fileDialog(QWidget *parent, const FileRequest &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(QtFilters(request.filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

FileChooser &currentChooser()
{
    static FileChooser chooser = fileDialog;
    return chooser;
}

std::optional<QString> saveDialog(QWidget *parent, const FileRequest &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(QtFilters(request.filter));
    // "*.bmp" of the first filter: a name typed without one gets it.
    const QStringList parts = request.filter.split(QLatin1Char('|'));
    if (parts.size() > 1 && parts[1].trimmed().startsWith(QLatin1String("*.")))
        dialog.setDefaultSuffix(parts[1].trimmed().mid(2).section(QLatin1Char(';'), 0, 0));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

FileChooser &currentSaveChooser()
{
    static FileChooser chooser = saveDialog;
    return chooser;
}

}  // namespace

std::optional<QString> OpenFileName(QWidget *parent, const FileRequest &request)
{
    return currentChooser()(parent, request);
}

FileChooser setFileChooser(FileChooser chooser)
{
    return std::exchange(currentChooser(), chooser ? std::move(chooser) : FileChooser(fileDialog));
}

std::optional<QString> SaveFileName(QWidget *parent, const FileRequest &request)
{
    return currentSaveChooser()(parent, request);
}

FileChooser setSaveFileChooser(FileChooser chooser)
{
    return std::exchange(currentSaveChooser(), chooser ? std::move(chooser) : FileChooser(saveDialog));
}

QStringList QtFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (const int open = description.lastIndexOf(QLatin1Char('(')); open > 0)
            description = description.left(open).trimmed();
        QStringList patterns;
        for (QString pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            pattern = pattern.trimmed();
            // "*.*" meant every file, those without a dot too.
            if (pattern == QLatin1String("*.*")) {
                patterns << QStringLiteral("*");
                continue;
            }
            patterns << pattern;
            if (pattern.toUpper() != pattern)
                patterns << pattern.toUpper();
        }
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

}  // namespace dialogs

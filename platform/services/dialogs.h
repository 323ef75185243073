#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// The common dialogs the windows use, replaceable so that tests can answer them.
namespace dialogs {

// What a window asks of the file dialog: its title and the old filter text, pairs of a
// description and its patterns joined by "|" ("Pictures (*.jpg)|*.jpg|All (*.*) |*.*").
struct FileRequest {
    QString title;
    QString filter;
};

// The chosen file's path, or none when the user cancelled.
using FileChooser = std::function<std::optional<QString>(QWidget *parent, const FileRequest &request)>;
std::optional<QString> OpenFileName(QWidget *parent, const FileRequest &request);
// Tests put their own chooser in place; an empty one puts the file dialog back. Returns
// the one replaced.
FileChooser setFileChooser(FileChooser chooser);

// The file to save into, asked with the filter's first pattern as the default suffix
// (an existing file is confirmed before it is overwritten); none when the user cancelled.
std::optional<QString> SaveFileName(QWidget *parent, const FileRequest &request);
FileChooser setSaveFileChooser(FileChooser chooser);

// The old filter text as the file dialog's filters: a pattern matches in any case, as
// it did where file names had no case.
QStringList QtFilters(const QString &filter);

}  // namespace dialogs

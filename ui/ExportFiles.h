#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace obrenta::ui {

// Writes bytes to path through a temporary file renamed over it, so a failed write never leaves
// half a file; false when it could not be written.
bool WriteFileBytes(const QString& path, const std::string& bytes);

// The folder that the save and export dialogs start in: the last one a file was saved to in
// this session, the home folder before that. RememberSaveFolder takes a file's path or a folder.
QString LastSaveFolder();
void RememberSaveFolder(const QString& fileOrFolder);
// A file name in the last save folder.
QString InLastSaveFolder(const QString& fileName);

// One file of "すべてエクスポート": its name in the folder and how it is written.
struct ExportItem {
    QString fileName;
    std::function<bool(const QString& path)> write;
};

struct ExportResult {
    int written = 0;
    int skipped = 0;  // existing files the user chose to keep
    QStringList failed;
    bool cancelled = false;
};

// Writes every item into folder. An existing file is overwritten only when the user says so; a
// progress dialog appears when the writing takes longer than a moment.
ExportResult ExportFiles(QWidget* parent, const QString& folder, const std::vector<ExportItem>& items);

}  // namespace obrenta::ui

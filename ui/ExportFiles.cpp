#include "ui/ExportFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSaveFile>

namespace obrenta::ui {

namespace {

QString& SaveFolder() {
    static QString folder;
    return folder;
}

}  // namespace

QString LastSaveFolder() {
    return SaveFolder().isEmpty() ? QDir::homePath() : SaveFolder();
}

void RememberSaveFolder(const QString& fileOrFolder) {
    const QFileInfo info(fileOrFolder);
    SaveFolder() = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

QString InLastSaveFolder(const QString& fileName) {
    return QDir(LastSaveFolder()).filePath(fileName);
}

bool WriteFileBytes(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

ExportResult ExportFiles(QWidget* parent, const QString& folder, const std::vector<ExportItem>& items) {
    ExportResult result;
    QProgressDialog progress(QStringLiteral("エクスポートしています..."), QStringLiteral("中止"), 0,
                             static_cast<int>(items.size()), parent);
    progress.setWindowTitle(QStringLiteral("すべてエクスポート"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    bool overwriteAll = false;
    bool keepAll = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        progress.setValue(static_cast<int>(i));
        if (progress.wasCanceled()) {
            result.cancelled = true;
            break;
        }
        const QString path = QDir(folder).filePath(items[i].fileName);
        if (QFileInfo::exists(path) && !overwriteAll) {
            if (keepAll) {
                ++result.skipped;
                continue;
            }
            const auto answer = QMessageBox::question(
                parent, QStringLiteral("すべてエクスポート"),
                QStringLiteral("%1 はすでにあります。上書きしますか?").arg(QDir::toNativeSeparators(path)),
                QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll |
                    QMessageBox::Cancel,
                QMessageBox::No);
            if (answer == QMessageBox::Cancel) {
                result.cancelled = true;
                break;
            }
            overwriteAll = answer == QMessageBox::YesToAll;
            keepAll = answer == QMessageBox::NoToAll;
            if (answer == QMessageBox::No || keepAll) {
                ++result.skipped;
                continue;
            }
        }
        if (items[i].write(path))
            ++result.written;
        else
            result.failed << path;
    }
    progress.setValue(static_cast<int>(items.size()));
    return result;
}

}  // namespace obrenta::ui

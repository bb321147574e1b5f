#include "ui/utilities/QtCommonDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include "core/utilities/DialogCentring.h"
#include "ui/utilities/QtColour.h"

namespace tavrin {

namespace {

// Remembered between calls for the life of the program, as the dialogs' users expect.
struct DialogMemory {
    QString lastFile;
    QColor lastColour = QColor(0, 0, 0);
    bool customColoursFilled = false;
};

DialogMemory& dialogMemory() {
    static DialogMemory memory;
    return memory;
}

void centre(QWidget& dialog, QWidget* owner, bool centreOnOwner) {
    dialog.adjustSize();
    QRect area;
    if (centreOnOwner && owner)
        area = owner->frameGeometry();
    else if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        area = screen->geometry();
    if (area.isNull()) return;
    const DialogPlace place =
        centredOn(area.left(), area.top(), area.width(), area.height(), dialog.width(), dialog.height());
    dialog.move(place.left, place.top);
}

}  // namespace

FileSelection QtCommonDialogs::ShowOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner) {
    QFileDialog dialog(owner, QString::fromStdString(request.title));
    // Qt's own dialog, so that it can be placed; a desktop portal dialog places itself.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QStringList filters;
    for (const auto& [description, pattern] : request.filter) {
        filters << QString::fromStdString(description) + " (" + QString::fromStdString(pattern) + ")";
    }
    dialog.setNameFilters(filters);
    DialogMemory& memory = dialogMemory();
    if (!memory.lastFile.isEmpty() && QFileInfo(memory.lastFile).dir().exists()) {
        dialog.selectFile(memory.lastFile);
    } else {
        dialog.setDirectory(QString::fromStdString(request.initialDirectory));
    }
    centre(dialog, owner, centreOnOwner);
    if (dialog.exec() != QDialog::Accepted) return FileSelection{};

    std::vector<std::string> paths;
    for (const QString& file : dialog.selectedFiles()) paths.push_back(file.toStdString());
    FileSelection selection = selectionFromPaths(paths);
    if (!selection.cancelled) memory.lastFile = QString::fromStdString(selection.firstPath());
    return selection;
}

ColorChoice QtCommonDialogs::ShowColor(QWidget* owner, bool centreOnOwner) {
    DialogMemory& memory = dialogMemory();
    if (!memory.customColoursFilled) {
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, QColor(254, 254, 254));
        memory.customColoursFilled = true;
    }
    QColorDialog dialog(memory.lastColour, owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    centre(dialog, owner, centreOnOwner);
    if (dialog.exec() != QDialog::Accepted) return ColorChoice{};
    const QColor picked = dialog.selectedColor();
    memory.lastColour = picked;
    ColorChoice choice;
    choice.colour = colourNumberOf(picked);
    choice.cancelled = false;
    return choice;
}

FileSelection ShowOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner) {
    return QtCommonDialogs().ShowOpen(owner, request, centreOnOwner);
}

ColorChoice ShowColor(QWidget* owner, bool centreOnOwner) {
    return QtCommonDialogs().ShowColor(owner, centreOnOwner);
}

}  // namespace tavrin

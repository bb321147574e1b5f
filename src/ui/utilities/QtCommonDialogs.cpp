#include "ui/utilities/QtCommonDialogs.h"

#include <algorithm>

#include <QCollator>
#include <QColorDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStringList>
#include <QTimer>
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
    QRect area;
    if (centreOnOwner && owner)
        area = owner->frameGeometry();
    else if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        area = screen->geometry();
    if (area.isNull()) return;
    // Frame against frame: the dialog's title bar and borders count, as they do for the owner.
    const QSize size = dialog.isVisible() ? dialog.frameGeometry().size() : dialog.size();
    const DialogPlace place =
        centredOn(area.left(), area.top(), area.width(), area.height(), size.width(), size.height());
    dialog.move(place.left, place.top);
}

// Centres the dialog once more as it first shows, when its final size and frame are known; placing it
// only before it shows leaves it off by what its layout and frame add.
class CentreWhenShown : public QObject {
  public:
    CentreWhenShown(QWidget& dialog, QWidget* owner, bool centreOnOwner)
        : QObject(&dialog), dialog_(dialog), owner_(owner), centreOnOwner_(centreOnOwner) {
        dialog.adjustSize();
        centre(dialog, owner, centreOnOwner);
        dialog.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            dialog_.removeEventFilter(this);
            QTimer::singleShot(0, &dialog_, [this] { centre(dialog_, owner_, centreOnOwner_); });
        }
        return false;
    }

  private:
    QWidget& dialog_;
    QPointer<QWidget> owner_;
    bool centreOnOwner_;
};

}  // namespace

QStringList listedOrder(QStringList files) {
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(files.begin(), files.end(), [&](const QString& a, const QString& b) {
        return collator.compare(QFileInfo(a).fileName(), QFileInfo(b).fileName()) < 0;
    });
    return files;
}

namespace {

// The request's filters as the file dialog lists them: "iCalendar files (*.ics)".
QStringList nameFilters(const OpenRequest& request) {
    QStringList filters;
    for (const auto& [description, pattern] : request.filter)
        filters << QString::fromStdString(description) + " (" + QString::fromStdString(pattern) + ")";
    return filters;
}

}  // namespace

FileSelection QtCommonDialogs::showOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner) {
    QFileDialog dialog(owner, QString::fromStdString(request.title));
    // Qt's own dialog, so that it can be placed; a desktop portal dialog places itself.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(nameFilters(request));
    DialogMemory& memory = dialogMemory();
    if (!memory.lastFile.isEmpty() && QFileInfo(memory.lastFile).dir().exists()) {
        dialog.selectFile(memory.lastFile);
    } else {
        dialog.setDirectory(QString::fromStdString(request.initialDirectory));
    }
    new CentreWhenShown(dialog, owner, centreOnOwner);
    if (dialog.exec() != QDialog::Accepted) return FileSelection{};

    std::vector<std::string> paths;
    for (const QString& file : listedOrder(dialog.selectedFiles())) paths.push_back(file.toStdString());
    FileSelection selection = selectionFromPaths(paths);
    if (!selection.cancelled) memory.lastFile = QString::fromStdString(selection.firstPath());
    return selection;
}

FileSelection QtCommonDialogs::showSave(QWidget* owner, const OpenRequest& request, bool centreOnOwner) {
    QFileDialog dialog(owner, QString::fromStdString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(nameFilters(request));
    if (!request.filter.empty() && request.filter.front().second.rfind("*.", 0) == 0)
        dialog.setDefaultSuffix(QString::fromStdString(request.filter.front().second.substr(2)));
    dialog.setDirectory(QString::fromStdString(request.initialDirectory));
    new CentreWhenShown(dialog, owner, centreOnOwner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return FileSelection{};
    return selectionFromPaths({dialog.selectedFiles().front().toStdString()});
}

ColorChoice QtCommonDialogs::showColor(QWidget* owner, bool centreOnOwner) {
    DialogMemory& memory = dialogMemory();
    if (!memory.customColoursFilled) {
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, QColor(254, 254, 254));
        memory.customColoursFilled = true;
    }
    QColorDialog dialog(memory.lastColour, owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    new CentreWhenShown(dialog, owner, centreOnOwner);
    if (dialog.exec() != QDialog::Accepted) return ColorChoice{};
    const QColor picked = dialog.selectedColor();
    memory.lastColour = picked;
    ColorChoice choice;
    choice.colour = colourNumberOf(picked);
    choice.cancelled = false;
    return choice;
}

FileSelection showOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner) {
    return QtCommonDialogs().showOpen(owner, request, centreOnOwner);
}

ColorChoice showColor(QWidget* owner, bool centreOnOwner) {
    return QtCommonDialogs().showColor(owner, centreOnOwner);
}

}  // namespace tavrin

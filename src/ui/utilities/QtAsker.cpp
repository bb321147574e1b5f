#include "ui/utilities/QtAsker.h"

#include <QMessageBox>

namespace tavrin {
namespace {

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

bool QtAsker::askYesNo(const std::string& title, const std::string& text, MessageIcon icon) {
    QMessageBox box(iconOf(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    return box.exec() == QMessageBox::Yes;
}

void QtAsker::tell(const std::string& title, const std::string& text, MessageIcon icon) {
    QMessageBox box(iconOf(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, owner_);
    box.exec();
}

}  // namespace tavrin

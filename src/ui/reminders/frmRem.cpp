#include "ui/reminders/frmRem.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/reminders/ReminderEditing.h"
#include "core/reminders/ReminderList.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/utilities/QtStoredText.h"

namespace tavrin {

namespace {
constexpr int kTitleColumn = 0, kDateColumn = 1, kTimeColumn = 2, kIndexColumn = 3, kOccursColumn = 4;
}

frmRem::frmRem(ReminderWindows& windows, QWidget* parent) : QWidget(parent, Qt::Window), windows_(windows) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Reminders"));

    auto* listCaption = new QLabel(QStringLiteral("Current Reminders:"), this);
    reminderList_ = new QTreeWidget(this);
    reminderList_->setRootIsDecorated(false);
    reminderList_->setUniformRowHeights(true);
    reminderList_->setAllColumnsShowFocus(true);
    reminderList_->setHeaderLabels({QStringLiteral("Reminder Title"), QStringLiteral("Due Date"),
                                    QStringLiteral("Due Time"), QStringLiteral("Index"),
                                    QStringLiteral("Occ?")});
    reminderList_->setColumnHidden(kIndexColumn, true);
    reminderList_->header()->setStretchLastSection(false);
    reminderList_->header()->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
    reminderList_->setColumnWidth(kDateColumn, 90);
    reminderList_->setColumnWidth(kTimeColumn, 80);
    reminderList_->setColumnWidth(kOccursColumn, 46);
    reminderList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(reminderList_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { rowClicked(item); });

    rowMenu_ = new QMenu(QStringLiteral("File"), this);
    rowMenu_->addAction(QStringLiteral("Edit Item"), this, [this] { editSelected(); });
    rowMenu_->addSeparator();
    rowMenu_->addAction(QStringLiteral("Delete Item"), this, [this] { deleteSelected(); });
    connect(reminderList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { rowMenu_->popup(reminderList_->viewport()->mapToGlobal(at)); });

    auto* messageCaption = new QLabel(QStringLiteral("Reminder Body:"), this);
    messageView_ = new QTextEdit(this);
    messageView_->setReadOnly(true);
    messageView_->setAcceptRichText(false);
    messageView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* hint = new QLabel(
        QStringLiteral(
            "Selecting a reminder displays a menu, from this you can edit or delete a reminder. To "
            "add a new reminder simply click the 'Add New' button."),
        this);
    hint->setWordWrap(true);

    addButton_ = new QPushButton(QStringLiteral("Add New Reminder"), this);
    deleteButton_ = new QPushButton(QStringLiteral("Delete Reminder"), this);
    editButton_ = new QPushButton(QStringLiteral("Edit Reminder"), this);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    deleteButton_->setEnabled(false);
    editButton_->setEnabled(false);
    connect(addButton_, &QPushButton::clicked, this, [this] { addNew(); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(editButton_, &QPushButton::clicked, this, [this] { editSelected(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listCaption);
    layout->addWidget(reminderList_, 3);
    layout->addWidget(messageCaption);
    layout->addWidget(messageView_, 1);
    layout->addWidget(hint);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton_);
    buttons->addWidget(editButton_);
    buttons->addWidget(deleteButton_);
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
    resize(520, 400);

    fillList();
}

void frmRem::fillList() {
    AppState& app = windows_.app();
    const std::vector<ReminderRow> rows = managerRows(app.reminders, app.settings);
    const QSignalBlocker quiet(reminderList_);
    reminderList_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<int>(rows.size()));
    for (const ReminderRow& row : rows) {
        auto* item = new QTreeWidgetItem;
        item->setText(kTitleColumn, fromStoredText(row.title));
        item->setText(kDateColumn, QString::fromStdString(row.date));
        item->setText(kTimeColumn, QString::fromStdString(row.time));
        item->setText(kIndexColumn, QString::number(row.slot));
        item->setText(kOccursColumn, QString::fromStdString(row.occurs));
        // The box shows whether the reminder is enabled; ticking it would store nothing, so it
        // cannot be ticked here.
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setCheckState(kTitleColumn, row.enabled ? Qt::Checked : Qt::Unchecked);
        items.append(item);
    }
    reminderList_->addTopLevelItems(items);
}

int frmRem::selectedSlot() const {
    const QList<QTreeWidgetItem*> selected = reminderList_->selectedItems();
    if (selected.isEmpty()) return -1;
    bool ok = false;
    const int slot = selected.front()->text(kIndexColumn).toInt(&ok);
    return ok && slot >= 0 && slot < kReminderSlots ? slot : -1;
}

void frmRem::rowClicked(QTreeWidgetItem* item) {
    if (!item || reminderList_->topLevelItemCount() == 0) return;
    bool ok = false;
    const int slot = item->text(kIndexColumn).toInt(&ok);
    if (ok && slot >= 0 && slot < kReminderSlots)
        messageView_->setPlainText(
            fromStoredText(windows_.app().reminders.bodies[static_cast<std::size_t>(slot)]));
    deleteButton_->setEnabled(!deleteButton_->isEnabled());
    editButton_->setEnabled(!editButton_->isEnabled());
}

void frmRem::deleteSelected() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    AppState& app = windows_.app();
    const ReminderChange change = deleteReminder(app.reminders, slot, app.paths.reminderFile());
    if (!windows_.tellChange(change)) return;
    messageView_->clear();
    // Fills this list again and places the calendar's markers again.
    windows_.remindersChanged();
}

void frmRem::addNew() {
    windows_.openNewReminder();
}

void frmRem::editSelected() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    windows_.openEditReminder(slot);
    messageView_->clear();
}

void frmRem::cancel() {
    close();
}

}  // namespace tavrin

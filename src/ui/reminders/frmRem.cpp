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

    auto* Label5 = new QLabel(QStringLiteral("Current Reminders:"), this);
    ListView1_ = new QTreeWidget(this);
    ListView1_->setRootIsDecorated(false);
    ListView1_->setUniformRowHeights(true);
    ListView1_->setAllColumnsShowFocus(true);
    ListView1_->setHeaderLabels({QStringLiteral("Reminder Title"), QStringLiteral("Due Date"),
                                 QStringLiteral("Due Time"), QStringLiteral("Index"),
                                 QStringLiteral("Occ?")});
    ListView1_->setColumnHidden(kIndexColumn, true);
    ListView1_->header()->setStretchLastSection(false);
    ListView1_->header()->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
    ListView1_->setColumnWidth(kDateColumn, 90);
    ListView1_->setColumnWidth(kTimeColumn, 80);
    ListView1_->setColumnWidth(kOccursColumn, 46);
    ListView1_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { ListView1_Click(item); });

    mnuFile_ = new QMenu(QStringLiteral("File"), this);
    mnuFile_->addAction(QStringLiteral("Edit Item"), this, [this] { Command4_Click(); });  // mnuEdit
    mnuFile_->addSeparator();
    mnuFile_->addAction(QStringLiteral("Delete Item"), this, [this] { Command3_Click(); });  // mnuDel
    connect(ListView1_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnuFile_->popup(ListView1_->viewport()->mapToGlobal(at)); });

    auto* Label1 = new QLabel(QStringLiteral("Reminder Body:"), this);
    Text1_ = new QTextEdit(this);
    Text1_->setReadOnly(true);
    Text1_->setAcceptRichText(false);
    Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* Label7 = new QLabel(
        QStringLiteral(
            "Selecting a reminder displays a menu, from this you can edit or delete a reminder. To "
            "add a new reminder simply click the 'Add New' button."),
        this);
    Label7->setWordWrap(true);

    Command2_ = new QPushButton(QStringLiteral("Add New Reminder"), this);
    Command3_ = new QPushButton(QStringLiteral("Delete Reminder"), this);
    Command4_ = new QPushButton(QStringLiteral("Edit Reminder"), this);
    Command1_ = new QPushButton(QStringLiteral("Cancel"), this);
    Command3_->setEnabled(false);
    Command4_->setEnabled(false);
    connect(Command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3_, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4_, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label5);
    layout->addWidget(ListView1_, 3);
    layout->addWidget(Label1);
    layout->addWidget(Text1_, 1);
    layout->addWidget(Label7);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command2_);
    buttons->addWidget(Command4_);
    buttons->addWidget(Command3_);
    buttons->addStretch();
    buttons->addWidget(Command1_);
    layout->addLayout(buttons);
    resize(520, 400);

    fillList();
}

void frmRem::fillList() {
    AppState& app = windows_.app();
    const std::vector<ReminderRow> rows = managerRows(app.reminders, app.settings);
    const QSignalBlocker quiet(ListView1_);
    ListView1_->clear();
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
    ListView1_->addTopLevelItems(items);
}

void frmRem::gogetem(bool Editable) {
    if (Editable)
        deleteSelected();
    else
        fillList();
}

int frmRem::selectedSlot() const {
    const QList<QTreeWidgetItem*> selected = ListView1_->selectedItems();
    if (selected.isEmpty()) return -1;
    bool ok = false;
    const int slot = selected.front()->text(kIndexColumn).toInt(&ok);
    return ok && slot >= 0 && slot < kReminderSlots ? slot : -1;
}

void frmRem::ListView1_Click(QTreeWidgetItem* item) {
    if (!item || ListView1_->topLevelItemCount() == 0) return;
    bool ok = false;
    const int slot = item->text(kIndexColumn).toInt(&ok);
    if (ok && slot >= 0 && slot < kReminderSlots)
        Text1_->setPlainText(fromStoredText(windows_.app().reminders.bodies[static_cast<std::size_t>(slot)]));
    Command3_->setEnabled(!Command3_->isEnabled());
    Command4_->setEnabled(!Command4_->isEnabled());
}

void frmRem::deleteSelected() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    AppState& app = windows_.app();
    const ReminderChange change = deleteReminder(app.reminders, slot, app.paths.reminderFile());
    if (!windows_.tellChange(change)) return;
    Text1_->clear();
    // Fills this list again and places the calendar's markers again.
    windows_.remindersChanged();
}

void frmRem::Command2_Click() {
    windows_.openNewReminder();
}

void frmRem::Command3_Click() {
    deleteSelected();
}

void frmRem::Command4_Click() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    windows_.openEditReminder(slot);
    Text1_->clear();
}

void frmRem::Command1_Click() {
    close();
}

}  // namespace tavrin

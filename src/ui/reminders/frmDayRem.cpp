#include "ui/reminders/frmDayRem.h"

#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/reminders/ReminderList.h"
#include "ui/utilities/QtStoredText.h"

namespace tavrin {

namespace {
constexpr int kTitleColumn = 0, kTimeColumn = 1, kIndexColumn = 2, kOccursColumn = 3;
}

frmDayRem::frmDayRem(const ReminderTable& table, const Settings& settings, DayListRequest request,
                     QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), settings_(settings), request_(std::move(request)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Reminders"));

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({QStringLiteral("Reminder Title"), QStringLiteral("Due Time"),
                            QStringLiteral("Index"), QStringLiteral("Occ?")});
    list_->setColumnHidden(kIndexColumn, true);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
    list_->setColumnWidth(kTimeColumn, 90);
    list_->setColumnWidth(kOccursColumn, 50);
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) { rowClicked(item); });
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) { rowClicked(item); });

    eventsCaption_ = new QLabel(QStringLiteral("Events:"), this);
    events_ = new QTreeWidget(this);
    events_->setRootIsDecorated(false);
    events_->setUniformRowHeights(true);
    events_->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Event"), QStringLiteral("Place")});
    events_->setColumnWidth(0, 175);
    events_->setColumnWidth(1, 140);
    eventsCaption_->hide();
    events_->hide();

    messageCaption_ = new QLabel(QStringLiteral("Reminder Message Body:"), this);
    message_ = new QTextEdit(this);
    message_->setReadOnly(true);
    message_->setAcceptRichText(false);
    message_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 3);
    layout->addWidget(eventsCaption_);
    layout->addWidget(events_, 2);
    layout->addWidget(messageCaption_);
    layout->addWidget(message_, 2);
    resize(420, 320);
}

void frmDayRem::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fill();
}

void frmDayRem::fill() {
    if (filled_) return;
    filled_ = true;
    const DayList day = dayListRows(table_, request_, settings_);
    // The request is used once: the rows stay as they are while the window is open.
    request_ = DayListRequest{};
    const QSignalBlocker quiet(list_);
    for (const ReminderRow& row : day.rows) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kTitleColumn, fromStoredText(row.title));
        item->setText(kTimeColumn, QString::fromStdString(row.time));
        item->setText(kIndexColumn, QString::number(row.slot));
        item->setText(kOccursColumn, QString::fromStdString(row.occurs));
        // The box shows the enabled flag; the day list changes nothing.
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setCheckState(kTitleColumn, row.enabled ? Qt::Checked : Qt::Unchecked);
    }
    // The message shown is the last row's, so that row is the current one; otherwise the list would
    // make its first row current on focus and show a message that does not match.
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(list_->topLevelItemCount() - 1));
    }
    message_->setPlainText(fromStoredText(day.message));
}

void frmDayRem::setEvents(std::vector<EventRow> rows) {
    events_->clear();
    for (const EventRow& row : rows) {
        auto* item = new QTreeWidgetItem(events_);
        item->setText(0, QString::fromStdString(row.time));
        item->setText(1, QString::fromStdString(row.title));
        item->setText(2, QString::fromStdString(row.place));
        item->setToolTip(1, QString::fromStdString(row.calendarName));
        // The calendar's colour, as its days are marked in the calendar.
        QPixmap swatch(10, 10);
        swatch.fill(QColor::fromRgb(row.colour));
        item->setIcon(0, QIcon(swatch));
    }
    for (int column : {0, 1}) events_->resizeColumnToContents(column);
    // Wide enough for the times, which name the event's own zone where it differs.
    if (!rows.empty())
        resize(std::max(width(), events_->columnWidth(0) + events_->columnWidth(1) + 140), height());
    eventsCaption_->setVisible(!rows.empty());
    events_->setVisible(!rows.empty());
}

void frmDayRem::rowClicked(QTreeWidgetItem* item) {
    if (!item) return;
    bool ok = false;
    const int slot = item->text(kIndexColumn).toInt(&ok);
    if (!ok || slot < 0 || slot >= kReminderSlots) return;
    message_->setPlainText(fromStoredText(table_.bodies[static_cast<std::size_t>(slot)]));
}

}  // namespace tavrin

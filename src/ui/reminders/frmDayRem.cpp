#include "ui/reminders/frmDayRem.h"

#include <QHeaderView>
#include <QLabel>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
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

    ListView1_ = new QTreeWidget(this);
    ListView1_->setRootIsDecorated(false);
    ListView1_->setUniformRowHeights(true);
    ListView1_->setAllColumnsShowFocus(true);
    ListView1_->setHeaderLabels({QStringLiteral("Reminder Title"), QStringLiteral("Due Time"),
                                 QStringLiteral("Index"), QStringLiteral("Occ?")});
    ListView1_->setColumnHidden(kIndexColumn, true);
    ListView1_->header()->setStretchLastSection(false);
    ListView1_->header()->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
    ListView1_->setColumnWidth(kTimeColumn, 90);
    ListView1_->setColumnWidth(kOccursColumn, 50);
    connect(ListView1_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { rowClicked(item); });
    connect(ListView1_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) { rowClicked(item); });

    Label1_ = new QLabel(QStringLiteral("Reminder Message Body:"), this);
    Text1_ = new QTextEdit(this);
    Text1_->setReadOnly(true);
    Text1_->setAcceptRichText(false);
    Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListView1_, 3);
    layout->addWidget(Label1_);
    layout->addWidget(Text1_, 2);
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
    const QSignalBlocker quiet(ListView1_);
    for (const ReminderRow& row : day.rows) {
        auto* item = new QTreeWidgetItem(ListView1_);
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
    if (ListView1_->topLevelItemCount() > 0) {
        ListView1_->setCurrentItem(ListView1_->topLevelItem(ListView1_->topLevelItemCount() - 1));
    }
    Text1_->setPlainText(fromStoredText(day.message));
}

void frmDayRem::rowClicked(QTreeWidgetItem* item) {
    if (!item) return;
    bool ok = false;
    const int slot = item->text(kIndexColumn).toInt(&ok);
    if (!ok || slot < 0 || slot >= kReminderSlots) return;
    Text1_->setPlainText(fromStoredText(table_.bodies[static_cast<std::size_t>(slot)]));
}

}  // namespace tavrin

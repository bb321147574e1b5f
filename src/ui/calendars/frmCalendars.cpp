#include "ui/calendars/frmCalendars.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimeZone>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <thread>
#include <utility>

#include "core/calendars/CalendarList.h"
#include "core/calendars/DavAddress.h"
#include "core/utilities/ColorChoice.h"
#include "ui/calendars/CalendarRefresher.h"
#include "ui/utilities/QtCommonDialogs.h"

namespace tavrin {

namespace {

constexpr int kNameColumn = 0, kStateColumn = 1, kAddressColumn = 2;
constexpr const char* kTitle = "Tavrin Calendars";

QIcon swatchOf(std::uint32_t colour) {
    QPixmap swatch(12, 12);
    swatch.fill(QColor::fromRgb(colour));
    return QIcon(swatch);
}

bool startsWith(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// The colour dialog's number (red in the low byte) as the calendars keep it (0xRRGGBB).
std::uint32_t rgbOfChoice(std::uint32_t bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

// A calendar's name when the user gave none: the file's name without ".ics", or the address's host.
std::string nameFromAddress(const std::string& address, CalendarSource source) {
    if (source == CalendarSource::File) return std::filesystem::path(address).stem().string();
    if (const auto web = WebAddress::parse(address)) return web->host;
    return address;
}

// Colours new calendars take in turn, so two look apart from the start.
constexpr std::uint32_t kColours[] = {0x3465A4, 0x4E9A06, 0xCC0000, 0xC4A000, 0x75507B, 0xCE5C00, 0x06989A};

}  // namespace

frmCalendars::frmCalendars(AppState& app, CalendarRefresher& refresher, CommonDialogs& dialogs,
                           CalendarAccess access, QWidget* parent)
    : QWidget(parent, Qt::Window),
      app_(app),
      refresher_(refresher),
      dialogs_(dialogs),
      access_(std::move(access)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Calendars"));

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("Calendar"), QStringLiteral("State"), QStringLiteral("Address")});
    list_->setColumnWidth(kNameColumn, 150);
    list_->setColumnWidth(kStateColumn, 300);
    connect(list_, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int) { itemChanged(item); });

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* text, void (frmCalendars::*act)()) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        connect(b, &QPushButton::clicked, this, act);
        buttons->addWidget(b);
        return b;
    };
    button("&Remove", &frmCalendars::removeCalendar);
    button("C&olour...", &frmCalendars::chooseColour);
    button("Re&fresh", &frmCalendars::refresh);
    buttons->addStretch();
    auto* closeButton = new QPushButton(QStringLiteral("&Close"), this);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(closeButton);

    auto* adding = new QGroupBox(QStringLiteral("Add a calendar"), this);
    auto* form = new QFormLayout(adding);
    addressEdit_ = new QLineEdit(adding);
    addressEdit_->setPlaceholderText(QStringLiteral("https://, webcal:// or a file"));
    auto* fileButton = new QPushButton(QStringLiteral("&File..."), adding);
    connect(fileButton, &QPushButton::clicked, this, &frmCalendars::chooseFile);
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(addressEdit_);
    addressRow->addWidget(fileButton);
    form->addRow(QStringLiteral("Address:"), addressRow);
    nameEdit_ = new QLineEdit(adding);
    form->addRow(QStringLiteral("&Name:"), nameEdit_);
    userEdit_ = new QLineEdit(adding);
    userEdit_->setPlaceholderText(QStringLiteral("for a CalDAV server"));
    form->addRow(QStringLiteral("&User:"), userEdit_);
    passwordEdit_ = new QLineEdit(adding);
    passwordEdit_->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("&Password:"), passwordEdit_);
    addButton_ = new QPushButton(QStringLiteral("&Add"), adding);
    connect(addButton_, &QPushButton::clicked, this, &frmCalendars::addCalendar);
    form->addRow(QString(), addButton_);
    foundCaption_ = new QLabel(QStringLiteral("Calendars found on the server:"), adding);
    found_ = new QListWidget(adding);
    found_->setMaximumHeight(90);
    addChosenButton_ = new QPushButton(QStringLiteral("Add C&hosen"), adding);
    connect(addChosenButton_, &QPushButton::clicked, this, &frmCalendars::addChosen);
    form->addRow(foundCaption_);
    form->addRow(found_);
    form->addRow(QString(), addChosenButton_);
    for (QWidget* w : {static_cast<QWidget*>(foundCaption_), static_cast<QWidget*>(found_),
                       static_cast<QWidget*>(addChosenButton_)})
        w->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    layout->addWidget(adding);
    resize(660, 420);

    connect(&refresher_, &CalendarRefresher::calendarStateChanged, this, [this] { updateStates(); });
    fillList();
}

void frmCalendars::fillList() {
    const QSignalBlocker quiet(list_);
    const int keep = selectedRow();
    list_->clear();
    for (const CalendarSubscription& calendar : refresher_.calendars()) {
        auto* item = new QTreeWidgetItem(list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(kNameColumn, calendar.enabled ? Qt::Checked : Qt::Unchecked);
        item->setIcon(kNameColumn, swatchOf(calendar.colour));
        item->setText(kNameColumn, QString::fromStdString(calendar.name));
        item->setText(kAddressColumn, QString::fromStdString(calendar.address));
        item->setToolTip(kAddressColumn, QString::fromStdString(calendar.address));
    }
    if (keep >= 0 && keep < list_->topLevelItemCount()) list_->setCurrentItem(list_->topLevelItem(keep));
    updateStates();
}

void frmCalendars::updateStates() {
    const QSignalBlocker quiet(list_);
    const auto& calendars = refresher_.calendars();
    for (int row = 0; row < list_->topLevelItemCount() && row < static_cast<int>(calendars.size()); ++row) {
        const CalendarSubscription& calendar = calendars[static_cast<std::size_t>(row)];
        QTreeWidgetItem* item = list_->topLevelItem(row);
        const std::string failure = refresher_.failureOf(calendar.id);
        // The calendar that holds the reminders shows no events of its own: its events are the reminders.
        const bool holdsReminders = calendar.id == app_.settings.SyncCalendar;
        QString state;
        if (!calendar.enabled)
            state = QStringLiteral("Off");
        else if (refresher_.fetching(calendar.id))
            state = holdsReminders ? QStringLiteral("syncing...") : QStringLiteral("Fetching...");
        else if (!failure.empty())
            state = QString::fromStdString(failure);
        else if (const auto at = refresher_.fetchedAt(calendar.id))
            // In the user's zone, as the events are shown.
            state = (holdsReminders ? QStringLiteral("synced ") : QStringLiteral("Fetched ")) +
                    QDateTime::fromSecsSinceEpoch(*at + refresher_.userZone().offsetAt(*at), QTimeZone::utc())
                        .toString(QStringLiteral("ddd d MMM HH:mm"));
        if (holdsReminders)
            state = QStringLiteral("Holds the reminders") + (state.isEmpty() ? QString() : ": " + state);
        item->setText(kStateColumn, state);
        item->setToolTip(kStateColumn, state);
        item->setForeground(kStateColumn, failure.empty() ? palette().text() : QBrush(QColor(170, 0, 0)));
    }
}

int frmCalendars::selectedRow() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) : -1;
}

void frmCalendars::tell(const std::string& text) {
    app_.asker.tell(kTitle, text, MessageIcon::Warning);
}

bool frmCalendars::save(std::vector<CalendarSubscription> calendars) {
    if (const Result<> written = writeCalendarList(app_.store, app_.settings.SettingsRoot, calendars);
        !written) {
        tell("The calendars could not be saved: " + written.message());
        fillList();
        return false;
    }
    refresher_.setCalendars(std::move(calendars));
    fillList();
    return true;
}

void frmCalendars::chooseFile() {
    OpenRequest request;
    request.title = "Choose a calendar file";
    request.filter = {{"iCalendar files (*.ics)", "*.ics"}, {"All files (*)", "*"}};
    const FileSelection chosen = dialogs_.showOpen(this, request);
    if (chosen.cancelled || chosen.count == 0) return;
    addressEdit_->setText(QString::fromStdString(chosen.firstPath()));
}

void frmCalendars::addCalendar() {
    CalendarSubscription calendar;
    calendar.address = addressEdit_->text().trimmed().toStdString();
    calendar.name = nameEdit_->text().trimmed().toStdString();
    calendar.user = userEdit_->text().trimmed().toStdString();
    const std::string password = passwordEdit_->text().toStdString();
    if (calendar.address.empty()) {
        tell("Please type the calendar's address, or choose its file.");
        return;
    }
    if (startsWith(calendar.address, "file://")) calendar.address.erase(0, 7);
    if (startsWith(calendar.address, "~/"))
        calendar.address = qEnvironmentVariable("HOME").toStdString() + calendar.address.substr(1);
    if (calendar.address.front() == '/') {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(calendar.address, ec)) {
            tell("There is no calendar file " + calendar.address + ".");
            return;
        }
        calendar.source = CalendarSource::File;
        add(std::move(calendar), password);
        return;
    }
    if (!WebAddress::parse(calendar.address)) {
        tell("\"" + calendar.address +
             "\" is no calendar address. Type an address that begins with https://, http:// or webcal://, or "
             "choose a calendar file.");
        return;
    }
    // A login means a CalDAV server: its calendars are looked for, away from the window's thread.
    if (calendar.user.empty() || startsWith(calendar.address, "webcal")) {
        calendar.source = CalendarSource::Feed;
        add(std::move(calendar), password);
        return;
    }
    if (!access_.discover) return;
    addButton_->setEnabled(false);
    addButton_->setText(QStringLiteral("Looking for calendars..."));
    QPointer<frmCalendars> self(this);
    std::thread([self, discover = access_.discover, calendar, password] {
        auto found = std::make_shared<Result<std::vector<DavCalendar>>>(
            discover(calendar.address, calendar.user, password));
        QMetaObject::invokeMethod(
            qApp,
            [self, calendar, password, found] {
                if (self) self->discovered(calendar, password, std::move(*found));
            },
            Qt::QueuedConnection);
    }).detach();
}

void frmCalendars::discovered(CalendarSubscription asked, std::string password,
                              Result<std::vector<DavCalendar>> found) {
    addButton_->setEnabled(true);
    addButton_->setText(QStringLiteral("&Add"));
    if (!found || found->empty()) {
        const std::string why = found ? "the server lists no calendars there" : found.message();
        if (app_.asker.askYesNo(kTitle,
                                "No CalDAV calendar was found at " + asked.address + " (" + why +
                                    ").\n\nAdd the address as a web calendar (an .ics address) instead?",
                                MessageIcon::None)) {
            asked.source = CalendarSource::Feed;
            add(std::move(asked), password);
        }
        emit discoveryEnded();
        return;
    }
    asked.source = CalendarSource::CalDav;
    if (found->size() == 1) {
        const DavCalendar& only = found->front();
        asked.address = only.address;
        if (asked.name.empty()) asked.name = only.name;
        if (only.colour) asked.colour = *only.colour;
        add(std::move(asked), password);
        emit discoveryEnded();
        return;
    }
    // Several: the user ticks the ones wanted.
    discovered_ = std::move(*found);
    asked_ = std::move(asked);
    askedPassword_ = std::move(password);
    found_->clear();
    for (const DavCalendar& calendar : discovered_) {
        auto* item = new QListWidgetItem(QString::fromStdString(calendar.name), found_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setToolTip(QString::fromStdString(calendar.address));
        if (calendar.colour) item->setIcon(swatchOf(*calendar.colour));
    }
    for (QWidget* w : {static_cast<QWidget*>(foundCaption_), static_cast<QWidget*>(found_),
                       static_cast<QWidget*>(addChosenButton_)})
        w->show();
    emit discoveryEnded();
}

void frmCalendars::addChosen() {
    for (int row = 0; row < found_->count() && row < static_cast<int>(discovered_.size()); ++row) {
        if (found_->item(row)->checkState() != Qt::Checked) continue;
        const DavCalendar& chosen = discovered_[static_cast<std::size_t>(row)];
        CalendarSubscription calendar = asked_;
        calendar.address = chosen.address;
        calendar.name = chosen.name;
        if (chosen.colour) calendar.colour = *chosen.colour;
        add(std::move(calendar), askedPassword_);
    }
    discovered_.clear();
    askedPassword_.clear();
    found_->clear();
    for (QWidget* w : {static_cast<QWidget*>(foundCaption_), static_cast<QWidget*>(found_),
                       static_cast<QWidget*>(addChosenButton_)})
        w->hide();
}

void frmCalendars::add(CalendarSubscription calendar, const std::string& password) {
    std::vector<CalendarSubscription> calendars = refresher_.calendars();
    calendar.id = newCalendarId(calendars);
    if (calendar.name.empty()) calendar.name = nameFromAddress(calendar.address, calendar.source);
    if (calendar.colour == CalendarSubscription{}.colour)
        calendar.colour = kColours[calendars.size() % std::size(kColours)];
    // The password is kept first: a calendar saved without the password it needs would only fail.
    if (!password.empty() && access_.storePassword) {
        const Result<> stored = access_.storePassword(calendar.id, password);
        if (!stored) {
            tell("The password could not be kept, so the calendar was not added: " + stored.message());
            return;
        }
        if (!stored.message().empty()) app_.asker.tell(kTitle, stored.message(), MessageIcon::Information);
    }
    calendars.push_back(std::move(calendar));
    if (!save(std::move(calendars))) return;
    for (QLineEdit* edit : {addressEdit_, nameEdit_, userEdit_, passwordEdit_}) edit->clear();
    list_->setCurrentItem(list_->topLevelItem(list_->topLevelItemCount() - 1));
}

void frmCalendars::removeCalendar() {
    const int row = selectedRow();
    std::vector<CalendarSubscription> calendars = refresher_.calendars();
    if (row < 0 || row >= static_cast<int>(calendars.size())) return;
    const CalendarSubscription gone = calendars[static_cast<std::size_t>(row)];
    if (!app_.asker.askYesNo(kTitle, "Remove the calendar \"" + gone.name + "\"?", MessageIcon::None)) return;
    calendars.erase(calendars.begin() + row);
    if (!save(std::move(calendars))) return;
    // What is left of it elsewhere goes too; a leftover is harmless, so it is only logged.
    for (const auto& forget : {access_.forgetPassword, access_.forgetCache}) {
        if (!forget) continue;
        if (const Result<> forgotten = forget(gone.id); !forgotten)
            qWarning("tavrin: %s", forgotten.message().c_str());
    }
}

void frmCalendars::chooseColour() {
    const int row = selectedRow();
    std::vector<CalendarSubscription> calendars = refresher_.calendars();
    if (row < 0 || row >= static_cast<int>(calendars.size())) return;
    const ColorChoice choice = dialogs_.showColor(this);
    if (choice.cancelled) return;
    calendars[static_cast<std::size_t>(row)].colour = rgbOfChoice(choice.colour);
    save(std::move(calendars));
}

void frmCalendars::itemChanged(QTreeWidgetItem* item) {
    const int row = list_->indexOfTopLevelItem(item);
    std::vector<CalendarSubscription> calendars = refresher_.calendars();
    if (row < 0 || row >= static_cast<int>(calendars.size())) return;
    CalendarSubscription& calendar = calendars[static_cast<std::size_t>(row)];
    const bool enabled = item->checkState(kNameColumn) == Qt::Checked;
    if (enabled == calendar.enabled) return;
    calendar.enabled = enabled;
    save(std::move(calendars));
}

void frmCalendars::refresh() {
    const int row = selectedRow();
    const auto& calendars = refresher_.calendars();
    if (row >= 0 && row < static_cast<int>(calendars.size()))
        refresher_.refresh(calendars[static_cast<std::size_t>(row)].id);
    else
        refresher_.refreshAll();
    updateStates();
}

}  // namespace tavrin

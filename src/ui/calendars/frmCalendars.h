#pragma once
// "Calendars": the calendars the user subscribed to, each with its name, its colour, whether it is
// shown, and how its last fetch went. Calendars are added from a local .ics file, an .ics address
// (http, https or webcal) or a CalDAV server, whose calendars are found and offered to pick from;
// removed, recoloured, switched on and off, and fetched anew. The list is saved at each change;
// passwords go to the password vault, never to the settings.
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "core/base/Result.h"
#include "core/calendars/CalendarSubscription.h"
#include "core/calendars/DavCalendars.h"
#include "core/state/AppState.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavrin {

class CalendarRefresher;
class CommonDialogs;

// What the window needs beyond the list: finding a server's calendars and keeping passwords and
// caches, so tests can answer in their place.
struct CalendarAccess {
    std::function<Result<std::vector<DavCalendar>>(const std::string& address, const std::string& user,
                                                   const std::string& password)>
        discover;
    // A success may carry a note for the user (where the password went instead of the keyring).
    std::function<Result<>(const std::string& id, const std::string& password)> storePassword;
    std::function<Result<>(const std::string& id)> forgetPassword;
    std::function<Result<>(const std::string& id)> forgetCache;
};

class frmCalendars : public QWidget {
    Q_OBJECT
  public:
    frmCalendars(AppState& app, CalendarRefresher& refresher, CommonDialogs& dialogs, CalendarAccess access,
                 QWidget* parent = nullptr);

    // "Add": the address typed (or the file chosen) with the name, login and password beside it.
    // A server's calendars are offered in the list of found calendars; "Add Chosen" adds the ticked.
    void addCalendar();
    void addChosen();
    // On the selected calendar.
    void removeCalendar();
    void chooseColour();
    void refresh();
    void chooseFile();

    // For tests.
    QTreeWidget* list() const { return list_; }
    QLineEdit* addressEdit() const { return addressEdit_; }
    QLineEdit* nameEdit() const { return nameEdit_; }
    QLineEdit* userEdit() const { return userEdit_; }
    QLineEdit* passwordEdit() const { return passwordEdit_; }
    QListWidget* foundList() const { return found_; }

  signals:
    // A server's calendars were looked for (found or not); the window is ready for the next step.
    void discoveryEnded();

  private:
    void fillList();
    void updateStates();
    void itemChanged(QTreeWidgetItem* item);
    // Saves the list and hands it to the refresher; a list that cannot be saved is told and kept as
    // it was.
    bool save(std::vector<CalendarSubscription> calendars);
    void add(CalendarSubscription calendar, const std::string& password);
    int selectedRow() const;
    void tell(const std::string& text);
    void discovered(CalendarSubscription asked, std::string password, Result<std::vector<DavCalendar>> found);

    AppState& app_;
    CalendarRefresher& refresher_;
    CommonDialogs& dialogs_;
    CalendarAccess access_;
    std::vector<DavCalendar> discovered_;

    QTreeWidget* list_;
    QLineEdit* addressEdit_;
    QLineEdit* nameEdit_;
    QLineEdit* userEdit_;
    QLineEdit* passwordEdit_;
    QLabel* foundCaption_;
    QListWidget* found_;
    QPushButton* addButton_;
    QPushButton* addChosenButton_;
    CalendarSubscription asked_;
    std::string askedPassword_;
};

}  // namespace tavrin
